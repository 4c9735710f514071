#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <GLTFReader/GLTFTexture.h>
#include <SceneGraph/Bytes.h>
#include <cstdint>
#include <optional>

namespace gltf::extensions {

struct WebpSource {
    std::int64_t source;

    static WebpSource decode(const gltf::JsonObject& json);
};

struct EXTTextureWebp : GLTFExtensionValue {
    static constexpr const char* extensionName = "EXT_texture_webp";

    std::optional<WebpSource> data;

    static EXTTextureWebp decode(const gltf::JsonObject& extensions);
};

// The image a texture shows: its WebP image when it has one, else its core source.
std::optional<std::int64_t> textureSource(const GLTFTexture& texture);

// Image bytes a package can hold: WebP images are decoded and encoded again as PNG (a package
// holds only PNG and JPEG); other bytes pass unchanged. WebP data that does not decode, and
// KTX2 images (compressed GPU textures nothing here can decode), are refused naming the image.
scene::Bytes packageableImageBytes(scene::Bytes encoded, std::int64_t imageIndex);

} // namespace gltf::extensions
