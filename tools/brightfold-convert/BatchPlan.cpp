#include "BatchPlan.h"

#include <Brightfold/SaveDestination.h>
#include <algorithm>
#include <array>
#include <cctype>
#include <set>

namespace brightfold::cli {
namespace {

namespace fs = std::filesystem;

bool isModelFile(const fs::directory_entry& entry) {
    static constexpr std::array<std::string_view, 4> extensions = {".gltf", ".glb", ".vrm",
                                                                   ".usdc"};
    std::error_code error;
    if (!entry.is_regular_file(error))
        return false;
    std::string extension = entry.path().extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::ranges::find(extensions, extension) != extensions.end();
}

std::vector<fs::path> modelFilesIn(const fs::path& folder, bool recursive) {
    std::vector<fs::path> files;
    std::error_code error;
    const auto collect = [&](auto iterator) {
        for (auto end = decltype(iterator){}; iterator != end; iterator.increment(error))
            if (isModelFile(*iterator))
                files.push_back(iterator->path());
    };
    if (recursive)
        collect(fs::recursive_directory_iterator(
            folder, fs::directory_options::skip_permission_denied, error));
    else
        collect(
            fs::directory_iterator(folder, fs::directory_options::skip_permission_denied, error));
    std::ranges::sort(files);
    return files;
}

ConversionJob jobForFile(const fs::path& source, const CommandOptions& options) {
    const fs::path besideSource = usdzDestinationFor(source);
    if (!options.output)
        return {source, besideSource, false, {}};
    if (fs::is_directory(*options.output))
        return {source, *options.output / besideSource.filename(), false, {}};
    return {source, *options.output, false, {}};
}

ConversionJob jobInFolder(const fs::path& source, const fs::path& folder,
                          const CommandOptions& options) {
    const fs::path besideSource = usdzDestinationFor(source);
    if (!options.output)
        return {source, besideSource, false, {}};
    const fs::path mirrored = *options.output / besideSource.lexically_relative(folder);
    return {source, mirrored, true, {}};
}

void addFolder(std::vector<ConversionJob>& jobs, const fs::path& folder,
               const CommandOptions& options) {
    const std::vector<fs::path> files = modelFilesIn(folder, options.recursive);
    if (files.empty())
        jobs.push_back({folder,
                        {},
                        false,
                        options.recursive
                            ? "no .gltf, .glb, .vrm or .usdc file in it or its sub-folders"
                            : "no .gltf, .glb, .vrm or .usdc file in it (-r looks into "
                              "sub-folders)"});
    for (const fs::path& file : files)
        jobs.push_back(jobInFolder(file, folder, options));
}

void refuseSecondWriters(std::vector<ConversionJob>& jobs) {
    std::set<fs::path> destinations;
    for (ConversionJob& job : jobs) {
        if (!job.refusal.empty())
            continue;
        if (!destinations.insert(job.destination.lexically_normal()).second)
            job.refusal =
                "not converted: another input also converts to " + job.destination.string();
    }
}

} // namespace

std::vector<ConversionJob> planJobs(const CommandOptions& options) {
    std::vector<ConversionJob> jobs;
    for (const fs::path& input : options.inputs) {
        if (fs::is_directory(input))
            addFolder(jobs, input, options);
        else
            jobs.push_back(jobForFile(input, options));
    }
    refuseSecondWriters(jobs);
    return jobs;
}

} // namespace brightfold::cli
