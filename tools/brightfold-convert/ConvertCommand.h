#pragma once

#include <Brightfold/ConversionServices.h>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace brightfold::cli {

struct ConsoleStreams {
    std::ostream& out;     // one result line per file, the batch summary (and --help)
    std::ostream& errors;  // usage errors, the progress bar and, with --verbose, trace lines
    bool errorsIsTerminal; // the bar is drawn only on a terminal
    // Sends the glTF reader's trace lines to the given writer (nullptr: drops them).
    std::function<void(std::function<void(std::string_view)>)> routeTraceLines = {};
    unsigned cores = 1; // the default for -j
};

// brightfold-convert [-r] [-j N] [--quiet] [--verbose] [-o OUT] FILE|FOLDER...: converts each
// file (and the model files in each folder) through the same workflow as the application
// (loader choice, fallback, temporary package, read-back check), N at a time, and saves it
// beside its source as <name>.usdz (<name>-ar.usdz for a .usdz source), or at OUT, with the
// preview's notes. With --check, checks the files as packages instead (see CheckCommand.h).
// Returns 0 when every file converted (or passed), 1 when any failed, 2 for a bad command line.
int runConvertCommand(const std::vector<std::string>& arguments,
                      std::shared_ptr<ConversionServices> services, ConsoleStreams console);

} // namespace brightfold::cli
