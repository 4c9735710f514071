#include "EXTTextureWebp.h"

#include "ExtensionRecord.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/JsonDecoder.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <stb/stb_image_write.h>
#include <string>
#include <vector>
#include <webp/decode.h>

namespace gltf::extensions {
namespace {

bool startsWith(const scene::ByteBlock& bytes, std::size_t at, std::string_view magic) {
    return bytes.size() >= at + magic.size() &&
           std::memcmp(bytes.data() + at, magic.data(), magic.size()) == 0;
}

bool isWebp(const scene::ByteBlock& bytes) {
    return startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "WEBP");
}

bool isKtx2(const scene::ByteBlock& bytes) {
    return startsWith(bytes, 0, "\xABKTX 20\xBB\r\n\x1A\n");
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

[[noreturn]] void refuseImage(std::int64_t imageIndex, const std::string& problem) {
    throw GLTFUnarchiveError::notSupported("loadImage: image " + std::to_string(imageIndex) + " " +
                                           problem);
}

// Opaque images keep three channels, which makes the PNG smaller.
scene::Bytes webpAsPng(const scene::ByteBlock& webp, std::int64_t imageIndex) {
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(webp.data(), webp.size(), &features) != VP8_STATUS_OK) {
        refuseImage(imageIndex, "(EXT_texture_webp) is damaged WebP data");
    }
    const int channels = features.has_alpha ? 4 : 3;
    int width = 0;
    int height = 0;
    using Pixels = std::unique_ptr<std::uint8_t, decltype(&WebPFree)>;
    const Pixels pixels(channels == 4 ? WebPDecodeRGBA(webp.data(), webp.size(), &width, &height)
                                      : WebPDecodeRGB(webp.data(), webp.size(), &width, &height),
                        &WebPFree);
    if (!pixels) {
        refuseImage(imageIndex, "(EXT_texture_webp) is damaged WebP data");
    }
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(appendBytes, &png, width, height, channels, pixels.get(),
                               width * channels) == 0) {
        refuseImage(imageIndex, "(EXT_texture_webp) could not be encoded as PNG");
    }
    return scene::makeBytes(std::move(png));
}

} // namespace

WebpSource WebpSource::decode(const gltf::JsonObject& json) {
    return {.source = json.required<std::int64_t>("source")};
}

EXTTextureWebp EXTTextureWebp::decode(const gltf::JsonObject& extensions) {
    EXTTextureWebp result;
    result.data = extensions.optional<WebpSource>(extensionName);
    return result;
}

std::optional<std::int64_t> textureSource(const GLTFTexture& texture) {
    if (const WebpSource* webp = extensionData<EXTTextureWebp>(texture.extensions)) {
        return webp->source;
    }
    return texture.source;
}

scene::Bytes packageableImageBytes(scene::Bytes encoded, std::int64_t imageIndex) {
    if (!encoded) {
        return encoded;
    }
    if (isKtx2(*encoded)) {
        refuseImage(imageIndex, "is a KTX2 texture (KHR_texture_basisu), which cannot be "
                                "decoded here");
    }
    return isWebp(*encoded) ? webpAsPng(*encoded, imageIndex) : encoded;
}

} // namespace gltf::extensions
