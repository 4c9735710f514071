// Meshes drawn once per instance: one child node per instance, sharing the mesh's geometry.
#include "CorpusFiles.h"
#include "support/GLTFTestDocument.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <functional>
#include <gtest/gtest.h>

using gltf::testing::failureOf;
using gltf::testing::TestBytes;
using gltf::testing::unarchiverOf;

namespace {

// Two instances: translations, rotations as normalized shorts (none, then a quarter turn about
// +y) and scales.
TestBytes instanceBytes() {
    TestBytes bytes;
    bytes.floats({1, 2, 3, -4, 0, 5});
    bytes.append<std::int16_t>({0, 0, 0, 32767, 0, 23170, 0, 23170});
    bytes.floats({1, 1, 1, 2, 2, 2});
    return bytes;
}

// Accessors: 0 three zero positions, 1 translations, 2 rotations, 3 scales, 4 one scale,
// 5 rotations as plain shorts, 6 translations as 4-vectors; 7 and 8 zero joints and weights,
// for a skin. The mesh has one morph target.
GLTFUnarchiver instancedDocument(const std::string& attributes, const std::string& node = "",
                                 const std::string& members = "") {
    return unarchiverOf(instanceBytes(), R"(
        "bufferViews": [{"buffer": 0, "byteLength": 24}, {"buffer": 0, "byteOffset": 24,
                         "byteLength": 16}, {"buffer": 0, "byteOffset": 40, "byteLength": 24}],
        "accessors": [{"componentType": 5126, "count": 3, "type": "VEC3"},
            {"bufferView": 0, "componentType": 5126, "count": 2, "type": "VEC3"},
            {"bufferView": 1, "componentType": 5122, "normalized": true, "count": 2,
             "type": "VEC4"},
            {"bufferView": 2, "componentType": 5126, "count": 2, "type": "VEC3"},
            {"bufferView": 2, "componentType": 5126, "count": 1, "type": "VEC3"},
            {"bufferView": 1, "componentType": 5122, "count": 2, "type": "VEC4"},
            {"bufferView": 2, "componentType": 5126, "count": 1, "type": "VEC4"},
            {"componentType": 5121, "count": 3, "type": "VEC4"},
            {"componentType": 5126, "count": 3, "type": "VEC4"}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "JOINTS_0": 7,
                                                   "WEIGHTS_0": 8},
                                    "targets": [{"POSITION": 0}]}]}],
        "nodes": [{"name": "teapots", "mesh": 0, "translation": [10, 0, 0], "children": [1],
                   "extensions": {"EXT_mesh_gpu_instancing": {"attributes": )" +
                                             attributes + R"(}})" + node +
                                             R"(}, {"name": "lid"}])" + members);
}

glm::dvec3 worldPointOf(const scene::Node& instance, glm::dvec3 point) {
    return instance.childNodes().at(0)->convertPositionToNode(point, nullptr);
}

void expectNear(glm::dvec3 actual, glm::dvec3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4);
    EXPECT_NEAR(actual.y, expected.y, 1e-4);
    EXPECT_NEAR(actual.z, expected.z, 1e-4);
}

std::size_t meshNodesBelow(const scene::Node& node) {
    std::size_t count = node.geometry() ? 1 : 0;
    for (const auto& child : node.childNodes()) {
        count += meshNodesBelow(*child);
    }
    return count;
}

} // namespace

