#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/Skinner.h>
#include <gtest/gtest.h>

namespace scene {
namespace {

std::shared_ptr<GeometrySource> fourPerVertex(GeometrySemantic semantic) {
    return GeometrySource::create(makeBytes(std::vector<std::uint8_t>(16)), semantic,
                                  {.vectorCount = 1, .componentsPerVector = 4, .dataStride = 16});
}

TEST(Skinner, BonesAreWeakAndKeepTheirOrder) {
    auto hips = Node::create("Hips");
    auto spine = Node::create("Spine");
    const auto skinner = Skinner::create(Geometry::create({}), {spine, hips}, std::nullopt,
                                         fourPerVertex(GeometrySemantic::boneWeights),
                                         fourPerVertex(GeometrySemantic::boneIndices));
    EXPECT_EQ(skinner->bones(), (std::vector<std::shared_ptr<Node>>{spine, hips}));
    EXPECT_FALSE(skinner->boneInverseBindTransforms().has_value());
    skinner->setSkeleton(hips);

    hips.reset();
    EXPECT_EQ(skinner->bones()[1], nullptr) << "the skinner does not keep bones alive";
    EXPECT_EQ(skinner->skeleton(), nullptr);
    EXPECT_EQ(skinner->boneCount(), 2u);
}

TEST(Skinner, RefusesMissingSourcesAndTooFewBindTransforms) {
    const auto bones = std::vector<std::shared_ptr<Node>>{Node::create(), Node::create()};
    const auto weights = fourPerVertex(GeometrySemantic::boneWeights);
    const auto indices = fourPerVertex(GeometrySemantic::boneIndices);
    EXPECT_THROW(Skinner::create(nullptr, bones, std::nullopt, weights, nullptr),
                 std::invalid_argument);
    EXPECT_THROW(Skinner::create(nullptr, bones, std::vector<Matrix4>(1), weights, indices),
                 std::invalid_argument);
    const auto skinner =
        Skinner::create(nullptr, bones, std::vector<Matrix4>(2, Matrix4(1.0)), weights, indices);
    EXPECT_EQ(skinner->boneInverseBindTransforms()->size(), 2u);
}

TEST(Morpher, WeightsFollowTheTargets) {
    auto morpher = Morpher::create();
    morpher->setTargets({Geometry::create({}), Geometry::create({})});
    morpher->setWeight(1, 0.5);
    EXPECT_EQ(morpher->weights(), (std::vector<double>{0.0, 0.5}));
    EXPECT_THROW(morpher->setWeight(2, 1.0), std::out_of_range);
    EXPECT_THROW(morpher->weight(5), std::out_of_range);

    morpher->setTargets({Geometry::create({}), Geometry::create({}), Geometry::create({})});
    EXPECT_EQ(morpher->weights(), (std::vector<double>{0.0, 0.5, 0.0}));
    morpher->setTargets({});
    EXPECT_TRUE(morpher->weights().empty());
}

TEST(SceneCopy, SkinnersBindTheCopiedBonesAndStaySharedWhereTheyWere) {
    const auto scene = Scene::create();
    scene->setValue("name", Value(std::string("scene")));
    auto hips = Node::create("Hips");
    auto arm = Node::create("Arm");
    hips->addChildNode(arm);
    const auto outside = Node::create("Outside");
    auto body = Node::create("Body");
    auto twin = Node::create("Twin");
    for (const auto& node : {hips, body, twin}) {
        scene->rootNode()->addChildNode(node);
    }
    const auto skinner = Skinner::create(Geometry::create({}), {hips, arm, outside}, std::nullopt,
                                         fourPerVertex(GeometrySemantic::boneWeights),
                                         fourPerVertex(GeometrySemantic::boneIndices));
    skinner->setSkeleton(hips);
    body->setSkinner(skinner);
    twin->setSkinner(skinner);

    const auto copy = scene->copy();
    EXPECT_EQ(*copy->value("name"), Value(std::string("scene")));
    const auto& nodes = copy->rootNode()->childNodes();
    ASSERT_EQ(nodes.size(), 3u);
    const auto& copied = nodes[1]->skinner();
    ASSERT_NE(copied, skinner);
    EXPECT_EQ(nodes[2]->skinner(), copied);
    EXPECT_EQ(copied->bones(),
              (std::vector<std::shared_ptr<Node>>{nodes[0], nodes[0]->childNodes()[0], outside}));
    EXPECT_EQ(copied->skeleton(), nodes[0]);
    EXPECT_EQ(copied->boneWeights(), skinner->boneWeights());

    nodes[0]->setName("Moved");
    EXPECT_EQ(hips->name(), "Hips");
    EXPECT_EQ(body->skinner(), skinner);
}

} // namespace
} // namespace scene
