#include "MaterialTextures.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <limits>
#include <string>

namespace gltf {

int mappingChannelOf(std::optional<std::int64_t> texCoord) {
    const std::int64_t channel = texCoord.value_or(0);
    if (channel < 0 || channel > std::numeric_limits<int>::max()) {
        throw GLTFUnarchiveError::dataInconsistent("loadMaterial: texCoord " +
                                                   std::to_string(channel) + " is out of range");
    }
    return static_cast<int>(channel);
}

void setMappedTexture(GLTFUnarchiver& unarchiver, std::int64_t textureIndex,
                      std::optional<std::int64_t> texCoord, scene::MaterialProperty& slot) {
    unarchiver.setTexture(textureIndex, slot);
    slot.mappingChannel = mappingChannelOf(texCoord);
}

} // namespace gltf
