#include <SceneGraph/Node.h>
#include <glm/gtc/constants.hpp>
#include <gtest/gtest.h>

namespace scene {
namespace {

void expectNear(const glm::dvec3& actual, const glm::dvec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
    EXPECT_NEAR(actual.z, expected.z, 1e-9);
}

Quaternion quarterTurnAboutY() {
    return quaternionFromXYZW(0.0, std::sqrt(0.5), 0.0, std::sqrt(0.5));
}

TEST(NodeTransform, MatrixElementsFollowTheRowVectorConvention) {
    std::array<double, 16> elements{};
    for (int i = 0; i < 16; ++i) {
        elements[i] = i + 1;
    }
    const Matrix4 matrix = matrixFromElements(elements);
    EXPECT_EQ(matrix[3][0], 13.0) << "m41";
    EXPECT_EQ(matrix[3][1], 14.0) << "m42";
    EXPECT_EQ(matrix[0][1], 2.0) << "m12";
    EXPECT_EQ(elementsOf(matrix), elements);

    const Quaternion rotation = quaternionFromXYZW(0.1, 0.2, 0.3, 0.9);
    EXPECT_EQ(rotation.x, 0.1);
    EXPECT_EQ(rotation.w, 0.9);
    EXPECT_EQ(xyzwOf(rotation), glm::dvec4(0.1, 0.2, 0.3, 0.9));
}

TEST(NodeTransform, NewNodesAreIdentityAndComponentsComposeTranslationLast) {
    auto node = Node::create();
    EXPECT_EQ(node->transformComponents(), TransformComponents{});
    EXPECT_EQ(node->transform(), Matrix4(1.0));

    node->setOrientation(quarterTurnAboutY());
    node->setScale({2.0, 2.0, 2.0});
    node->setPosition({1.0, 2.0, 3.0});
    // (1, 0, 0) scaled to (2, 0, 0), turned about y to (0, 0, -2), then moved.
    expectNear(transformPoint(node->transform(), {1.0, 0.0, 0.0}), {1.0, 2.0, 1.0});
    const Matrix4 matrix = node->transform();
    EXPECT_DOUBLE_EQ(matrix[3][0], 1.0);
    EXPECT_DOUBLE_EQ(matrix[3][2], 3.0);
}

TEST(NodeTransform, MatricesAreKeptExactlyAndDecomposedForComponents) {
    auto node = Node::create();
    TransformComponents components{{4.0, 5.0, 6.0}, quarterTurnAboutY(), {1.0, 3.0, 2.0}};
    node->setTransform(composeTransform(components));
    EXPECT_TRUE(node->hasMatrixTransform());
    EXPECT_TRUE(node->isTransformDecomposable());
    expectNear(node->position(), components.position);
    expectNear(node->scale(), components.scale);
    EXPECT_NEAR(std::abs(glm::dot(node->orientation(), components.orientation)), 1.0, 1e-9);

    Matrix4 sheared(1.0);
    sheared[1][0] = 0.5; // m21: x gains half of y
    node->setTransform(sheared);
    EXPECT_FALSE(node->isTransformDecomposable());
    EXPECT_EQ(node->transform(), sheared) << "the matrix as set is what the node keeps";

    node->setPosition({1.0, 0.0, 0.0});
    EXPECT_FALSE(node->hasMatrixTransform());
    EXPECT_EQ(node->position(), glm::dvec3(1.0, 0.0, 0.0));
}

TEST(NodeTransform, NegativeDeterminantBecomesNegativeScale) {
    Matrix4 mirrored(1.0);
    mirrored[0][0] = -1.0;
    const auto components = decomposeTransform(mirrored);
    EXPECT_EQ(components.scale, glm::dvec3(-1.0, 1.0, 1.0));
    EXPECT_TRUE(isExactlyDecomposable(mirrored));
}

TEST(NodeTransform, WorldTransformsAndPositionConversions) {
    auto root = Node::create();
    auto parent = Node::create();
    auto child = Node::create();
    root->addChildNode(parent);
    parent->addChildNode(child);
    parent->setPosition({10.0, 0.0, 0.0});
    parent->setOrientation(quarterTurnAboutY());
    parent->setScale({2.0, 2.0, 2.0});
    child->setPosition({1.0, 0.0, 0.0});

    expectNear(child->worldPosition(), {10.0, 0.0, -2.0});
    expectNear(child->convertPositionToNode({0.0, 0.0, 0.0}, nullptr), {10.0, 0.0, -2.0});
    expectNear(child->convertPosition({10.0, 0.0, -2.0}, nullptr), {0.0, 0.0, 0.0});
    expectNear(parent->convertPosition({0.0, 0.0, 0.0}, child.get()), {1.0, 0.0, 0.0});
    expectNear(child->convertPositionToNode({1.0, 0.0, 0.0}, parent.get()), {2.0, 0.0, 0.0});

    child->setWorldPosition({10.0, 4.0, 0.0});
    expectNear(child->position(), {0.0, 2.0, 0.0});
    expectNear(child->worldPosition(), {10.0, 4.0, 0.0});

    const Quaternion worldTurn = child->worldOrientation();
    EXPECT_NEAR(std::abs(glm::dot(worldTurn, quarterTurnAboutY())), 1.0, 1e-9);
    child->setWorldOrientation(Quaternion(1.0, 0.0, 0.0, 0.0));
    EXPECT_NEAR(std::abs(glm::dot(child->worldOrientation(), Quaternion(1.0, 0.0, 0.0, 0.0))), 1.0,
                1e-9);
}

} // namespace
} // namespace scene
