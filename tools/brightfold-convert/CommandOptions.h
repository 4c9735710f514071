#pragma once

#include <Brightfold/ConversionOptions.h>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brightfold::cli {

struct CommandOptions {
    std::vector<std::filesystem::path> inputs; // files and folders
    std::optional<std::filesystem::path> output;
    unsigned parallelJobs = 1;
    bool recursive = false;
    bool quiet = false;
    bool verbose = false;
    bool help = false;
    bool check = false; // check the inputs as packages instead of converting them
    ConversionOptions conversion;
};

// Nothing when the command line is unusable; the reason is written to `errors`.
// `defaultJobs` is the -j used when none is given.
std::optional<CommandOptions> parseOptions(const std::vector<std::string>& arguments,
                                           unsigned defaultJobs, std::ostream& errors);

} // namespace brightfold::cli
