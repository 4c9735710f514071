#pragma once

// Base64 data URIs, shared by buffers and images: `dataUriPayload` tells whether a uri is one
// and returns its payload; `decodeBase64` decodes that payload strictly.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace gltf {

// The text after the last ";base64," when `uri` begins with "data:" (case-sensitive) and
// contains ";base64,"; nothing otherwise, in which case the uri names a file. The media type
// is not looked at.
std::optional<std::string_view> dataUriPayload(std::string_view uri);

// Standard padded Base64. Any character outside the alphabet (line breaks and spaces
// included), a length that is not a multiple of 4, or misplaced padding gives nothing.
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text);

} // namespace gltf
