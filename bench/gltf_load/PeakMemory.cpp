// Reports how much memory one scene load needs at its peak, relative to the size of the files it
// reads. A separate process, so that nothing else the benchmarks did raises the high-water mark.
#include "SceneLoading.h"

#include <BenchSupport/PeakMemory.h>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gltf_load_peak FILE.glb|FILE.gltf\n");
        return 2;
    }
    try {
        const double fileBytes =
            static_cast<double>(bench::totalSize(bench::filesReadByLoad(argv[1])));
        const double growth = bench::peakGrowthBytes([&] { bench::loadScene(argv[1]); });
        std::printf("file bytes: %.0f\npeak growth bytes: %.0f\npeak growth / file size: %.2f\n",
                    fileBytes, growth, growth / fileBytes);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gltf_load_peak: '%s': %s\n", argv[1], error.what());
        return 1;
    }
}
