#pragma once

#include <stdexcept>
#include <string>

namespace gltf {

// The JSON decoder's own failure. It names the place in the document where decoding stopped,
// as a coding path such as "meshes[2].primitives[0].attributes", so a broken file can be
// repaired without guessing.
class DecodingError : public std::runtime_error {
  public:
    enum class Kind { keyNotFound, typeMismatch, valueNotFound, dataCorrupted };

    DecodingError(Kind kind, std::string codingPath, const std::string& detail);

    Kind kind() const { return kind_; }
    const std::string& codingPath() const { return codingPath_; }

  private:
    Kind kind_;
    std::string codingPath_;
};

const char* kindName(DecodingError::Kind kind);

} // namespace gltf