TEST(MeshInstancing, EachInstanceIsAChildWithItsTransformBelowTheNodesOwn) {
    GLTFUnarchiver unarchiver =
        instancedDocument(R"({"TRANSLATION": 1, "ROTATION": 2, "SCALE": 3, "_ID": 4})");
    const auto node = unarchiver.loadNode(0);
    const auto& children = node->childNodes();
    ASSERT_EQ(children.size(), 3u); // two instances, then the node's own child
    EXPECT_EQ(children[0]->name(), "instance_0");
    EXPECT_EQ(children[1]->name(), "instance_1");
    EXPECT_EQ(children[2]->name(), "lid");

    expectNear(worldPointOf(*children[0], {1, 0, 0}), {12, 2, 3});
    // Scaled twice, turned a quarter about +y (x goes to −z), moved, then by the node.
    expectNear(worldPointOf(*children[1], {1, 0, 0}), {6, 0, 3});
    expectNear(children[1]->scale(), {2, 2, 2});

    const auto geometryOf = [](const scene::Node& instance) {
        return instance.childNodes().at(0)->childNodes().at(0)->geometry();
    };
    EXPECT_EQ(geometryOf(*children[0]), geometryOf(*children[1])); // shared, not copied
    EXPECT_EQ(meshNodesBelow(*node), 2u);

    // Weight animations of the node reach the morph target of the first instance.
    EXPECT_EQ(*node->value("weightPaths"),
              scene::Value(scene::ValueArray{
                  "childNodes[0].childNodes[0].childNodes[0].morpher.weights[0]"}));
    EXPECT_EQ(unarchiver.notes(),
              std::vector<std::string>{"loadNode: animated morph weights of an instanced mesh "
                                       "move its first instance only"});
}

TEST(MeshInstancing, MissingAttributesAreTheIdentity) {
    GLTFUnarchiver unarchiver = instancedDocument(R"({"ROTATION": 2})");
    const auto node = unarchiver.loadNode(0);
    ASSERT_EQ(node->childNodes().size(), 3u);
    expectNear(worldPointOf(*node->childNodes()[0], {1, 0, 0}), {11, 0, 0});
    expectNear(worldPointOf(*node->childNodes()[1], {1, 0, 0}), {10, 0, -1});
}

TEST(MeshInstancing, AttributesItCannotUseRefuseTheNode) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"TRANSLATION": 1, "SCALE": 4})",
         "DataInconsistent: loadNode: EXT_mesh_gpu_instancing attributes have different counts: "
         "2 and SCALE 1"},
        {R"({"ROTATION": 5})", "DataInconsistent: loadNode: EXT_mesh_gpu_instancing ROTATION "
                               "must be a VEC4 accessor of floats or normalized signed bytes or "
                               "shorts"},
        {R"({"TRANSLATION": 6})", "DataInconsistent: loadNode: EXT_mesh_gpu_instancing "
                                  "TRANSLATION must be a VEC3 accessor of floats or normalized "
                                  "bytes or shorts"},
        {R"({"_ID": 1})", "DataInconsistent: loadNode: EXT_mesh_gpu_instancing names none of "
                          "TRANSLATION, ROTATION and SCALE"},
        {R"({"SCALE": 0})", "DataInconsistent: loadValueAccessor: bufferView is not defined"},
        {R"({"SCALE": 40})", "DataInconsistent: loadValueAccessor: out of index: 40 < 9"},
    };
    for (const auto& [attributes, failure] : cases) {
        EXPECT_EQ(
            failureOf([&attributes = attributes] { instancedDocument(attributes).loadNode(0); }),
            failure)
            << attributes;
    }
}

TEST(MeshInstancing, ASkinnedMeshIsShownOnceAndTheUserTold) {
    GLTFUnarchiver unarchiver = instancedDocument(R"({"TRANSLATION": 1})", R"(, "skin": 0)",
                                                  R"(, "skins": [{"joints": [1]}])");
    const auto node = unarchiver.loadNode(0);
    EXPECT_EQ(meshNodesBelow(*node), 1u);
    EXPECT_EQ(unarchiver.notes(),
              std::vector<std::string>{"loadNode: the instances (EXT_mesh_gpu_instancing) of a "
                                       "skinned mesh are left out; the mesh is shown once"});
}

TEST(MeshInstancing, TheCorpusTeapotsAllAppear) {
    if (brightfold::testing::corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << brightfold::testing::corpus;
    }
    const auto scene = GLTFSceneSource(brightfold::testing::corpus /
                                       "gltf/blender-24_gpu_instancing/24_gpu_instancing.gltf")
                           .sceneWithOptions();
    // The plane, and 958 + 941 teapots.
    EXPECT_EQ(meshNodesBelow(*scene->rootNode()), 1u + 958u + 941u);
}
