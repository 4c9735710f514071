#pragma once

#include "PrimNames.h"
#include "SurfaceDescription.h"

#include <USD/LayerBuilder.h>
#include <map>
#include <set>
#include <string>

namespace usd::writer {

// The shader nodes inside one Material that feed its surface: texture nodes, one primvar reader
// per texture-coordinate channel, and a UsdTransform2d where a texture is transformed.
class TextureNodes {
  public:
    TextureNodes(LayerBuilder& build, Path material, SiblingNames& names)
        : build_(build), material_(std::move(material)), names_(names) {}

    // Writes the texture node reading package file `file`; returns its path.
    Path write(const TextureRead& texture, const std::string& file);

    // The output attribute `output` ("rgb", "r" …) of a written node, declared on first use.
    Path output(const Path& node, const std::string& output);

  private:
    Path stSource(const TextureRead& texture);
    Path primvarReader(int texCoordChannel);
    Path shader(std::string_view wantedName, std::string_view id);

    LayerBuilder& build_;
    Path material_;
    SiblingNames& names_;
    std::map<int, Path> readers_;
    std::set<Path> outputs_;
};

} // namespace usd::writer
