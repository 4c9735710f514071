#include "support/GLTFTestDocument.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using gltf::testing::failureOf;
using gltf::testing::TestBytes;
using gltf::testing::unarchiverOf;
using testing::ElementsAre;

namespace {

// Three vertices with joints and weights, then three inverse bind matrices whose translations
// are (1, 2, 3), (2, 4, 6) and (3, 6, 9).
TestBytes skinBytes() {
    TestBytes bytes;
    bytes.floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
    bytes.append<std::uint8_t>({0, 1, 0, 0, 1, 2, 0, 0, 2, 0, 0, 0});
    bytes.floats({1, 0, 0, 0, 0.5f, 0.5f, 0, 0, 1, 0, 0, 0});
    for (float bone = 1; bone <= 3; ++bone) {
        bytes.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, bone, 2 * bone, 3 * bone, 1});
    }
    return bytes;
}

// Accessors: 0 positions, 1 JOINTS_0, 2 WEIGHTS_0, 3 three matrices, 4 two matrices without
// data, 5 a MAT3, 6 MAT4 of shorts, 7 and 8 two matrices 80 bytes apart in 144 and 160 bytes.
// Nodes: 0 skinned, 1-3 joints, 4 skeleton, 5 joints without weights, 6 neither.
GLTFUnarchiver skinnedUnarchiver(const std::string& skins = R"([
        {"joints": [1, 2, 3], "inverseBindMatrices": 3, "skeleton": 4},
        {"joints": [1]}, {"joints": [1, 2, 3], "inverseBindMatrices": 4}])") {
    return unarchiverOf(skinBytes(), R"(
        "bufferViews": [{"buffer": 0, "byteLength": 36}, {"buffer": 0, "byteOffset": 36,
                         "byteLength": 12}, {"buffer": 0, "byteOffset": 48, "byteLength": 48},
                        {"buffer": 0, "byteOffset": 96, "byteLength": 192},
                        {"buffer": 0, "byteOffset": 96, "byteLength": 144, "byteStride": 80},
                        {"buffer": 0, "byteOffset": 96, "byteLength": 160, "byteStride": 80}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3"},
                      {"bufferView": 1, "componentType": 5121, "count": 3, "type": "VEC4"},
                      {"bufferView": 2, "componentType": 5126, "count": 3, "type": "VEC4"},
                      {"bufferView": 3, "componentType": 5126, "count": 3, "type": "MAT4"},
                      {"componentType": 5126, "count": 2, "type": "MAT4"},
                      {"bufferView": 3, "componentType": 5126, "count": 1, "type": "MAT3"},
                      {"bufferView": 3, "componentType": 5123, "count": 1, "type": "MAT4"},
                      {"bufferView": 4, "componentType": 5126, "count": 2, "type": "MAT4"},
                      {"bufferView": 5, "componentType": 5126, "count": 2, "type": "MAT4"}],
        "meshes": [{"primitives": [
                       {"attributes": {"POSITION": 0, "JOINTS_0": 1, "WEIGHTS_0": 2}},
                       {"attributes": {"POSITION": 0, "JOINTS_0": 1, "WEIGHTS_0": 2}}]},
                   {"primitives": [{"attributes": {"POSITION": 0, "JOINTS_0": 1}}]},
                   {"primitives": [{"attributes": {"POSITION": 0}}]}],
        "nodes": [{"mesh": 0, "skin": 0}, {"name": "j1"}, {"name": "j2"}, {"name": "j3"},
                  {"name": "skeleton"}, {"mesh": 1, "skin": 1}, {"mesh": 2, "skin": 1},
                  {"skin": 0}],
        "skins": )" + skins);
}

std::vector<std::string> boneNames(const scene::Skinner& skinner) {
    std::vector<std::string> names;
    for (const auto& bone : skinner.bones()) {
        names.push_back(bone->name());
    }
    return names;
}

} // namespace

