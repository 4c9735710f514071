#include "ConvertCommand.h"

#include <Brightfold/SceneServices.h>
#include <GLTFReader/ConsoleOutput.h>
#include <iostream>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv) {
    brightfold::cli::ConsoleStreams console{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
    console.routeTraceLines = [](std::function<void(std::string_view)> writer) {
        gltf::redirectConsoleLines(std::move(writer));
    };
    console.cores = std::thread::hardware_concurrency();
    return brightfold::cli::runConvertCommand({argv + 1, argv + argc},
                                              brightfold::makeSceneServices(), console);
}
