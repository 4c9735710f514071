#pragma once

// A real image for texture tests, and documents that use it.

#include "Base64.h"
#include "TestUnarchiver.h"

#include <string>
#include <string_view>
#include <vector>

namespace gltf::testing {

// One opaque green pixel, as a PNG file.
inline std::vector<std::uint8_t> onePixelPng() {
    return *decodeBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR4nGP4z8DwHwAFAAH/"
                         "iZk9HQAAAABJRU5ErkJggg==");
}

inline TestBytes onePixelPngBytes() {
    TestBytes bytes;
    bytes.appendBytes(onePixelPng());
    return bytes;
}

// A document with the pixel as image 0, embedded as a data URI, the given textures (by default
// one texture of the image without sampler) and further members.
inline GLTFUnarchiver unarchiverWithImage(std::string_view members,
                                          std::string_view textures = R"([{"source": 0}])",
                                          const GLTFExtensionRegistry& callerRegistry = {}) {
    std::string document = R"("images": [{"uri": ")" + dataUri(onePixelPng(), "image/png") +
                           R"("}], "textures": )" + std::string(textures);
    if (!members.empty()) {
        document += ", " + std::string(members);
    }
    return unarchiverOf(document, callerRegistry);
}

} // namespace gltf::testing
