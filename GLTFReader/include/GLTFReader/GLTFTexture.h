#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <cstdint>
#include <optional>
#include <string>

struct GLTFImage {
    std::optional<std::string> uri;
    std::optional<std::string> mimeType;
    std::optional<std::int64_t> bufferView;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFImage decode(const gltf::JsonObject& json);
};

struct GLTFSampler {
    std::optional<std::int64_t> magFilter;
    std::optional<std::int64_t> minFilter;
    std::optional<std::int64_t> _wrapS;
    std::optional<std::int64_t> _wrapT;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFSampler decode(const gltf::JsonObject& json);
};

struct GLTFTexture {
    std::optional<std::int64_t> sampler;
    std::optional<std::int64_t> source;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFTexture decode(const gltf::JsonObject& json);
};

// A reference from a material slot to a texture and the texture-coordinate set it uses.
struct GLTFTextureInfo {
    std::int64_t index;
    std::optional<std::int64_t> _texCoord;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFTextureInfo decode(const gltf::JsonObject& json);
};
