#pragma once

// A small avatar document for the VRM tests: a few nodes, meshes of triangles with one morph
// target and vertex colours, two materials ("Skin" and "Hair"), and a "VRM" member whose parts
// a test replaces.

#include "GLTFTestDocument.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/Scene.h>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace gltf::testing {

struct VRMTestAvatar {
    std::string nodes = R"([{"name": "Root"}])";
    // Mesh 0 has two primitives, mesh 1 one.
    std::string meshes = R"([
        {"name": "Body", "primitives": [)" +
                         primitive(0) + ", " + primitive(1) + R"(]},
        {"name": "Face", "primitives": [)" +
                         primitive(0) + R"(]}])";
    std::string meta = R"({"title": "Avatar"})";
    std::string humanBones = "[]";
    std::string materialProperties = "[]";
    std::string blendShapeGroups = "[]";
    std::string boneGroups = "[]";
    std::string colliderGroups = "[]";

    std::string json() const {
        return R"({"asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0]}],
            "buffers": [{"byteLength": 120, "uri": ")" +
               dataUri(bufferBytes()) + R"("}],
            "bufferViews": [{"buffer": 0, "byteOffset": 0, "byteLength": 36},
                            {"buffer": 0, "byteOffset": 36, "byteLength": 36},
                            {"buffer": 0, "byteOffset": 72, "byteLength": 48}],
            "accessors": [
                {"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
                 "min": [0, 0, 0], "max": [1, 1, 0]},
                {"bufferView": 1, "componentType": 5126, "count": 3, "type": "VEC3",
                 "min": [0, 0, 0], "max": [0, 0, 1]},
                {"bufferView": 2, "componentType": 5126, "count": 3, "type": "VEC4"}],
            "materials": [{"name": "Skin"}, {"name": "Hair"}],
            "meshes": )" +
               meshes + R"(, "nodes": )" + nodes + R"(,
            "extensions": {"VRM": {"meta": )" +
               meta + R"(,
                "humanoid": {"humanBones": )" +
               humanBones + R"(, "armStretch": 0, "legStretch": 0, "upperArmTwist": 0,
                    "lowerArmTwist": 0, "upperLegTwist": 0, "lowerLegTwist": 0,
                    "feetSpacing": 0, "hasTranslationDoF": false},
                "firstPerson": {"firstPersonBone": 0,
                    "firstPersonBoneOffset": {"x": 0, "y": 0, "z": 0}, "meshAnnotations": [],
                    "lookAtTypeName": "Bone",
                    "lookAtHorizontalInner": {"xRange": 90, "yRange": 10},
                    "lookAtHorizontalOuter": {"xRange": 90, "yRange": 10},
                    "lookAtVerticalDown": {"xRange": 90, "yRange": 10},
                    "lookAtVerticalUp": {"xRange": 90, "yRange": 10}},
                "blendShapeMaster": {"blendShapeGroups": )" +
               blendShapeGroups + R"(},
                "secondaryAnimation": {"boneGroups": )" +
               boneGroups + R"(, "colliderGroups": )" + colliderGroups + R"(},
                "materialProperties": )" +
               materialProperties + "}}}";
    }

    std::shared_ptr<scene::Scene> load() const {
        return GLTFSceneSource(blockOf(json())).sceneWithOptions();
    }

    // A triangle with colours and one morph target, drawn with material `material`.
    static std::string primitive(int material) {
        return R"({"attributes": {"POSITION": 0, "COLOR_0": 2}, "targets": [{"POSITION": 1}],
                   "material": )" +
               std::to_string(material) + "}";
    }

  private:
    static std::vector<std::uint8_t> bufferBytes() {
        const float values[30] = {0, 0, 0, 1, 0, 0, 0, 1, 0,           // positions
                                  0, 0, 1, 0, 0, 1, 0, 0, 1,           // morph target
                                  1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1}; // colours
        std::vector<std::uint8_t> bytes(sizeof values);
        std::memcpy(bytes.data(), values, sizeof values);
        return bytes;
    }
};

// Whether every node's world transform holds finite numbers only.
inline bool allTransformsFinite(const scene::Node& rootNode) {
    bool finite = true;
    rootNode.enumerateHierarchy([&](const scene::Node& node) {
        const scene::Matrix4 transform = node.worldTransform();
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                finite = finite && std::isfinite(transform[column][row]);
            }
        }
    });
    return finite;
}

} // namespace gltf::testing
