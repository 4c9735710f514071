#include "support/GLTFTestDocument.h"
#include "support/ThrownBy.h"
#include "vrm/GLTFVRM.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <gtest/gtest.h>

using gltf::DecodingError;
using gltf::testing::GLTFTestDocument;
using gltf::testing::thrownBy;

namespace {

constexpr const char* degreeMap = R"({"curve": [0, 0, 0, 1], "xRange": 90, "yRange": 10})";

// A complete "VRM" member whose meta and first bone group can be replaced.
std::string vrmDocument(std::string_view meta = R"({"title": "Avatar", "texture": 0,
                            "violentUssageName": "Disallow"})",
                        std::string_view boneGroup = R"({"stiffiness": 1, "gravityPower": 0,
                            "gravityDir": {"x": 0, "y": -1, "z": 0}, "dragForce": 0.4,
                            "center": -1, "hitRadius": 0.02, "bones": [3],
                            "colliderGroups": [0]})") {
    return std::string(R"("extensions": {"VRM": {"exportVersion": "1.0", "meta": )") +
           std::string(meta) + R"(,
        "humanoid": {"humanBones": [{"bone": "hips", "node": 1, "useDefaultValues": true}],
            "armStretch": 0.05, "legStretch": 0.05, "upperArmTwist": 0.5, "lowerArmTwist": 0.5,
            "upperLegTwist": 0.5, "lowerLegTwist": 0.5, "feetSpacing": 0,
            "hasTranslationDoF": false},
        "firstPerson": {"firstPersonBone": 2, "firstPersonBoneOffset": {"x": 0, "y": 0.06, "z": 0},
            "meshAnnotations": [{"mesh": 0, "firstPersonFlag": "Auto"}], "lookAtTypeName": "Bone",
            "lookAtHorizontalInner": )" +
           degreeMap + R"(, "lookAtHorizontalOuter": )" + degreeMap +
           R"(, "lookAtVerticalDown": )" + degreeMap + R"(, "lookAtVerticalUp": )" + degreeMap +
           R"(},
        "blendShapeMaster": {"blendShapeGroups": [{"name": "Joy", "presetName": "joy",
            "binds": [{"mesh": 0, "index": 2, "weight": 100}],
            "materialValues": [{"materialName": "m", "targetValue": [1]}, 3, "text", null]}]},
        "secondaryAnimation": {"boneGroups": [)" +
           std::string(boneGroup) + R"(],
            "colliderGroups": [{"node": 2, "colliders": [{"offset": {"x": 0, "y": 0, "z": 0},
                                                          "radius": 0.1}]}]},
        "materialProperties": [{"name": "skin", "shader": "VRM/MToon", "renderQueue": 2000,
            "floatProperties": {"_Cutoff": 0.5}, "vectorProperties": {"_Color": [1, 1, 1, 1]},
            "textureProperties": {"_MainTex": 0}, "keywordMap": {"_ALPHATEST_ON": true},
            "tagMap": {"RenderType": "Opaque"}}]}})";
}

const GLTFVRM_GLTFVRMExtension& vrmExtensionOf(const GLTFGlTF& document) {
    return dynamic_cast<const GLTFVRM_GLTFVRMExtension&>(
        *document.extensions->extensions.at("VRM"));
}

GLTFGlTF decode(const std::string& members) {
    return GLTFUnarchiver(GLTFTestDocument(members).gltf()).json();
}

} // namespace

