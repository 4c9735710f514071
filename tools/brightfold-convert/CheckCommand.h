#pragma once

#include <Brightfold/ConversionServices.h>
#include <filesystem>
#include <ostream>
#include <vector>

namespace brightfold::cli {

// brightfold-convert --check FILE...: checks each package (or bare .usdc layer) against AR
// Quick Look's rules and budgets, the texture budget being the options'. Prints one line per
// problem ("FILE: [rule] where: what to do"), then the file's verdict line. Returns 0 when
// every file passes, 1 otherwise.
int runCheckCommand(const std::vector<std::filesystem::path>& files, ConversionServices& services,
                    const ConversionOptions& options, std::ostream& out);

} // namespace brightfold::cli
