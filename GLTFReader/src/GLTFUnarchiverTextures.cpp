// Textures: an image in a material property with its sampler's settings, loaded once and
// copied into every material slot that uses it.
#include "DocumentRecords.h"
#include "extensions/EXTTextureWebp.h"

#include <GLTFReader/GLTFUnarchiver.h>

namespace {

std::shared_ptr<scene::MaterialProperty> textureFrom(const GLTFTexture& record,
                                                     GLTFUnarchiver& unarchiver) {
    const std::optional<std::int64_t> source = gltf::extensions::textureSource(record);
    if (!source) {
        throw GLTFUnarchiveError::notSupported(
            "loadTexture: texture without source is not supported");
    }
    auto texture = std::make_shared<scene::MaterialProperty>(
        scene::MaterialProperty::withContents(unarchiver.loadImage(*source)));
    texture->mipFilter = scene::FilterMode::linear;
    if (record.sampler) {
        unarchiver.setSampler(*record.sampler, *texture);
    } else {
        texture->wrapS = scene::WrapMode::repeat;
        texture->wrapT = scene::WrapMode::repeat;
    }
    return texture;
}

} // namespace

// Kept only once its image and sampler are in place, so a failed texture is tried again.
std::shared_ptr<scene::MaterialProperty> GLTFUnarchiver::loadTexture(std::int64_t index) {
    const GLTFTexture* record = nullptr;
    return caches_.textures.load(
        index, "loadTexture",
        [&] {
            record = &gltf::documentRecord(json_.textures, index,
                                           "loadTexture: textures is not defined");
            return textureFrom(*record, *this);
        },
        [&](const std::shared_ptr<scene::MaterialProperty>& texture) {
            gltf::onLoaded(*record, texture, *this);
        });
}

// The slot gets its own copy of every setting, so the material can then set its own mapping
// channel, components or intensity without touching the shared texture.
void GLTFUnarchiver::setTexture(std::int64_t textureIndex, scene::MaterialProperty& property) {
    const std::shared_ptr<scene::MaterialProperty> texture = loadTexture(textureIndex);
    if (!texture->hasContents()) {
        throw GLTFUnarchiveError::dataInconsistent("setTexture: contents of texture " +
                                                   std::to_string(textureIndex) + " is nil");
    }
    property = *texture;
}
