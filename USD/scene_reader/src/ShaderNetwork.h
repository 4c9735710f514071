#pragma once

#include "Stage.h"

#include <USD/scene_reader/SceneReader.h>
#include <optional>
#include <string>

namespace usd::reader {

// An output of a Shader prim ("rgb", "r", "result" …).
struct ShaderOutput {
    const ComposedPrim* shader = nullptr;
    std::string output;
};

// Where a shader input gets its value after following connections through NodeGraph and
// Material interface inputs: a value (with the source that authored it), a shader output,
// or nothing.
struct InputSource {
    ComposedPrim::Opinion value;
    std::optional<ShaderOutput> connected;
};

// Follows connections between the prims of a material, with a bound on hops.
class ShaderNetwork {
  public:
    ShaderNetwork(const Stage& stage, SceneReadNotes& notes) : stage_(stage), notes_(notes) {}

    // The shader behind the material's surface output (universal, else any render context).
    std::optional<ShaderOutput> surface(const ComposedPrim& material) const;
    // `inputs:<name>` of a shader.
    InputSource input(const ComposedPrim& shader, std::string_view name) const;

    static std::string shaderId(const ComposedPrim& shader);

  private:
    InputSource follow(const ComposedPrim& prim, const std::string& attribute, int hops) const;

    const Stage& stage_;
    SceneReadNotes& notes_;
};

} // namespace usd::reader
