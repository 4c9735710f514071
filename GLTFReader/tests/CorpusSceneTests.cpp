#include "CorpusFiles.h"
#include "support/CorpusExpectations.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <gtest/gtest.h>
#include <map>
#include <string>

using brightfold::testing::corpus;
using brightfold::testing::corpusMissing;
using gltf::testing::CapturedConsoleLines;
using gltf::testing::failureOf;

namespace {

std::shared_ptr<scene::Scene> sceneOf(const std::string& path) {
    const CapturedConsoleLines quiet;
    return GLTFSceneSource(corpus / path).sceneWithOptions();
}

// Documents whose scene the reader refuses, besides those it refuses at once (see
// refusedCorpusDocuments), with the failure each must report. The application converts them
// with its importer instead.
const std::map<std::string, std::string> refusedScenes = {};

std::string expectedFailure(const std::string& path) {
    for (const auto* refusals : {&refusedScenes, &gltf::testing::refusedCorpusDocuments()}) {
        if (const auto refusal = refusals->find(path); refusal != refusals->end()) {
            return refusal->second;
        }
    }
    return "";
}

// What the reader built, counted the way the manifest counts the document.
struct SceneFacts {
    std::size_t nodes = 0;
    std::size_t vertices = 0;
    std::size_t cameras = 0;
    std::size_t skinners = 0;
    std::size_t morphTargets = 0;
    std::size_t animations = 0;
};

// The node that holds a glTF node's mesh: its first child, when it has a mesh.
bool isMeshNode(const scene::Node& node) {
    const std::shared_ptr<scene::Node> parent = node.parentNode();
    return parent && parent->value("weightPaths") && parent->childNodes().front().get() == &node;
}

// Mesh nodes and their primitive nodes are the reader's own; every other node below the root
// stands for a glTF node.
SceneFacts factsOf(const scene::Scene& scene) {
    SceneFacts facts;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (const auto& geometry = node.geometry()) {
            facts.vertices += geometry->firstSource(scene::GeometrySemantic::vertex)->vectorCount();
            facts.skinners += node.skinner() ? 1 : 0;
            facts.morphTargets += node.morpher() ? node.morpher()->targets().size() : 0;
        } else if (node.parentNode() && !isMeshNode(node)) {
            ++facts.nodes;
        }
        facts.cameras += node.camera() ? 1 : 0;
        facts.animations += node.animations().size();
    });
    return facts;
}

} // namespace

TEST(CorpusScenes, EveryDocumentLoadsOrIsRefusedForItsReason) {
    if (corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    for (const std::string& path : brightfold::testing::corpusDocumentPaths()) {
        EXPECT_EQ(failureOf([&path = path] { sceneOf(path); }), expectedFailure(path)) << path;
    }
}

TEST(CorpusScenes, BuiltScenesMatchTheFactsOfTheManifest) {
    if (corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    const std::pair<const char*, SceneFacts> models[] = {
        {"gltf/BoxTextured/BoxTextured.gltf", {.nodes = 2, .vertices = 24}},
        {"gltf/Cameras/Cameras.gltf", {.nodes = 3, .vertices = 4, .cameras = 2}},
        {"gltf/AnimatedMorphCube/AnimatedMorphCube.gltf",
         {.nodes = 1, .vertices = 24, .morphTargets = 2, .animations = 1}},
        // Its three weight channels drive one node, each registered once.
        {"gltf/MorphStressTest/MorphStressTest.gltf",
         {.nodes = 1, .vertices = 1528, .morphTargets = 16, .animations = 3}},
        {"gltf/blender-03_skinned_cylinder/03_skinned_cylinder.gltf",
         {.nodes = 8, .vertices = 750, .skinners = 1, .animations = 12}},
        {"gltf/SimpleSparseAccessor-Embedded/SimpleSparseAccessor.gltf",
         {.nodes = 1, .vertices = 14}},
    };
    for (const auto& [path, expected] : models) {
        const SceneFacts facts = factsOf(*sceneOf(path));
        EXPECT_EQ(facts.nodes, expected.nodes) << path;
        EXPECT_EQ(facts.vertices, expected.vertices) << path;
        EXPECT_EQ(facts.cameras, expected.cameras) << path;
        EXPECT_EQ(facts.skinners, expected.skinners) << path;
        EXPECT_EQ(facts.morphTargets, expected.morphTargets) << path;
        EXPECT_EQ(facts.animations, expected.animations) << path;
    }
}

TEST(CorpusScenes, BrokenDataIsRefusedWhenTheSceneIsBuilt) {
    if (corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    const std::pair<const char*, std::string> brokenFiles[] = {
        {"malformed/short_buffer/AnimatedMorphCube.gltf",
         "DataInconsistent: loadBuffer: buffer.count < byteLength: 1000 < 4284"},
        {"malformed/accessor_count_out_of_range/Cameras.gltf",
         "DataInconsistent: loadVertexAccessor: the accessor 1 reads beyond its data: 4000 "
         "elements of 12 bytes, 12 bytes apart from byte 0, in 48 bytes"},
        {"malformed/image_base64_with_newline/BoxTextured.gltf",
         "loadImage: cannot convert the base64 string to Data"},
    };
    for (const auto& [path, failure] : brokenFiles) {
        EXPECT_EQ(failureOf([&path = path] { sceneOf(path); }), failure) << path;
    }
}
