#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace bench {

// Every file a scene load of `document` reads: a binary glTF alone, or a .gltf document with
// the buffers and images kept beside it.
std::vector<std::filesystem::path> filesReadByLoad(const std::filesystem::path& document);
std::uintmax_t totalSize(const std::vector<std::filesystem::path>& files);

// Reads the document and builds its scene the way the application does, then drops it. Throws
// what the reader throws.
void loadScene(const std::filesystem::path& document);

} // namespace bench
