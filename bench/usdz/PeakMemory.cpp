// Reports how much memory writing the textured grid as USDZ, and reading it back, need at their
// peak, relative to the input (GLB and PNG) plus output (package) size. One process per phase,
// so that nothing else raises the high-water mark.
#include "TexturedGrid.h"

#include <BenchSupport/PeakMemory.h>
#include <USD/USDZReader.h>
#include <USD/USDZWriter.h>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string_view>

namespace {

void writePhase(const std::filesystem::path& folder, const std::filesystem::path& package) {
    const bench::TexturedGrid grid = bench::makeTexturedGrid(folder);
    const double growth = bench::peakGrowthBytes([&] {
        const usd::USDZWriteResult result = usd::writeUSDZ(*grid.scene, package);
        if (!result.succeeded)
            throw std::runtime_error(result.failure);
    });
    const double sizes = static_cast<double>(grid.inputBytes + std::filesystem::file_size(package));
    std::printf("input + output bytes: %.0f\nwrite peak growth bytes: %.0f\n"
                "write peak growth / (input + output): %.2f\n",
                sizes, growth, growth / sizes);
}

void readPhase(const std::filesystem::path& package) {
    const double growth = bench::peakGrowthBytes([&] { usd::readUSDZ(package); });
    const auto size = static_cast<double>(std::filesystem::file_size(package));
    std::printf("package bytes: %.0f\nread peak growth bytes: %.0f\n"
                "read peak growth / package size: %.2f\n",
                size, growth, growth / size);
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view phase = argc == 3 ? argv[1] : "";
    if (phase != "write" && phase != "read") {
        std::fprintf(stderr, "usage: usdz_peak write|read FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[2];
    const auto package = folder / "grid-1M-textured.usdz";
    try {
        if (phase == "write")
            writePhase(folder, package);
        else
            readPhase(package);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "usdz_peak: %s\n", error.what());
        return 1;
    }
}
