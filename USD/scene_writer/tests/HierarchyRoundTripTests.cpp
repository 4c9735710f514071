// A hierarchy as deep as a model may be: written, read back whole, and the user told that
// some USD readers refuse it.

#include "SceneBuilding.h"

#include <USD/scene_reader/SceneReader.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A chain of `levels` nodes below the root, the last one drawing a quad.
std::shared_ptr<scene::Scene> chainScene(int levels) {
    auto scene = scene::Scene::create();
    std::shared_ptr<scene::Node> parent = scene->rootNode();
    for (int level = 0; level < levels; ++level) {
        auto node = scene::Node::create("level");
        node->setPosition({0.001, 0, 0});
        parent->addChildNode(node);
        parent = node;
    }
    parent->setGeometry(quadGeometry());
    return scene;
}

int depthOfGeometry(const scene::Scene& scene) {
    int depth = -1;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (!node.geometry())
            return;
        depth = 0;
        for (auto up = node.parentNode(); up; up = up->parentNode())
            ++depth;
    });
    return depth;
}

TEST(HierarchyRoundTrip, AThousandLevelsOfNodesReadBackWholeWithANoteForOtherReaders) {
    const auto package = std::filesystem::temp_directory_path() / "deep.usdz";
    const USDZWriteResult written = writeUSDZ(*chainScene(1000), package);
    ASSERT_TRUE(written.succeeded) << written.failure;
    EXPECT_THAT(written.notes,
                Contains(HasSubstr("some USD readers refuse files whose prims nest more than "
                                   "255 levels deep")));

    SceneReadNotes readNotes;
    const auto read = readUSDZ(package, readNotes);
    EXPECT_THAT(readNotes, IsEmpty());
    // The package's root prim is one more level above the nodes.
    EXPECT_GE(depthOfGeometry(*read), 1000);
}

TEST(HierarchyRoundTrip, AShallowHierarchyGetsNoDepthNote) {
    const auto package = std::filesystem::temp_directory_path() / "shallow.usdz";
    const USDZWriteResult written = writeUSDZ(*chainScene(200), package);
    ASSERT_TRUE(written.succeeded) << written.failure;
    for (const std::string& finding : written.notes)
        EXPECT_THAT(finding, ::testing::Not(HasSubstr("levels deep"))) << finding;
}

} // namespace
} // namespace usd::test
