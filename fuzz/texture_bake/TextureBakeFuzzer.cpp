#include "SceneBuilding.h"

#include <SceneGraph/Image.h>
#include <SceneGraph/MaterialContract.h>
#include <algorithm>
#include <cstddef>
#include <cstdint>

// Any image bytes the header reader accepts must either bake and downscale or leave the
// material's slots without a texture (or at their size), never crash or read out of bounds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto image = scene::Image::fromEncodedBytes(scene::makeBytes({data, data + size}));
    // Large claimed sizes are refused by the decoder's own bound; smaller ones keep runs quick.
    if (!image || std::uint64_t{1} * image->width() * image->height() > (1u << 22))
        return 0;
    auto material = usd::test::pbrMaterial();
    material->diffuse() = scene::MaterialProperty::withContents(image);
    material->normal() = scene::MaterialProperty::withContents(image);
    material->ambientOcclusion() = scene::MaterialProperty::withContents(image);
    material->ambientOcclusion().intensity = 0.5;
    scene::setNamedNumber(*material, scene::material_keys::glossinessFactor, 0.5);
    material->multiply() = scene::MaterialProperty::withContents(image);
    auto geometry = usd::test::quadGeometry({usd::test::floatSource(
        scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}})});
    geometry->setMaterials({material});
    // Every texture file made of the image is downscaled to half its longer side.
    usd::WriteOptions options;
    options.maxTextureSize = static_cast<unsigned>(std::max(image->width(), image->height()) / 2);
    usd::buildSceneLayer(*usd::test::sceneWithGeometry(geometry), "Root", {}, options);
    return 0;
}
