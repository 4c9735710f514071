#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace usd::dump {

// Runs `usd-dump` with the arguments after the program name: the layer text
// (or, with --scene, the scene the file reads into) goes to `out`, reader
// warnings and errors to `errors`. Returns the exit
// status: 0 done, 1 the file could not be read, 2 bad command line.
int runDumpCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& errors);

} // namespace usd::dump
