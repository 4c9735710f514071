#include "support/GLTFTestDocument.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Morpher.h>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using gltf::testing::failureOf;
using gltf::testing::GLTFTestDocument;
using gltf::testing::TestBytes;
using gltf::testing::unarchiverOf;
using testing::ElementsAre;

namespace {

std::vector<std::string> childNames(const scene::Node& node) {
    std::vector<std::string> names;
    for (const auto& child : node.childNodes()) {
        names.push_back(child->name());
    }
    return names;
}

std::shared_ptr<scene::Scene> sceneOf(const std::string& members) {
    return GLTFSceneSource(GLTFTestDocument(members).gltf()).sceneWithOptions();
}

// Three triangles' worth of positions; the mesh of the node tests has three primitives, the
// second with two morph targets.
GLTFUnarchiver unarchiverWithMesh(const std::string& nodes) {
    TestBytes bytes;
    bytes.floats({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0});
    return unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 72}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3"},
                      {"bufferView": 0, "byteOffset": 36, "componentType": 5126, "count": 3,
                       "type": "VEC3"}],
        "meshes": [{"primitives": [
            {"attributes": {"POSITION": 0, "NORMAL": 1}},
            {"attributes": {"POSITION": 0, "NORMAL": 1},
             "targets": [{"POSITION": 1}, {"POSITION": 1}]},
            {"attributes": {"POSITION": 0, "NORMAL": 1}}]},
                   {"primitives": [{"attributes": {"POSITION": 0, "NORMAL": 1}}]}],
        "nodes": )" + nodes);
}

} // namespace

TEST(SceneSource, LoadsTheDocumentScene) {
    const auto first = sceneOf(R"("scene": 0, "scenes": [{"name": "one", "nodes": [0]},
        {"name": "two"}], "nodes": [{"name": "a"}])");
    EXPECT_EQ(first->value("name")->text(), "one");
    EXPECT_THAT(childNames(*first->rootNode()), ElementsAre("a"));

    // Node 0 names a mesh that does not exist: building it would fail.
    const auto second = sceneOf(R"("scene": 1, "scenes": [{"nodes": [0]}, {"nodes": [1]}],
        "nodes": [{"mesh": 5}, {"name": "b"}])");
    EXPECT_THAT(childNames(*second->rootNode()), ElementsAre("b"));

    EXPECT_EQ(failureOf([] { sceneOf(R"("scene": 0, "nodes": [{}])"); }),
              "DataInconsistent: loadScene: out of index: 0 < 0");
    EXPECT_EQ(failureOf([] { sceneOf(R"("scene": -1, "scenes": [{}])"); }),
              "DataInconsistent: loadScene: out of index: -1 < 1");
}

TEST(SceneSource, WithoutASceneIndexTheRootNodesMakeTheScene) {
    // Node 1 is node 0's child; nodes 0, 2 and 3 are no node's child.
    const std::string nodes = R"("nodes": [{"name": "a", "children": [1]}, {"name": "b"},
        {"name": "c", "children": []}, {"name": "d"}])";
    for (const std::string& scenes :
         {std::string(), std::string(R"("scenes": [{"nodes": [3]}],)")}) {
        const auto scene = sceneOf(scenes + nodes);
        EXPECT_THAT(childNames(*scene->rootNode()), ElementsAre("a", "c", "d")) << scenes;
        EXPECT_THAT(childNames(*scene->rootNode()->childNodes()[0]), ElementsAre("b"));
    }
    EXPECT_TRUE(sceneOf("")->rootNode()->childNodes().empty());
}

