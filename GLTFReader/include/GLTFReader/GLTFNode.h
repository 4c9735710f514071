#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GLTFNode {
    std::optional<std::int64_t> camera;
    std::optional<std::vector<std::int64_t>> children;
    std::optional<std::int64_t> skin;
    std::optional<std::vector<float>> _matrix;
    std::optional<std::int64_t> mesh;
    std::optional<std::vector<float>> _rotation;
    std::optional<std::vector<float>> _scale;
    std::optional<std::vector<float>> _translation;
    std::optional<std::vector<float>> weights;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFNode decode(const gltf::JsonObject& json);
};

struct GLTFScene {
    std::optional<std::vector<std::int64_t>> nodes;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFScene decode(const gltf::JsonObject& json);
};

struct GLTFSkin {
    std::optional<std::int64_t> inverseBindMatrices;
    std::optional<std::int64_t> skeleton;
    std::vector<std::int64_t> joints;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFSkin decode(const gltf::JsonObject& json);
};
