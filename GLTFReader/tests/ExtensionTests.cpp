#include "extensions/GLTFKHRMaterialsCommon.h"
#include "extensions/GLTFKHRMaterialsPbrSpecularGlossiness.h"
#include "support/GLTFTestDocument.h"
#include "support/ThrownBy.h"
#include "vrm/GLTFVRM.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <gtest/gtest.h>

using gltf::DecodingError;
using gltf::testing::GLTFTestDocument;
using gltf::testing::thrownBy;

using MaterialsCommonExtension = GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension;
using SpecularGlossinessExtension =
    GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossinessExtension;

namespace {

GLTFGlTF decode(std::string_view members, const GLTFExtensionRegistry& callerRegistry = {}) {
    return GLTFUnarchiver(GLTFTestDocument(members).gltf(), callerRegistry).json();
}

template <class Extension>
const Extension& extensionOf(const std::optional<GLTFExtension>& container,
                             const std::string& name) {
    return dynamic_cast<const Extension&>(*container->extensions.at(name));
}

// A caller's extension that records every post-load hook call it receives.
struct RecordingExtension : GLTFExtensionValue {
    std::optional<std::string> data;
    std::shared_ptr<std::vector<std::string>> calls = std::make_shared<std::vector<std::string>>();

    static RecordingExtension decode(const gltf::JsonObject& extensions) {
        RecordingExtension result;
        result.data = extensions.optional<std::string>("EXT_recording");
        return result;
    }

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver&) const override {
        if (const auto* text = std::any_cast<std::string>(&object)) {
            calls->push_back(*text);
        }
    }
};

const GLTFExtensionRegistry recordingRegistry{
    {"EXT_recording", GLTFExtensionType::of<RecordingExtension>()}};

} // namespace

TEST(Extensions, AnExtensionsObjectHoldsOneRecordPerRegisteredName) {
    const GLTFGlTF document = decode(R"("materials": [{"extensions": {"EXT_other": 5}}],
                                        "nodes": [{}])");
    const std::optional<GLTFExtension>& container = document.materials->at(0).extensions;
    ASSERT_TRUE(container);
    ASSERT_EQ(container->extensions.size(), gltf::builtInExtensionRegistry().size());
    EXPECT_FALSE(extensionOf<MaterialsCommonExtension>(container, "KHR_materials_common").data);
    EXPECT_FALSE(
        extensionOf<SpecularGlossinessExtension>(container, "KHR_materials_pbrSpecularGlossiness")
            .data);
    EXPECT_FALSE(extensionOf<GLTFVRM_GLTFVRMExtension>(container, "VRM").data);
    EXPECT_FALSE(document.nodes->at(0).extensions);
}

TEST(Extensions, ARegisteredMemberOfTheWrongShapeRefusesTheDocument) {
    const DecodingError error = thrownBy<DecodingError>([] {
        decode(
            R"("materials": [{"extensions": {"KHR_materials_common": {"technique": "PHONG"}}}])");
    });
    EXPECT_EQ(error.kind(), DecodingError::Kind::keyNotFound);
    EXPECT_EQ(error.codingPath(), "materials[0].extensions.KHR_materials_common.values");

    for (const char* container : {R"("extensions": [])", R"("extras": 3)"}) {
        EXPECT_EQ(thrownBy<DecodingError>([&] {
                      decode(std::string(R"("meshes": [{"primitives": [], )") + container + "}]");
                  }).kind(),
                  DecodingError::Kind::typeMismatch)
            << container;
    }
    EXPECT_EQ(
        thrownBy<DecodingError>([] { decode(R"("extras": {"targetNames": [1]})"); }).codingPath(),
        "extras.targetNames[0]");
}

TEST(Extensions, ExtrasCarryTargetNames) {
    const GLTFGlTF document =
        decode(R"("meshes": [{"primitives": [], "extras": {"targetNames": ["smile", "blink"]}},
                             {"primitives": [], "extras": {"other": 1}}])");
    EXPECT_EQ(document.meshes->at(0).extras->extensions.at("TargetNames").targetNames,
              (std::vector<std::string>{"smile", "blink"}));
    EXPECT_FALSE(document.meshes->at(1).extras->extensions.at("TargetNames").targetNames);
}

