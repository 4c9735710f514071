#pragma once

#include "Notes.h"
#include "PrimNames.h"
#include "materials/SurfaceDescription.h"
#include "materials/TexCoordBakes.h"
#include "textures/ImageLibrary.h"

#include <SceneGraph/Material.h>
#include <USD/layer/LayerBuilder.h>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace usd::writer {

// Binds `material` to a gprim or GeomSubset, applying the binding API its relationship needs.
void bindMaterial(LayerBuilder& build, const Path& prim, const Path& material);

struct WrittenMaterial {
    Path path;
    std::set<int> texCoordChannels;             // the mapping channels its textures read
    std::vector<BakedTexCoords> bakedTexCoords; // channels moved by maps that shear
    VertexColorScale vertexColorScale;          // what its meshes' vertex colours are scaled by
};

// The Material prims of the layer, each scene material written once, on first use, inside one
// Scope.
class MaterialLibrary {
  public:
    MaterialLibrary(LayerBuilder& build, Path scope, ImageLibrary& images, Notes& notes);

    // The prim for `material` on meshes whose vertex colours show as `vertexColors` says; null
    // stands for the loader's default white physically based material. A material bound to
    // meshes with and without such colours is written once for each.
    const WrittenMaterial& use(const std::shared_ptr<scene::Material>& material,
                               VertexColorUse vertexColors = {});

  private:
    WrittenMaterial write(const scene::Material& material, VertexColorUse vertexColors);

    LayerBuilder& build_;
    Path scope_;
    ImageLibrary& images_;
    Notes& findings_;
    SiblingNames names_;
    TexCoordBakes bakes_;
    std::shared_ptr<scene::Material> defaultMaterial_;
    std::map<std::pair<const scene::Material*, VertexColorUse>, WrittenMaterial> written_;
};

// The material a primitive without one is drawn with.
std::shared_ptr<scene::Material> defaultWhiteMaterial();

} // namespace usd::writer
