// brightfold-help-page README TEMPLATE OUTPUT: writes the help page TEMPLATE with each line
// "<!-- table: HEADING -->" replaced by the README's table under that heading, so the help
// installed with the program lists what the README lists.
#include "MarkdownTable.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

constexpr std::string_view marker = "<!-- table: ";

std::string fileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error(std::string("cannot read ") + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string filledPage(const std::string& readme, const std::string& page) {
    std::istringstream lines(page);
    std::string filled;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with(marker) || !line.ends_with(" -->")) {
            filled += line + "\n";
            continue;
        }
        const std::string heading = line.substr(marker.size(), line.size() - marker.size() -
                                                                   std::string_view(" -->").size());
        const auto table = brightfold::manual::tableUnderHeading(readme, heading);
        if (!table) {
            throw std::runtime_error("the README has no table under \"" + heading + "\"");
        }
        filled += brightfold::manual::htmlTable(*table);
    }
    return filled;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: brightfold-help-page README TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    try {
        const std::string page = filledPage(fileText(argv[1]), fileText(argv[2]));
        std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
        if (!(out << page) || !out.flush()) {
            throw std::runtime_error(std::string("cannot write ") + argv[3]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brightfold-help-page: %s\n", error.what());
        return 1;
    }
    return 0;
}