TEST(SceneSource, ARootThatIsAlsoAChildStaysBelowItsParent) {
    for (const char* roots : {"[0, 1]", "[1, 0]"}) {
        const auto scene = sceneOf(R"("scene": 0, "scenes": [{"nodes": )" + std::string(roots) +
                                   R"(}], "nodes": [{"name": "parent", "translation": [1, 2, 3],
                                   "children": [1]}, {"name": "child"}])");
        EXPECT_THAT(childNames(*scene->rootNode()), ElementsAre("parent")) << roots;
        const auto parent = scene->rootNode()->childNodes()[0];
        EXPECT_THAT(childNames(*parent), ElementsAre("child")) << roots;
    }
    EXPECT_EQ(failureOf([] {
                  sceneOf(R"("scene": 0, "scenes": [{"nodes": [0, 1]}],
                      "nodes": [{"children": [2]}, {"children": [2]}, {}])");
              }),
              "DataInconsistent: loadNode: node 2 is the child of more than one node");
}

TEST(SceneSource, ALoaderFailureReachesTheCaller) {
    EXPECT_EQ(
        failureOf([] { sceneOf(R"("scene": 0, "scenes": [{"nodes": [3]}], "nodes": [{}])"); }),
        "DataInconsistent: loadNode: out of index: 3 < 1");
}

TEST(Nodes, TransformComponentsDefaultAndKeepTheirOrder) {
    GLTFUnarchiver unarchiver = unarchiverOf(R"("nodes": [{},
        {"rotation": [0, 0.7071068, 0, 0.7071068], "scale": [2, 3, 4], "translation": [5, 6, 7]},
        {"matrix": [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1]}])");
    const auto plain = unarchiver.loadNode(0);
    EXPECT_EQ(plain->orientation(), scene::Quaternion(1, 0, 0, 0));
    EXPECT_EQ(plain->scale(), glm::dvec3(1));
    EXPECT_EQ(plain->position(), glm::dvec3(0));

    const auto components = unarchiver.loadNode(1);
    const scene::Quaternion rotation = components->orientation();
    EXPECT_FLOAT_EQ(static_cast<float>(rotation.y), 0.7071068f);
    EXPECT_FLOAT_EQ(static_cast<float>(rotation.w), 0.7071068f);
    EXPECT_EQ(rotation.x, 0);
    EXPECT_EQ(components->scale(), glm::dvec3(2, 3, 4));
    EXPECT_EQ(components->position(), glm::dvec3(5, 6, 7));

    // The fourth row of the transform holds the translation.
    const scene::Matrix4 matrix = unarchiver.loadNode(2)->transform();
    EXPECT_EQ(matrix[3], glm::dvec4(1, 2, 3, 1));
}

TEST(Nodes, RefuseContradictoryOrShortTransforms) {
    const std::pair<const char*, std::string> cases[] = {
        {R"({"matrix": [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1], "scale": [1, 1, 1]})",
         "DataInconsistent: loadNode: both matrix and rotation/scale/translation are defined"},
        {R"({"rotation": [0, 0, 1]})",
         "DataInconsistent: loadNode: rotation must have at least 4 numbers: 3"},
        {R"({"translation": [1, 2]})",
         "DataInconsistent: loadNode: translation must have at least 3 numbers: 2"},
        {R"({"matrix": [1, 0, 0, 0]})",
         "DataInconsistent: loadNode: matrix must have at least 16 numbers: 4"},
    };
    for (const auto& [node, failure] : cases) {
        GLTFUnarchiver unarchiver = unarchiverOf(R"("nodes": [)" + std::string(node) + "]");
        EXPECT_EQ(failureOf([&] { unarchiver.loadNode(0); }), failure) << node;
    }
}

TEST(Nodes, AreBuiltOnceAndRefuseCycles) {
    GLTFUnarchiver shared = unarchiverOf(R"("nodes": [{"children": [2]}, {"children": [2]},
        {"name": "leaf"}])");
    const auto leaf = shared.loadNode(2);
    shared.loadNode(0);
    EXPECT_EQ(shared.loadNode(0)->childNodes().at(0), leaf);
    EXPECT_EQ(failureOf([&] { shared.loadNode(-1); }),
              "DataInconsistent: loadNode: out of index: -1 < 3");

    GLTFUnarchiver cycle = unarchiverOf(R"("nodes": [{"children": [1]}, {"children": [0]}])");
    EXPECT_EQ(failureOf([&] { cycle.loadNode(0); }),
              "DataInconsistent: loadNode: node 1 is its own descendant");
    GLTFUnarchiver itself = unarchiverOf(R"("nodes": [{"children": [0]}])");
    EXPECT_EQ(failureOf([&] { itself.loadNode(0); }),
              "DataInconsistent: loadNode: node 0 is its own descendant");
}

