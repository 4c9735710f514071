#include "ValuePrinting.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <gtest/gtest.h>

namespace scene {
namespace {

std::vector<std::string> namesOf(const std::vector<std::shared_ptr<Node>>& nodes) {
    std::vector<std::string> names;
    for (const auto& node : nodes) {
        names.push_back(node->name());
    }
    return names;
}

/// root ─┬─ a ─── a1 ("twin")
///       └─ b ─┬─ twin
///             └─ b2
struct SmallTree {
    std::shared_ptr<Node> root = Node::create("root");
    std::shared_ptr<Node> a = Node::create("a");
    std::shared_ptr<Node> a1 = Node::create("twin");
    std::shared_ptr<Node> b = Node::create("b");
    std::shared_ptr<Node> b1 = Node::create("twin");
    std::shared_ptr<Node> b2 = Node::create("b2");

    SmallTree() {
        root->addChildNode(a);
        a->addChildNode(a1);
        root->addChildNode(b);
        b->addChildNode(b1);
        b->addChildNode(b2);
    }
};

TEST(NodeHierarchy, ChildrenKeepInsertionOrderAndMoveBetweenParents) {
    SmallTree tree;
    EXPECT_EQ(namesOf(tree.b->childNodes()), (std::vector<std::string>{"twin", "b2"}));
    EXPECT_EQ(tree.b1->parentNode(), tree.b);

    tree.a->addChildNode(tree.b1);

    EXPECT_EQ(namesOf(tree.b->childNodes()), (std::vector<std::string>{"b2"}));
    EXPECT_EQ(namesOf(tree.a->childNodes()), (std::vector<std::string>{"twin", "twin"}));
    EXPECT_EQ(tree.b1->parentNode(), tree.a);

    tree.b1->removeFromParentNode();
    EXPECT_EQ(tree.b1->parentNode(), nullptr);
    EXPECT_EQ(tree.a->childNodes().size(), 1u);
}

TEST(NodeHierarchy, RefusesCyclesAndNullChildren) {
    SmallTree tree;
    EXPECT_THROW(tree.b2->addChildNode(tree.root), std::invalid_argument);
    EXPECT_THROW(tree.b->addChildNode(tree.b), std::invalid_argument);
    EXPECT_THROW(tree.b->addChildNode(nullptr), std::invalid_argument);
    // A refused move leaves the hierarchy as it was.
    EXPECT_EQ(tree.root->parentNode(), nullptr);
    EXPECT_EQ(tree.b->parentNode(), tree.root);
}

TEST(NodeHierarchy, SearchesVisitDepthFirstInChildOrder) {
    SmallTree tree;
    EXPECT_EQ(tree.root->childNodeWithName("twin", true), tree.a1);
    EXPECT_EQ(tree.root->childNodeWithName("twin", false), nullptr);
    EXPECT_EQ(tree.root->childNodeWithName("b", false), tree.b);
    EXPECT_EQ(tree.root->childNodeWithName("root", true), nullptr)
        << "the receiver is not searched";

    const auto twins =
        tree.root->childNodesPassingTest([](const Node& node) { return node.name() == "twin"; });
    EXPECT_EQ(twins, (std::vector<std::shared_ptr<Node>>{tree.a1, tree.b1}));

    std::vector<std::string> visited;
    tree.root->enumerateHierarchy([&](Node& node) { visited.push_back(node.name()); });
    EXPECT_EQ(visited, (std::vector<std::string>{"root", "a", "twin", "b", "twin", "b2"}));
}

TEST(NodeHierarchy, CloneSharesGeometryAndMaterialsButNotState) {
    auto mesh = Node::create("mesh");
    auto primitive = Node::create();
    mesh->addChildNode(primitive);
    auto geometry = Geometry::create({});
    geometry->setMaterials({Material::create()});
    primitive->setGeometry(geometry);
    auto morpher = Morpher::create();
    morpher->setTargets({Geometry::create({})});
    primitive->setMorpher(morpher);
    primitive->setValue("tag", 1);
    auto animation = KeyframeAnimation::create("position");
    mesh->addAnimation(animation, "move");

    const auto copy = mesh->clone();

    ASSERT_EQ(copy->childNodes().size(), 1u);
    const auto& copiedPrimitive = copy->childNodes()[0];
    EXPECT_NE(copy, mesh);
    EXPECT_NE(copiedPrimitive, primitive);
    EXPECT_EQ(copy->parentNode(), nullptr);
    EXPECT_EQ(copiedPrimitive->parentNode(), copy);
    EXPECT_EQ(copiedPrimitive->geometry(), geometry);
    EXPECT_EQ(copiedPrimitive->geometry()->materials()[0], geometry->materials()[0]);
    EXPECT_EQ(*copiedPrimitive->value("tag"), Value(1));

    copiedPrimitive->morpher()->setWeight(0, 0.5);
    EXPECT_EQ(morpher->weight(0), 0.0) << "each copy animates its own weights";

    auto copiedAnimation =
        std::dynamic_pointer_cast<KeyframeAnimation>(copy->animationForKey("move"));
    ASSERT_NE(copiedAnimation, nullptr);
    copiedAnimation->keyPath = "scale";
    EXPECT_EQ(animation->keyPath, "position");
}

TEST(NodeHierarchy, AnimationKeysReplaceOrAreGenerated) {
    auto node = Node::create();
    auto first = KeyframeAnimation::create("position");
    auto second = KeyframeAnimation::create("scale");
    EXPECT_EQ(node->addAnimation(first, "translation"), "translation");
    const std::string generated = node->addAnimation(first);
    EXPECT_NE(generated, "translation");
    EXPECT_EQ(node->addAnimation(second, "translation"), "translation");

    ASSERT_EQ(node->animations().size(), 2u);
    EXPECT_EQ(node->animations()[0].key, generated);
    EXPECT_EQ(node->animationForKey("translation"), second);
    node->removeAnimation(generated);
    EXPECT_EQ(node->animationForKey(generated), nullptr);
}

TEST(NodeHierarchy, VeryDeepHierarchiesCanBeWalkedClonedAndReleased) {
    constexpr int depth = 100000;
    auto root = Node::create("root");
    auto tip = root;
    for (int level = 0; level < depth; ++level) {
        auto child = Node::create();
        tip->addChildNode(child);
        tip = child;
    }
    tip->setName("tip");
    EXPECT_EQ(root->childNodeWithName("tip", true), tip);
    const auto copy = root->clone();
    int visited = 0;
    copy->enumerateHierarchy([&](const Node&) { ++visited; });
    EXPECT_EQ(visited, depth + 1);
    tip.reset();
    root.reset(); // must not overflow the stack
}

} // namespace
} // namespace scene
