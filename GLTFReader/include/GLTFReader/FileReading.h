#pragma once

#include <GLTFReader/ByteSlice.h>
#include <filesystem>
#include <stdexcept>

namespace gltf {

// A file that cannot be read. It passes through the reader unchanged, like the decoder's errors.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the whole file into one shared block.
ByteBlock readWholeFile(const std::filesystem::path& path);

} // namespace gltf
