#include "ValuePrinting.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/KeyPath.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <gtest/gtest.h>

namespace scene {
namespace {

/// A node shaped like a loaded mesh node: child 0 is the mesh node, whose second primitive
/// has a morpher with two targets; a later child is named "Face".
std::shared_ptr<Node> meshNodeWithMorpher() {
    auto node = Node::create("node");
    auto mesh = Node::create("mesh");
    node->addChildNode(mesh);
    mesh->addChildNode(Node::create());
    auto morphed = Node::create();
    auto morpher = Morpher::create();
    morpher->setTargets({Geometry::create({}), Geometry::create({})});
    morphed->setMorpher(morpher);
    mesh->addChildNode(morphed);
    auto face = Node::create("Face");
    face->addChildNode(Node::create("FaceChild"));
    node->addChildNode(face);
    return node;
}

TEST(KeyPath, ParsesKeysSubscriptsAndNameSearches) {
    const auto components = parseKeyPath("/Face.childNodes[12].morpher.weights[3]");
    ASSERT_EQ(components.size(), 4u);
    EXPECT_EQ(components[0], (KeyPathComponent{"Face", std::nullopt, true}));
    EXPECT_EQ(components[1], (KeyPathComponent{"childNodes", 12, false}));
    EXPECT_EQ(components[3], (KeyPathComponent{"weights", 3, false}));

    for (const char* malformed : {"", "a..b", "a.", "childNodes[", "childNodes[x]", "[1]",
                                  "childNodes[-1]", "/", "weights[1]x"}) {
        EXPECT_THROW(parseKeyPath(malformed), KeyPathError) << malformed;
    }
}

TEST(KeyPath, MorphWeightsAreReachedThroughChildNodes) {
    auto node = meshNodeWithMorpher();
    const std::string path = "childNodes[0].childNodes[1].morpher.weights[1]";
    node->setValueForKeyPath(path, 0.75);
    const auto& morpher = node->childNodes()[0]->childNodes()[1]->morpher();
    EXPECT_EQ(morpher->weights(), (std::vector<double>{0.0, 0.75}));
    EXPECT_EQ(node->valueForKeyPath(path), Value(0.75));
}

TEST(KeyPath, NameSearchFindsTheFirstDescendant) {
    auto node = meshNodeWithMorpher();
    node->setValueForKeyPath("/Face.childNodes[0].position", glm::dvec3(1, 2, 3));
    EXPECT_EQ(node->childNodeWithName("FaceChild", true)->position(), glm::dvec3(1, 2, 3));
    EXPECT_EQ(node->valueForKeyPath("/FaceChild").node()->name(), "FaceChild");
}

TEST(KeyPath, TransformPropertiesTakeTheirValueTypes) {
    auto node = Node::create();
    node->setValueForKeyPath("orientation", glm::dvec4(0.0, 0.7071068, 0.0, 0.7071068));
    EXPECT_EQ(xyzwOf(node->orientation()), glm::dvec4(0.0, 0.7071068, 0.0, 0.7071068));
    node->setValueForKeyPath("orientation", quaternionFromXYZW(1, 0, 0, 0));
    EXPECT_EQ(*node->valueForKeyPath("orientation").as<Quaternion>(),
              quaternionFromXYZW(1, 0, 0, 0));
    node->setValueForKeyPath("scale", glm::dvec3(2.0));
    EXPECT_EQ(node->scale(), glm::dvec3(2.0));

    EXPECT_THROW(node->setValueForKeyPath("position", 1.0), KeyPathError);
    EXPECT_THROW(node->setValueForKeyPath("scale", glm::dvec4(1.0)), KeyPathError);
}

TEST(KeyPath, UnknownKeysAreFreeValues) {
    auto node = Node::create();
    EXPECT_TRUE(node->valueForKeyPath("weightPaths").isNull());
    node->setValueForKeyPath("GLTFVRM_NodeKey", "ABC");
    EXPECT_EQ(*node->value("GLTFVRM_NodeKey"), Value("ABC"));
    EXPECT_EQ(node->valueForKeyPath("GLTFVRM_NodeKey"), Value("ABC"));
}

TEST(KeyPath, UnresolvablePathsFailWithTheirPath) {
    auto node = meshNodeWithMorpher();
    const char* unresolvable[] = {
        "childNodes[5].position",                         // no such child
        "childNodes.position",                            // no index
        "childNodes[0].morpher.weights[0]",               // mesh node has no morpher
        "childNodes[0].childNodes[1].morpher.weights[2]", // only two targets
        "/Nobody.position",                               // no such name
        "position.x",                                     // no deeper keys
        "childNodes[0]",                                  // nodes are not replaced
    };
    for (const char* path : unresolvable) {
        try {
            node->setValueForKeyPath(path, 1.0);
            ADD_FAILURE() << path << " resolved";
        } catch (const KeyPathError& error) {
            EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace scene
