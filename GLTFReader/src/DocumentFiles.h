#pragma once

#include <GLTFReader/ByteSlice.h>
#include <filesystem>
#include <optional>
#include <string_view>

namespace gltf {

// The whole file that a document names by a uri that is not a data URI: a relative path, which
// lies below `directoryPath`, or below the current directory when the document came without
// one. Absolute paths and URIs of any scheme are refused. The uri is first taken as written, so a
// name holding
// "%20" finds that file; only when no such file exists is it percent-decoded, as writers
// encode spaces and other characters in uris. Devices, pipes and directories are refused
// rather than read (a device could be read for ever). Failures throw gltf::FileError.
ByteBlock readReferencedFile(const std::optional<std::filesystem::path>& directoryPath,
                             std::string_view uri);

} // namespace gltf
