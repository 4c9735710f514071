#include "KHRTextureTransform.h"

#include "../MaterialTextures.h"
#include "ExtensionRecord.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/JsonDecoder.h>
#include <cmath>
#include <string>

namespace gltf::extensions {
namespace {

[[noreturn]] void refuse(const std::string& problem) {
    throw GLTFUnarchiveError::dataInconsistent("loadMaterial: KHR_texture_transform " + problem);
}

glm::dvec2 pairOf(const std::optional<std::vector<float>>& numbers, glm::dvec2 fallback,
                  const char* name) {
    if (!numbers) {
        return fallback;
    }
    if (numbers->size() != 2) {
        refuse(std::string(name) + " has " + std::to_string(numbers->size()) +
               " numbers instead of 2");
    }
    return {(*numbers)[0], (*numbers)[1]};
}

} // namespace

TextureTransform TextureTransform::decode(const gltf::JsonObject& json) {
    return {
        .offset = json.optional<std::vector<float>>("offset"),
        .rotation = json.optional<float>("rotation"),
        .scale = json.optional<std::vector<float>>("scale"),
        .texCoord = json.optional<std::int64_t>("texCoord"),
    };
}

KHRTextureTransform KHRTextureTransform::decode(const gltf::JsonObject& extensions) {
    KHRTextureTransform result;
    result.data = extensions.optional<TextureTransform>(extensionName);
    return result;
}

scene::Matrix4 textureTransformMatrix(const TextureTransform& transform) {
    const glm::dvec2 offset = pairOf(transform.offset, {0, 0}, "offset");
    const glm::dvec2 scale = pairOf(transform.scale, {1, 1}, "scale");
    const double rotation = transform.rotation.value_or(0);
    const double c = std::cos(rotation);
    const double s = std::sin(rotation);
    scene::Matrix4 matrix(1.0); // columns: u' = c·sx·u + s·sy·v + ox, v' = −s·sx·u + c·sy·v + oy
    matrix[0][0] = c * scale.x;
    matrix[0][1] = -s * scale.x;
    matrix[1][0] = s * scale.y;
    matrix[1][1] = c * scale.y;
    matrix[3][0] = offset.x;
    matrix[3][1] = offset.y;
    return matrix;
}

void applyTextureTransform(const std::optional<GLTFExtension>& referenceExtensions,
                           scene::MaterialProperty& slot) {
    const TextureTransform* transform = extensionData<KHRTextureTransform>(referenceExtensions);
    if (transform == nullptr) {
        return;
    }
    slot.contentsTransform = textureTransformMatrix(*transform);
    if (transform->texCoord) {
        slot.mappingChannel = mappingChannelOf(transform->texCoord);
    }
}

} // namespace gltf::extensions
