#include "ConvertCommand.h"

#include <Brightfold/SceneServices.h>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    return brightfold::cli::runConvertCommand({argv + 1, argv + argc},
                                              brightfold::makeSceneServices(),
                                              {std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1});
}
