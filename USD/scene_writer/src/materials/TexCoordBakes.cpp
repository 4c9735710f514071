#include "materials/TexCoordBakes.h"

#include <algorithm>

namespace usd::writer {

const BakedTexCoords& TexCoordBakes::bake(int channel, const scene::Matrix4& uvTransform) {
    const auto found = std::ranges::find_if(bakes_, [&](const BakedTexCoords& b) {
        return b.channel == channel && b.uvTransform == uvTransform;
    });
    if (found != bakes_.end())
        return *found;
    return bakes_.emplace_back(
        BakedTexCoords{"stBaked" + std::to_string(bakes_.size() + 1), channel, uvTransform});
}

} // namespace usd::writer
