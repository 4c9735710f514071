// example-model OUT.glb: writes the project's own small example model.
#include "ExampleModel.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: example-model OUT.glb\n";
        return 2;
    }
    const std::vector<std::uint8_t> glb = brightfold::example::makeExampleGLB();
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(glb.data()), static_cast<std::streamsize>(glb.size()));
    if (!out.flush()) {
        std::cerr << "example-model: cannot write '" << argv[1] << "'\n";
        return 1;
    }
    return 0;
}