TEST(VRMDecoding, ACompleteAvatarDecodesIntoItsRecords) {
    const GLTFGlTF document = decode(vrmDocument());
    const GLTFVRM_VRM& vrm = *vrmExtensionOf(document).data;
    EXPECT_EQ(vrm.meta.title, "Avatar");
    EXPECT_EQ(vrm.meta.violentUssageName, "Disallow");
    EXPECT_EQ(vrm.meta.texture, 0);
    EXPECT_EQ(vrm.humanoid.humanBones.at(0).bone, "hips");
    EXPECT_EQ(vrm.humanoid.humanBones.at(0).node, 1);
    EXPECT_EQ(vrm.firstPerson.lookAtVerticalUp.xRange, 90.0f);
    EXPECT_EQ(vrm.blendShapeMaster.blendShapeGroups.at(0).binds.at(0).index, 2);
    EXPECT_EQ(vrm.blendShapeMaster.blendShapeGroups.at(0).materialValues.size(), 4u);
    const GLTFVRM_GLTFVRMBoneGroup& boneGroup = vrm.secondaryAnimation.boneGroups.at(0);
    EXPECT_EQ(boneGroup.center, -1.0f);
    EXPECT_EQ(boneGroup.gravityDir.y, -1.0f);
    EXPECT_EQ(boneGroup.bones, (std::vector<std::int64_t>{3}));
    EXPECT_EQ(vrm.secondaryAnimation.colliderGroups.at(0).colliders.at(0).radius, 0.1f);
    const GLTFVRM_GLTFVRMMaterialProperties& material = vrm.materialProperties.at(0);
    EXPECT_EQ(material.floatProperties.at("_Cutoff"), 0.5f);
    EXPECT_EQ(material.vectorProperties.at("_Color").size(), 4u);
    EXPECT_EQ(material.keywordMap.at("_ALPHATEST_ON"), true);
}

TEST(VRMDecoding, AnEmptyMetaDecodesWithEveryFieldAbsent) {
    const GLTFVRM_GLTFVRMMeta meta = vrmExtensionOf(decode(vrmDocument("{}"))).data->meta;
    EXPECT_FALSE(meta.title);
    EXPECT_FALSE(meta.texture);
    EXPECT_FALSE(meta.licenseName);
}

TEST(VRMDecoding, BoneGroupsReadTheirStiffnessUnderItsFileSpellingOnly) {
    const std::string misspelled = R"({"stiffness": 4, "gravityPower": 0,
        "gravityDir": {"x": 0, "y": -1, "z": 0}, "dragForce": 0.4, "center": 0,
        "hitRadius": 0.02, "bones": [], "colliderGroups": []})";
    const GLTFVRM_VRM vrm = *vrmExtensionOf(decode(vrmDocument("{}", misspelled))).data;
    EXPECT_EQ(vrm.secondaryAnimation.boneGroups.at(0).stiffiness, 1.0f);
}

// Exporters leave out members that have a default; each one an avatar tool is known to omit
// decodes to its default.
TEST(VRMDecoding, MembersExportersLeaveOutTakeTheirDefaults) {
    const auto without = [](std::string document, const std::string& member) {
        const std::size_t at = document.find(member);
        EXPECT_NE(at, std::string::npos) << member;
        return document.erase(at, member.size());
    };
    const GLTFVRM_VRM noRenderQueue =
        *vrmExtensionOf(decode(without(vrmDocument(), R"("renderQueue": 2000,)"))).data;
    EXPECT_EQ(noRenderQueue.materialProperties.at(0).renderQueue, -1);
    EXPECT_EQ(noRenderQueue.materialProperties.at(0).shader, "VRM/MToon");

    const GLTFVRM_VRM noFirstPersonBone =
        *vrmExtensionOf(decode(without(vrmDocument(), R"("firstPersonBone": 2,)"))).data;
    EXPECT_EQ(noFirstPersonBone.firstPerson.firstPersonBone, -1);
    EXPECT_EQ(noFirstPersonBone.firstPerson.firstPersonBoneOffset.y, 0.06f);

    const GLTFVRM_VRM noUseDefaultValues =
        *vrmExtensionOf(decode(without(vrmDocument(), R"(, "useDefaultValues": true)"))).data;
    EXPECT_TRUE(noUseDefaultValues.humanoid.humanBones.at(0).useDefaultValues);
    EXPECT_EQ(noUseDefaultValues.humanoid.humanBones.at(0).node, 1);
}