TEST(Skins, BindEveryPrimitiveToTheJointsInOrder) {
    GLTFUnarchiver unarchiver = skinnedUnarchiver();
    const auto meshNode = unarchiver.loadNode(0)->childNodes().at(0);
    for (const auto& primitive : meshNode->childNodes()) {
        const auto& skinner = primitive->skinner();
        ASSERT_NE(skinner, nullptr);
        EXPECT_THAT(boneNames(*skinner), ElementsAre("j1", "j2", "j3"));
        EXPECT_EQ(skinner->skeleton(), primitive);
        EXPECT_EQ(skinner->baseGeometry(), primitive->geometry());
        EXPECT_EQ(skinner->boneIndices()->semantic(), scene::GeometrySemantic::boneIndices);
        EXPECT_EQ(skinner->boneWeights()->semantic(), scene::GeometrySemantic::boneWeights);
        ASSERT_TRUE(skinner->boneInverseBindTransforms());
        const auto& matrices = *skinner->boneInverseBindTransforms();
        ASSERT_EQ(matrices.size(), 3u);
        EXPECT_EQ(matrices[1][3], glm::dvec4(2, 4, 6, 1));
    }
    EXPECT_EQ(unarchiver.loadNode(4)->parentNode(), nullptr);

    // Every call binds anew and returns the skinner of the last primitive.
    const auto skinner = unarchiver.loadSkin(0, meshNode);
    EXPECT_EQ(meshNode->childNodes()[1]->skinner(), skinner);
    EXPECT_EQ(failureOf([&] { unarchiver.loadSkin(3, meshNode); }),
              "DataInconsistent: loadSkin: out of index: 3 < 3");
}

TEST(Skins, WithoutInverseBindMatricesPassNone) {
    GLTFUnarchiver unarchiver = skinnedUnarchiver();
    const auto meshNode = unarchiver.loadMesh(0);
    EXPECT_FALSE(unarchiver.loadSkin(1, meshNode)->boneInverseBindTransforms());
    // A skin on a node without mesh binds nothing and is no fault.
    EXPECT_EQ(failureOf([&] { unarchiver.loadNode(7); }), "");
}

TEST(Skins, RefuseGeometryTheyCannotBind) {
    GLTFUnarchiver unarchiver = skinnedUnarchiver();
    EXPECT_EQ(failureOf([&] { unarchiver.loadNode(5); }),
              "DataInconsistent: loadSkin: WEIGHTS_0 is not defined");
    EXPECT_EQ(failureOf([&] { unarchiver.loadNode(6); }),
              "DataInconsistent: loadSkin: JOINTS_0 is not defined");
    EXPECT_EQ(failureOf([&] { unarchiver.loadSkin(2, unarchiver.loadMesh(0)); }),
              "DataInconsistent: loadSkin: inverseBindMatrices has 2 matrices for 3 joints");
    EXPECT_EQ(failureOf([&] { unarchiver.loadSkin(0, scene::Node::create()); }),
              "DataInconsistent: loadSkin: skinner is not defined");
}

TEST(InverseBindMatrices, AreFloatMat4ElementsWithinTheirView) {
    GLTFUnarchiver unarchiver = skinnedUnarchiver();
    EXPECT_THAT(unarchiver.loadInverseBindMatrices(4),
                ElementsAre(scene::Matrix4(1.0), scene::Matrix4(1.0)));
    const std::vector<scene::Matrix4> strided = unarchiver.loadInverseBindMatrices(8);
    ASSERT_EQ(strided.size(), 2u);
    EXPECT_EQ(strided[0][3], glm::dvec4(1, 2, 3, 1));

    EXPECT_EQ(failureOf([&] { unarchiver.loadInverseBindMatrices(5); }),
              "DataInconsistent: loadInverseBindMatrices: type must be MAT4: MAT3");
    EXPECT_EQ(failureOf([&] { unarchiver.loadInverseBindMatrices(6); }),
              "NotSupported: loadInverseBindMatrices: componentType 5123 is not supported for "
              "matrices");
    EXPECT_EQ(failureOf([&] { unarchiver.loadInverseBindMatrices(7); }),
              "DataInconsistent: iterateBufferView: offset (0) + byteStride (80) * count (2) "
              "shoule be equal or less than byteLength (144))");
    unarchiver.loadVertexAccessor(0, scene::GeometrySemantic::vertex);
    EXPECT_EQ(failureOf([&] { unarchiver.loadInverseBindMatrices(0); }),
              "DataInconsistent: loadInverseBindMatrices: the accessor 0 is not [SCNMatrix4]");
    EXPECT_EQ(failureOf([&] { unarchiver.loadInverseBindMatrices(-2); }),
              "DataInconsistent: loadInverseBindMatrices: out of index: -2 < 9");
}
