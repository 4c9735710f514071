#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <cstdint>
#include <optional>
#include <string>

struct GLTFBuffer {
    // Absent: the buffer is the binary chunk of a GLB file.
    std::optional<std::string> uri;
    std::int64_t byteLength;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFBuffer decode(const gltf::JsonObject& json);
};

struct GLTFBufferView {
    std::int64_t buffer;
    std::optional<std::int64_t> _byteOffset;
    std::int64_t byteLength;
    std::optional<std::int64_t> byteStride;
    std::optional<std::int64_t> target;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFBufferView decode(const gltf::JsonObject& json);
};