TEST(VRMDecoding, AnEmptyAvatarDecodesWithEveryDefault) {
    const GLTFVRM_VRM vrm = *vrmExtensionOf(decode(R"("extensions": {"VRM": {
        "humanoid": {"humanBones": [{}]}, "firstPerson": {"lookAtVerticalUp": {}},
        "secondaryAnimation": {"boneGroups": [{}], "colliderGroups": [{"colliders": [{}]}]},
        "blendShapeMaster": {"blendShapeGroups": [{"binds": [{}]}]},
        "materialProperties": [{}]}})"))
                                 .data;
    EXPECT_EQ(vrm.humanoid.humanBones.at(0).node, -1);
    EXPECT_EQ(vrm.humanoid.armStretch, 0.05f);
    EXPECT_EQ(vrm.humanoid.upperLegTwist, 0.5f);
    EXPECT_FALSE(vrm.humanoid.hasTranslationDoF);
    EXPECT_EQ(vrm.firstPerson.lookAtTypeName, "Bone");
    EXPECT_EQ(vrm.firstPerson.lookAtVerticalUp.xRange, 90.0f);
    EXPECT_EQ(vrm.firstPerson.lookAtVerticalUp.yRange, 10.0f);
    const GLTFVRM_GLTFVRMBoneGroup& group = vrm.secondaryAnimation.boneGroups.at(0);
    EXPECT_EQ(group.stiffiness, 1.0f);
    EXPECT_EQ(group.dragForce, 0.4f);
    EXPECT_EQ(group.gravityDir.y, -1.0f);
    EXPECT_EQ(group.center, -1.0f);
    EXPECT_EQ(group.hitRadius, 0.02f);
    EXPECT_EQ(vrm.secondaryAnimation.colliderGroups.at(0).node, -1);
    EXPECT_EQ(vrm.secondaryAnimation.colliderGroups.at(0).colliders.at(0).radius, 0.1f);
    const GLTFVRM_GLTFVRMBlendShapeGroup& blendShape = vrm.blendShapeMaster.blendShapeGroups.at(0);
    EXPECT_EQ(blendShape.presetName, "unknown");
    EXPECT_EQ(blendShape.binds.at(0).mesh, -1);
    EXPECT_EQ(vrm.materialProperties.at(0).renderQueue, -1);
    EXPECT_TRUE(vrm.materialProperties.at(0).floatProperties.empty());
}

TEST(VRMDecoding, VectorsMayBeWrittenAsArraysOfThreeNumbers) {
    const std::string arrayDirection = R"({"gravityDir": [1, 0, 0]})";
    const GLTFVRM_VRM vrm = *vrmExtensionOf(decode(vrmDocument("{}", arrayDirection))).data;
    EXPECT_EQ(vrm.secondaryAnimation.boneGroups.at(0).gravityDir.x, 1.0f);
    EXPECT_EQ(vrm.secondaryAnimation.boneGroups.at(0).gravityDir.y, 0.0f);
    const DecodingError error =
        thrownBy<DecodingError>([&] { decode(vrmDocument("{}", R"({"gravityDir": [1, 0]})")); });
    EXPECT_EQ(error.codingPath(), "extensions.VRM.secondaryAnimation.boneGroups[0].gravityDir");
}

TEST(VRMDecoding, AMemberOfTheWrongTypeIsStillRefused) {
    const DecodingError error = thrownBy<DecodingError>([] {
        decode(R"("extensions": {"VRM": {"materialProperties": [{"renderQueue": "2000"}]}})");
    });
    EXPECT_EQ(error.kind(), DecodingError::Kind::typeMismatch);
    EXPECT_EQ(error.codingPath(), "extensions.VRM.materialProperties[0].renderQueue");
}

TEST(VRMDecoding, DocumentsWithoutAnAvatarHaveNoVRMData) {
    EXPECT_FALSE(decode("").extensions);
    EXPECT_FALSE(vrmExtensionOf(decode(R"("extensions": {"VRMC_vrm": {}})")).data);
}
