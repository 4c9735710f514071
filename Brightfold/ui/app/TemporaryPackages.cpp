#include "TemporaryPackages.h"

#include <cstdio>
#include <exception>

std::unique_ptr<brightfold::RunFolder> makeRunFolder() {
    try {
        return std::make_unique<brightfold::RunFolder>();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brightfold: temporary packages go to the system's folder: %s\n",
                     error.what());
        return nullptr;
    }
}
