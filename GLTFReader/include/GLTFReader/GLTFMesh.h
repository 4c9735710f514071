#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct GLTFMeshPrimitive {
    std::map<std::string, std::int64_t> attributes;
    // Absent: sequential indices are generated.
    std::optional<std::int64_t> indices;
    // Absent: the default material.
    std::optional<std::int64_t> material;
    // Absent: triangles.
    std::optional<std::int64_t> _mode;
    std::optional<std::vector<std::map<std::string, std::int64_t>>> targets;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFMeshPrimitive decode(const gltf::JsonObject& json);
};

struct GLTFMesh {
    std::vector<GLTFMeshPrimitive> primitives;
    std::optional<std::vector<float>> weights;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFMesh decode(const gltf::JsonObject& json);
};
