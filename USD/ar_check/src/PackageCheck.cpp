#include "PackageLayout.h"

#include <Base/MappedFile.h>
#include <USD/ar_check/PackageCheck.h>
#include <USD/codec/FormatError.h>
#include <USD/crate_reader/CrateReader.h>
#include <USD/package/PackageError.h>
#include <USD/package/PackageReader.h>
#include <exception>
#include <filesystem>

namespace usd::ar {
namespace {

bool isZipArchive(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' && bytes[2] == 3 &&
           bytes[3] == 4;
}

void checkRootLayer(std::span<const std::uint8_t> bytes, const std::string& name,
                    const std::vector<std::string>* packaged, PackageVerdict& verdict) {
    try {
        const Layer layer = readCrate(bytes);
        const std::string folder = std::filesystem::path(name).parent_path().generic_string();
        for (RuleProblem& problem : checkLayerRules(layer, packaged, folder))
            verdict.broken.push_back(std::move(problem));
        measureLayer(layer, verdict.measures);
    } catch (const FormatError& error) {
        verdict.broken.push_back({std::string(rule::readable), name,
                                  "The layer could not be read as a crate (.usdc) file: " +
                                      std::string(error.what()) + "."});
    }
}

void checkPackage(std::span<const std::uint8_t> archive, PackageVerdict& verdict) {
    const PackageReader reader(archive);
    const std::vector<PackageEntry>& entries = reader.entries();
    checkPackageLayout(archive, entries, verdict.broken);
    measureTextures(entries, verdict.measures);
    const PackageEntry* root = firstLayerOf(entries);
    if (!root)
        return;
    std::vector<std::string> packaged;
    for (const PackageEntry& entry : entries)
        packaged.push_back(entry.name);
    checkRootLayer(root->bytes, root->name, &packaged, verdict);
}

void checkBareLayer(std::span<const std::uint8_t> bytes, PackageVerdict& verdict) {
    verdict.broken.push_back({std::string(rule::packageLayout), "",
                              "A bare layer, not a USDZ package: AR Quick Look opens only .usdz "
                              "files (brightfold-convert packages it)."});
    checkRootLayer(bytes, "", nullptr, verdict);
}

} // namespace

PackageVerdict checkPackageBytes(std::span<const std::uint8_t> bytes, const ARBudgets& budgets) {
    PackageVerdict verdict;
    try {
        if (isZipArchive(bytes))
            checkPackage(bytes, verdict);
        else
            checkBareLayer(bytes, verdict);
    } catch (const PackageError& error) {
        verdict.broken.push_back({std::string(rule::packageLayout), "", error.what()});
    } catch (const std::exception& error) {
        verdict.broken.push_back({std::string(rule::readable), "",
                                  "The file could not be checked: " + std::string(error.what())});
    }
    verdict.overBudget = overBudget(verdict.measures, budgets);
    return verdict;
}

PackageVerdict checkPackageFile(const std::filesystem::path& file, const ARBudgets& budgets) {
    try {
        const base::MappedFile mapped(file);
        return checkPackageBytes(mapped.bytes(), budgets);
    } catch (const std::exception& error) {
        PackageVerdict verdict;
        verdict.broken.push_back({std::string(rule::readable), "", error.what()});
        return verdict;
    }
}

} // namespace usd::ar
