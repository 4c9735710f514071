#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <SceneGraph/MaterialProperty.h>
#include <cstdint>
#include <optional>
#include <vector>

namespace gltf::extensions {

// How one texture reference moves its texture coordinates: scaled, rotated by `rotation`
// radians, then offset; `texCoord` replaces the reference's own coordinate set.
struct TextureTransform {
    std::optional<std::vector<float>> offset;
    std::optional<float> rotation;
    std::optional<std::vector<float>> scale;
    std::optional<std::int64_t> texCoord;

    static TextureTransform decode(const gltf::JsonObject& json);
};

struct KHRTextureTransform : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_texture_transform";

    std::optional<TextureTransform> data;

    static KHRTextureTransform decode(const gltf::JsonObject& extensions);
};

// The uv map of a transform, in the convention of MaterialProperty::contentsTransform:
// uv' = offset + R(rotation) · (scale ⊙ uv), with R turning (1, 0) towards (cos r, −sin r),
// which is counter-clockwise with v pointing down the image.
scene::Matrix4 textureTransformMatrix(const TextureTransform& transform);

// Applies the transform a texture reference carries (if any) to the slot it has just filled.
// Offsets and scales of other than two numbers are refused (numbers beyond a float's range,
// the only way JSON has of saying infinity, are refused when the document is decoded).
void applyTextureTransform(const std::optional<GLTFExtension>& referenceExtensions,
                           scene::MaterialProperty& slot);

} // namespace gltf::extensions