TEST(Extensions, MaterialsCommonReadsTheSpecularColourFromItsOwnKey) {
    const GLTFGlTF document = decode(R"("materials": [{"extensions": {"KHR_materials_common": {
        "technique": "PHONG", "transparent": true, "name": "phong",
        "values": {"diffuse": [1, 0, 0, 1], "specuar": [0, 1, 0, 1], "specular": [0, 0, 1, 1],
                   "shininess": [8]}}}}])");
    const auto& common = *extensionOf<MaterialsCommonExtension>(
                              document.materials->at(0).extensions, "KHR_materials_common")
                              .data;
    EXPECT_EQ(common.technique, "PHONG");
    EXPECT_EQ(common._transparent, true);
    EXPECT_EQ(common.values._specular, (std::vector<float>{0, 1, 0, 1}));
    EXPECT_EQ(common.values._shininess, (std::vector<float>{8}));
    EXPECT_FALSE(common.values._ambient);
}

TEST(Extensions, SpecularGlossinessKeepsItsTextureReferences) {
    const GLTFGlTF document =
        decode(R"("materials": [{"extensions": {"KHR_materials_pbrSpecularGlossiness": {
        "glossinessFactor": 0.25, "specularGlossinessTexture": {"index": 3, "texCoord": 1}}}}])");
    const auto& payload =
        *extensionOf<SpecularGlossinessExtension>(document.materials->at(0).extensions,
                                                  "KHR_materials_pbrSpecularGlossiness")
             .data;
    EXPECT_EQ(payload._glossinessFactor, 0.25f);
    EXPECT_EQ(payload.specularGlossinessTexture->index, 3);
    EXPECT_FALSE(payload.diffuseTexture);
    EXPECT_FALSE(payload._diffuseFactor);
}

TEST(Extensions, ACallerRegistryAddsNamesEverywhereAndReplacesBuiltInOnes) {
    const GLTFExtensionRegistry callerRegistry{
        {"EXT_recording", GLTFExtensionType::of<RecordingExtension>()},
        {"VRM", GLTFExtensionType::of<RecordingExtension>()},
    };
    const GLTFGlTF document =
        decode(R"("nodes": [{"extensions": {"EXT_recording": "hello"}}, {"extensions": {}}])",
               callerRegistry);
    const auto& first = document.nodes->at(0).extensions;
    ASSERT_EQ(first->extensions.size(), gltf::builtInExtensionRegistry().size() + 1);
    EXPECT_EQ(extensionOf<RecordingExtension>(first, "EXT_recording").data, "hello");
    EXPECT_NO_THROW(extensionOf<RecordingExtension>(first, "VRM"));
    EXPECT_FALSE(
        extensionOf<RecordingExtension>(document.nodes->at(1).extensions, "EXT_recording").data);
}

TEST(Extensions, PostLoadHooksReachEveryExtensionOfTheRecord) {
    GLTFUnarchiver unarchiver(GLTFTestDocument(R"("nodes": [{"extensions": {}}, {}])").gltf(),
                              recordingRegistry);
    const GLTFNode& withExtensions = unarchiver.json().nodes->at(0);
    const GLTFNode& without = unarchiver.json().nodes->at(1);

    gltf::onLoaded(withExtensions, GLTFLoadedObject(std::string("node 0")), unarchiver);
    gltf::onLoaded(without, GLTFLoadedObject(std::string("node 1")), unarchiver);
    // Built-in extensions meet an object they do not handle and leave it alone.
    gltf::onLoaded(withExtensions, GLTFLoadedObject(42), unarchiver);

    const auto& recording =
        extensionOf<RecordingExtension>(withExtensions.extensions, "EXT_recording");
    EXPECT_EQ(*recording.calls, (std::vector<std::string>{"node 0"}));
}
