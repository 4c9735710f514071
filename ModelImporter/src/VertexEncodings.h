#pragma once

#include <array>
#include <optional>
#include <simdjson.h>
#include <vector>

namespace modelimporter {

// How one vertex attribute of a glTF primitive stores its components when they are not
// 32-bit floats (glTF's normalised texture coordinates, or quantised positions and normals).
struct IntegerEncoding {
    int componentType = 0; // the glTF code: 5120 byte, 5121 unsigned byte, 5122 short, 5123 …
    bool normalized = false;
    int components = 0;
};

// The integer-stored attributes of one primitive; empty entries are floats.
struct PrimitiveEncodings {
    std::optional<IntegerEncoding> position;
    std::optional<IntegerEncoding> normal;
    std::array<std::optional<IntegerEncoding>, 8> texcoords;
};

// One entry per primitive of every mesh of a glTF document, meshes and primitives in document
// order; empty when the document has no meshes or accessors.
std::vector<PrimitiveEncodings> readPrimitiveEncodings(simdjson::dom::element document);

} // namespace modelimporter
