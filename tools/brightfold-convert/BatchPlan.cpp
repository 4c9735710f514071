#include "BatchPlan.h"

#include <Brightfold/SaveDestination.h>
#include <Brightfold/SourceSceneLoader.h>
#include <algorithm>
#include <array>
#include <set>

namespace brightfold::cli {
namespace {

namespace fs = std::filesystem;

bool isModelFile(const fs::directory_entry& entry) {
    static constexpr std::array<std::string_view, 5> extensions = {"gltf", "glb", "vrm", "usdc",
                                                                   "usdz"};
    std::error_code error;
    return entry.is_regular_file(error) &&
           std::ranges::find(extensions, lowerCasedExtension(entry.path())) != extensions.end();
}

// A package in a folder that a conversion made: repaired (NAME-ar.usdz), or the package of a
// model beside it. Converting it again would only write a copy of a copy.
bool isConversionOutput(const fs::path& file, const std::vector<fs::path>& files) {
    if (lowerCasedExtension(file) != "usdz")
        return false;
    if (file.stem().string().ends_with("-ar"))
        return true;
    return std::ranges::any_of(files, [&](const fs::path& other) {
        return other != file && usdzDestinationFor(other) == file;
    });
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
    const std::vector<fs::path> found = files;
    std::erase_if(files, [&](const fs::path& file) { return isConversionOutput(file, found); });
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
                            ? "no .gltf, .glb, .vrm, .usdc or .usdz file in it or its sub-folders"
                            : "no .gltf, .glb, .vrm, .usdc or .usdz file in it (-r looks into "
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
