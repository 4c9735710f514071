#pragma once

#include "PrimNames.h"
#include "materials/SurfaceDescription.h"
#include "materials/TexCoordBakes.h"
#include "materials/TextureTransform.h"

#include <USD/layer/LayerBuilder.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace usd::writer {

// The shader nodes inside one Material that feed its surface: texture nodes, one primvar reader
// per texture-coordinate primvar, and a UsdTransform2d where a texture is transformed. A map
// that shears, or that differs from the material's first transformed texture, reads a baked
// channel instead.
class TextureNodes {
  public:
    TextureNodes(LayerBuilder& build, Path material, SiblingNames& names, TexCoordBakes& bakes)
        : build_(build), material_(std::move(material)), names_(names), bakes_(bakes) {}

    // Writes the texture node reading package file `file`; returns its path.
    Path write(const TextureRead& texture, const std::string& file);

    // The output attribute `output` ("rgb", "r" …) of a written node, declared on first use.
    Path output(const Path& node, const std::string& output);

    // The output of a primvar reader of the mesh's `read.varname`, written on first use.
    Path primvarOutput(const PrimvarOutput& read);

    // How many texture-coordinate primvars the written nodes read.
    std::size_t primvarsRead() const { return readers_.size(); }
    // The baked channels the written nodes read, each once.
    const std::vector<BakedTexCoords>& bakedTexCoords() const { return baked_; }

  private:
    Path stSource(const TextureRead& texture);
    Path transformNode(const std::string& textureName, const Transform2d& transform,
                       const Path& reader);
    Path primvarReader(const std::string& varname);
    Path shader(std::string_view wantedName, std::string_view id);

    LayerBuilder& build_;
    Path material_;
    SiblingNames& names_;
    TexCoordBakes& bakes_;
    std::map<std::string, Path> readers_;
    std::vector<BakedTexCoords> baked_;
    std::optional<scene::Matrix4> nodeTransform_; // the one map written as UsdTransform2d nodes
    std::set<Path> outputs_;
};

} // namespace usd::writer
