#pragma once

#include <SceneGraph/Transform.h>
#include <deque>
#include <string>

namespace usd::writer {

// A texture-coordinate channel moved by a texture's uv map and written as a primvar of its own,
// for maps a UsdTransform2d cannot express.
struct BakedTexCoords {
    std::string primvar; // "stBaked1" (without the "primvars:" namespace)
    int channel = 0;     // the channel whose coordinates are moved
    scene::Matrix4 uvTransform{1.0};
};

// The baked channels of one layer: each distinct channel and map gets one primvar name, shared
// by every material that needs it.
class TexCoordBakes {
  public:
    const BakedTexCoords& bake(int channel, const scene::Matrix4& uvTransform);

  private:
    std::deque<BakedTexCoords> bakes_; // a deque keeps handed-out references valid
};

} // namespace usd::writer
