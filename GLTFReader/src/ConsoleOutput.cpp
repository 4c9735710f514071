#include <GLTFReader/ConsoleOutput.h>
#include <cstdio>
#include <utility>

namespace gltf {
namespace {

ConsoleLineWriter& currentWriter() {
    static ConsoleLineWriter writer;
    return writer;
}

} // namespace

void writeConsoleLine(std::string_view line) {
    if (const ConsoleLineWriter& writer = currentWriter()) {
        writer(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

ConsoleLineWriter redirectConsoleLines(ConsoleLineWriter writer) {
    return std::exchange(currentWriter(), std::move(writer));
}

} // namespace gltf
