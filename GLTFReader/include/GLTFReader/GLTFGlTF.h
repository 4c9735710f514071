#pragma once

#include <GLTFReader/GLTFAccessor.h>
#include <GLTFReader/GLTFAnimation.h>
#include <GLTFReader/GLTFBuffer.h>
#include <GLTFReader/GLTFCamera.h>
#include <GLTFReader/GLTFExtension.h>
#include <GLTFReader/GLTFMaterial.h>
#include <GLTFReader/GLTFMesh.h>
#include <GLTFReader/GLTFNode.h>
#include <GLTFReader/GLTFTexture.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Kept as written; the version is not checked.
struct GLTFAsset {
    std::optional<std::string> copyright;
    std::optional<std::string> generator;
    std::string version;
    std::optional<std::string> minVersion;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAsset decode(const gltf::JsonObject& json);
};

// The decoded document. Records refer to each other by index into these arrays; an absent
// array makes every index into it out of range.
struct GLTFGlTF {
    std::optional<std::vector<std::string>> extensionsUsed;
    std::optional<std::vector<std::string>> extensionsRequired;
    std::optional<std::vector<GLTFAccessor>> accessors;
    std::optional<std::vector<GLTFAnimation>> animations;
    GLTFAsset asset;
    std::optional<std::vector<GLTFBuffer>> buffers;
    std::optional<std::vector<GLTFBufferView>> bufferViews;
    std::optional<std::vector<GLTFCamera>> cameras;
    std::optional<std::vector<GLTFImage>> images;
    std::optional<std::vector<GLTFMaterial>> materials;
    std::optional<std::vector<GLTFMesh>> meshes;
    std::optional<std::vector<GLTFNode>> nodes;
    std::optional<std::vector<GLTFSampler>> samplers;
    // Absent: the scene of the root nodes (see GLTFUnarchiver::loadRootNodesScene).
    std::optional<std::int64_t> scene;
    std::optional<std::vector<GLTFScene>> scenes;
    std::optional<std::vector<GLTFSkin>> skins;
    std::optional<std::vector<GLTFTexture>> textures;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFGlTF decode(const gltf::JsonObject& json);
};