TEST(Nodes, HoldTheirMeshAsFirstChildAndItsMorphWeightPaths) {
    GLTFUnarchiver unarchiver =
        unarchiverWithMesh(R"([{"mesh": 0, "children": [1, 2]}, {"name": "c1"}, {"name": "c2"},
                                {"mesh": 1}, {}])");
    const auto node = unarchiver.loadNode(0);
    ASSERT_EQ(node->childNodes().size(), 3u);
    EXPECT_EQ(node->childNodes()[0]->childNodes().size(), 3u);
    EXPECT_EQ(node->childNodes()[1]->name(), "c1");
    EXPECT_EQ(*node->value("weightPaths"),
              scene::Value(scene::ValueArray{"childNodes[0].childNodes[1].morpher.weights[0]",
                                             "childNodes[0].childNodes[1].morpher.weights[1]"}));
    EXPECT_EQ(*unarchiver.loadNode(3)->value("weightPaths"), scene::Value(scene::ValueArray{}));
    EXPECT_EQ(unarchiver.loadNode(4)->value("weightPaths"), nullptr);
}

TEST(Cameras, PerspectiveAndOrthographicProjections) {
    GLTFUnarchiver unarchiver = unarchiverOf(R"("cameras": [
        {"type": "perspective", "name": "eye", "perspective": {"yfov": 1.0, "znear": 0.1}},
        {"type": "orthographic", "orthographic": {"xmag": 2, "ymag": 3, "znear": 1, "zfar": 9}},
        {"type": "perspective", "perspective": {"yfov": 0.7853982, "znear": 1, "zfar": 50,
                                                "aspectRatio": 2}}],
        "nodes": [{"camera": 0}, {"camera": 0}])");
    const auto perspective = unarchiver.loadCamera(0);
    EXPECT_EQ(perspective->name, "eye");
    EXPECT_FALSE(perspective->usesOrthographicProjection);
    EXPECT_EQ(static_cast<float>(perspective->fieldOfView), 57.295784f);
    EXPECT_FLOAT_EQ(static_cast<float>(perspective->zNear), 0.1f);
    EXPECT_TRUE(std::isinf(perspective->zFar));

    const auto orthographic = unarchiver.loadCamera(1);
    EXPECT_TRUE(orthographic->usesOrthographicProjection);
    EXPECT_EQ(orthographic->orthographicScale, 3);
    EXPECT_EQ(orthographic->zFar, 9);

    EXPECT_EQ(static_cast<float>(unarchiver.loadCamera(2)->fieldOfView), 45.000004f);
    EXPECT_EQ(unarchiver.loadNode(0)->camera(), perspective);
    EXPECT_EQ(unarchiver.loadNode(1)->camera(), perspective);
}

TEST(Cameras, RefuseUnknownTypesAndMissingProjections) {
    const std::pair<const char*, std::string> cases[] = {
        {R"({"type": "Perspective", "perspective": {"yfov": 1, "znear": 1}})",
         "NotSupported: loadCamera: type Perspective is not supported"},
        {R"({"type": "perspective"})", "DataInconsistent: loadCamera: perspective is not defined"},
        {R"({"type": "orthographic"})",
         "DataInconsistent: loadCamera: orthographic is not defined"},
    };
    for (const auto& [camera, failure] : cases) {
        GLTFUnarchiver unarchiver = unarchiverOf(R"("cameras": [)" + std::string(camera) + "]");
        EXPECT_EQ(failureOf([&] { unarchiver.loadCamera(0); }), failure) << camera;
    }
    EXPECT_EQ(failureOf([] { unarchiverOf("").loadCamera(0); }),
              "DataInconsistent: loadCamera: out of index: 0 < 0");
}
