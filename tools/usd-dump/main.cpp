#include "DumpCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    return usd::dump::runDumpCommand({argv + 1, argv + argc}, std::cout, std::cerr);
}
