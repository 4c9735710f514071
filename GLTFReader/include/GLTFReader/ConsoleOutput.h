#pragma once

// The reader's few standard-output lines (the key-time trace) go through here, so a caller
// such as a test or a tool can capture or silence them.

#include <functional>
#include <string_view>

namespace gltf {

using ConsoleLineWriter = std::function<void(std::string_view line)>;

// Writes one line; by default to standard output followed by a newline.
void writeConsoleLine(std::string_view line);

// Sends later lines to `writer` instead; an empty writer restores standard output. Returns the
// writer that was in force. Not synchronised: set it before loading starts.
ConsoleLineWriter redirectConsoleLines(ConsoleLineWriter writer);

} // namespace gltf
