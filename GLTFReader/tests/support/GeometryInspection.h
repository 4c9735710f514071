#pragma once

// What a loaded geometry holds, in forms a test can compare whole.

#include <SceneGraph/Geometry.h>
#include <cstdint>
#include <vector>

namespace gltf::testing {

inline std::vector<std::uint64_t> indicesOf(const scene::GeometryElement& element) {
    std::vector<std::uint64_t> indices;
    for (std::size_t position = 0; position < element.indexCount(); ++position) {
        indices.push_back(element.index(position));
    }
    return indices;
}

inline std::vector<scene::GeometrySemantic> semanticsOf(const scene::Geometry& geometry) {
    std::vector<scene::GeometrySemantic> semantics;
    for (const auto& source : geometry.sources()) {
        semantics.push_back(source->semantic());
    }
    return semantics;
}

} // namespace gltf::testing
