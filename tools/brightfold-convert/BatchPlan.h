#pragma once

#include "CommandOptions.h"

#include <filesystem>
#include <string>
#include <vector>

namespace brightfold::cli {

// One file to convert and where its package goes.
struct ConversionJob {
    std::filesystem::path source;
    std::filesystem::path destination;
    bool makesFolder = false; // a mirrored sub-folder under -o, made when the package is saved
    std::string refusal;      // set when the job must not run (the reason is its result line)
};

// The jobs for the command line's inputs: each file as given, and the model files
// (.gltf, .glb, .vrm, .usdc, .usdz) in each folder, sorted, with -r in its sub-folders too. A
// folder's packages that are conversions themselves are not taken: NAME-ar.usdz, and NAME.usdz
// beside a model that converts to it.
// A folder without any is a refused job; a second file bound for the same package is refused
// rather than overwrite the first one's.
std::vector<ConversionJob> planJobs(const CommandOptions& options);

} // namespace brightfold::cli
