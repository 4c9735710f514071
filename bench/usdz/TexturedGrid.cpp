#include "TexturedGrid.h"

#include "GridGlb.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Node.h>
#include <stb/stb_image_write.h>

namespace bench {
namespace {

// 2 × 707² = 999,698 triangles, as in the glTF load benchmarks.
const GridShape kGrid{.quadsPerSide = 707, .withNormals = true};

void appendBytes(void* context, void* data, int size) {
    auto& bytes = *static_cast<std::vector<std::uint8_t>*>(context);
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), first, first + size);
}

// A pattern with some noise, so the PNG is about as large as a photo-like texture's.
std::vector<std::uint8_t> texturePng(int side) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side * 3);
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        noise = noise * 1664525u + 1013904223u;
        pixels[i] = static_cast<std::uint8_t>((i / 3 % side) ^ (i / 3 / side) ^ (noise >> 28));
    }
    std::vector<std::uint8_t> png;
    stbi_write_png_to_func(appendBytes, &png, side, side, 3, pixels.data(), side * 3);
    return png;
}

std::shared_ptr<scene::Material> texturedMaterial(std::vector<std::uint8_t> png) {
    auto material = scene::Material::create();
    material->name = "Grid";
    material->lightingModel = scene::LightingModel::physicallyBased;
    auto image = scene::Image::fromEncodedBytes(scene::makeBytes(std::move(png)));
    image->setName("grid.png");
    material->diffuse() = scene::MaterialProperty::withContents(image);
    return material;
}

} // namespace

TexturedGrid makeTexturedGrid(const std::filesystem::path& folder, int textureSide) {
    const auto glb = folder / "grid-1M-normals.glb";
    writeGridGlb(glb, kGrid);
    TexturedGrid grid;
    grid.scene = GLTFSceneSource(glb).sceneWithOptions();
    std::vector<std::uint8_t> png = texturePng(textureSide);
    grid.inputBytes = std::filesystem::file_size(glb) + png.size();
    const auto material = texturedMaterial(std::move(png));
    grid.scene->rootNode()->enumerateHierarchy([&](scene::Node& node) {
        if (node.geometry())
            node.geometry()->setMaterials({material});
    });
    return grid;
}

} // namespace bench
