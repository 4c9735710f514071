#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GLTFAccessorSparseIndices {
    std::int64_t bufferView;
    std::optional<std::int64_t> _byteOffset;
    std::int64_t componentType;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAccessorSparseIndices decode(const gltf::JsonObject& json);
};

struct GLTFAccessorSparseValues {
    std::int64_t bufferView;
    std::optional<std::int64_t> _byteOffset;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAccessorSparseValues decode(const gltf::JsonObject& json);
};

// Decoded so that malformed sparse data is refused, but never applied to the loaded values.
struct GLTFAccessorSparse {
    std::int64_t count;
    GLTFAccessorSparseIndices indices;
    GLTFAccessorSparseValues values;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAccessorSparse decode(const gltf::JsonObject& json);
};

struct GLTFAccessor {
    // Absent: the accessor reads as zeros.
    std::optional<std::int64_t> bufferView;
    std::optional<std::int64_t> _byteOffset;
    std::int64_t componentType;
    std::optional<bool> _normalized;
    std::int64_t count;
    std::string type;
    std::optional<std::vector<float>> max;
    std::optional<std::vector<float>> min;
    std::optional<GLTFAccessorSparse> sparse;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAccessor decode(const gltf::JsonObject& json);
};
