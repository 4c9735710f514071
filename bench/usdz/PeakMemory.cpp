// Reports how much memory writing the textured grid as USDZ, and reading it back, need at their
// peak, relative to the input plus output size: GLB and PNG plus package for the write, package
// plus the scene's bytes for the read (and, for the read, to the package alone). One process per
// phase, so that nothing else raises the high-water mark.
#include "TexturedGrid.h"

#include <BenchSupport/PeakMemory.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Node.h>
#include <USD/scene_reader/SceneReader.h>
#include <USD/scene_writer/SceneWriter.h>
#include <cstdio>
#include <exception>
#include <set>
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

// The bytes the scene read back holds: vertex data, indices and encoded images, each shared
// block once. It is the read's output, as the package is the write's.
double sceneBytes(const scene::Scene& scene) {
    std::set<const void*> counted;
    double total = 0;
    const auto add = [&](const scene::Bytes& bytes) {
        if (bytes && counted.insert(bytes.get()).second)
            total += static_cast<double>(bytes->size());
    };
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        const auto& geometry = node.geometry();
        if (!geometry)
            return;
        for (const auto& source : geometry->sources())
            add(source->data());
        for (const auto& element : geometry->elements())
            add(element->data());
        for (const auto& material : geometry->materials())
            for (std::size_t slot = 0; slot < scene::materialSlotCount; ++slot)
                if (const auto image =
                        material->property(static_cast<scene::MaterialSlot>(slot)).image())
                    add(image->encodedBytes());
    });
    return total;
}

void readPhase(const std::filesystem::path& package) {
    double output = 0;
    const double growth =
        bench::peakGrowthBytes([&] { output = sceneBytes(*usd::readUSDZ(package)); });
    const auto size = static_cast<double>(std::filesystem::file_size(package));
    std::printf("package bytes: %.0f\nscene bytes: %.0f\nread peak growth bytes: %.0f\n"
                "read peak growth / package size: %.2f\n"
                "read peak growth / (package + scene): %.2f\n",
                size, output, growth, growth / size, growth / (size + output));
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
