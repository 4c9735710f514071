#pragma once

#include "AssetResolver.h"
#include "ShaderNetwork.h"
#include "Stage.h"
#include "TextureNode.h"

#include <SceneGraph/Material.h>
#include <USD/scene_reader/SceneReader.h>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace usd::reader {

// What a USD material became: the scene material and the texture-coordinate primvars its
// textures read, in order of first use (a slot's mapping channel indexes this list).
struct ResolvedMaterial {
    std::shared_ptr<scene::Material> material;
    std::vector<std::string> texcoordPrimvars;
    // Its diffuse colour comes from the mesh's displayColor.
    bool readsDisplayColor = false;
};

// Finds the material bound to each gprim or subset and builds each USD material once.
class MaterialResolver {
  public:
    MaterialResolver(const Stage& stage, AssetResolver& assets, SceneReadNotes& notes);

    // The material drawing `bound` (a gprim, or a subset of `gprim`); double-sided copies are
    // kept apart from single-sided ones.
    ResolvedMaterial materialFor(const ComposedPrim& bound, const ComposedPrim& gprim,
                                 bool doubleSided);

  private:
    const Stage& stage_;
    SceneReadNotes& notes_;
    ShaderNetwork network_;
    TextureReader textures_;
    // By surface shader and sidedness: a material drawn both ways is two scene materials.
    std::map<std::pair<const ComposedPrim*, bool>, ResolvedMaterial> built_;
};

} // namespace usd::reader
