#pragma once

#include <Brightfold/ConversionServices.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace brightfold::cli {

struct ConsoleStreams {
    std::ostream& out;     // one result line per file (and --help)
    std::ostream& errors;  // usage errors, and the progress bar
    bool errorsIsTerminal; // the bar is drawn only on a terminal
};

// brightfold-convert [--quiet] [-o OUT] FILE...: converts each file through the same workflow
// as the application (loader choice, fallback, temporary package, read-back check) and saves
// it beside its source as <name>.usdz, or at OUT. Returns 0 when every file converted, 1 when
// any failed, 2 for a bad command line.
int runConvertCommand(const std::vector<std::string>& arguments,
                      std::shared_ptr<ConversionServices> services, ConsoleStreams console);

} // namespace brightfold::cli
