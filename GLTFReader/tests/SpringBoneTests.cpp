#include "vrm/SpringBone.h"
#include "vrm/SpringBoneRegistry.h"
#include "vrm/VRMHost.h"

#include <SceneGraph/Scene.h>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr double frameTime = 1.0 / 60.0;

// A bone one unit long pointing along +x from the origin, with a child at its tip.
struct Chain {
    std::shared_ptr<scene::Scene> scene = scene::Scene::create();
    std::shared_ptr<scene::Node> hair = scene::Node::create("Hair");
    std::shared_ptr<scene::Node> tip = scene::Node::create("Tip");

    Chain() {
        tip->setPosition({1, 0, 0});
        hair->addChildNode(tip);
        scene->rootNode()->addChildNode(hair);
    }

    // Hangs the chain under a turned body and turns both bones, so that every rotation of the
    // step composes with others.
    void twist() const {
        const auto body = scene::Node::create("Body");
        body->setOrientation(rotation(90, {0, 1, 0}));
        scene->rootNode()->addChildNode(body);
        body->addChildNode(hair);
        hair->setOrientation(rotation(60, {1, 0, 0}));
        tip->setOrientation(rotation(30, {1, 0, 0}));
    }

    static scene::Quaternion rotation(double degrees, const glm::dvec3& axis) {
        return glm::angleAxis(glm::radians(degrees), axis);
    }

    std::shared_ptr<GLTFVRM_VRMSpringBone>
    springBone(const GLTFVRM_VRMSpringBone::Settings& settings) const {
        return std::make_shared<GLTFVRM_VRMSpringBone>(
            settings, std::vector<std::weak_ptr<scene::Node>>{hair},
            std::vector<GLTFVRM_VRMSpringBoneColliderGroup>{});
    }
};

const GLTFVRM_VRMSpringBone::Settings hanging{.comment = std::nullopt,
                                              .stiffnessForce = 0,
                                              .gravityPower = 1,
                                              .gravityDir = {0, -1, 0},
                                              .dragForce = 0.4f,
                                              .hitRadius = 0.05f};

glm::vec3 worldPosition(const scene::Node& node) {
    return glm::vec3(node.worldPosition());
}

// Steps the avatar `frames` times at 60 Hz, calling `check` after every step.
void stepFrames(
    scene::Node& rootNode, int frames, const std::function<void()>& check = [] {}) {
    for (int frame = 0; frame < frames; ++frame) {
        gltf::vrm::updateSpringBones(rootNode, frame * frameTime);
        check();
    }
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

} // namespace

TEST(SpringBone, AChainUnderGravitySettlesHangingDown) {
    const Chain chain;
    chain.twist();
    const auto springBone = chain.springBone(hanging);
    ASSERT_EQ(springBone->verlet.size(), 2u);
    GLTFVRM_VRMState::registerAvatar({{}, {springBone}}, chain.scene->rootNode());
    stepFrames(*chain.scene->rootNode(), 600);

    const glm::vec3 down(0, -1, 0);
    const glm::vec3 hairDirection = worldPosition(*chain.tip) - worldPosition(*chain.hair);
    EXPECT_GT(glm::dot(glm::normalize(hairDirection), down), 0.999f);
    EXPECT_NEAR(glm::length(hairDirection), 1.0f, 1e-4f);
    const glm::vec3 tipTail = springBone->verlet[1]->currentTail;
    EXPECT_GT(glm::dot(glm::normalize(tipTail - worldPosition(*chain.tip)), down), 0.999f);
}

TEST(SpringBone, AStiffChainSwingsBackToItsRestPose) {
    const Chain chain;
    chain.twist();
    GLTFVRM_VRMSpringBone::Settings stiff = hanging;
    stiff.stiffnessForce = 4;
    stiff.gravityPower = 0;
    const auto springBone = chain.springBone(stiff);
    GLTFVRM_VRMState::registerAvatar({{}, {springBone}}, chain.scene->rootNode());
    const glm::vec3 restingTip = worldPosition(*chain.tip);
    const glm::vec3 pushed = worldPosition(*chain.hair) + glm::vec3(0, -1, 0);
    springBone->verlet[0]->currentTail = springBone->verlet[0]->prevTail = pushed;
    stepFrames(*chain.scene->rootNode(), 600);
    expectNear(worldPosition(*chain.tip), restingTip, 1e-3f);
}

// The sphere is attached to a node of the avatar that the bone group does not list: every
// collider group of the avatar still counts.
TEST(SpringBone, NoTailEverEndsInsideASphereInTheWay) {
    const Chain chain;
    const auto body = scene::Node::create("Body");
    body->setPosition({0.5, -0.5, 0});
    chain.scene->rootNode()->addChildNode(body);
    const glm::vec3 centre(0.5f, -1.0f, 0.0f);
    const float sphereRadius = 0.3f;
    const auto springBone = chain.springBone(hanging);
    const GLTFVRM_VRMSpringBoneColliderGroup bodySphere{body,
                                                        {{glm::vec3(0, -0.5f, 0), sphereRadius}}};
    GLTFVRM_VRMState::registerAvatar({{bodySphere}, {springBone}}, chain.scene->rootNode());

    float closest = 10;
    stepFrames(*chain.scene->rootNode(), 300, [&] {
        for (const auto& bone : springBone->verlet) {
            const float distance = glm::distance(bone->currentTail, centre);
            EXPECT_GE(distance, sphereRadius);
            closest = std::min(closest, distance);
        }
    });
    // The swing did reach the sphere and was held at its surface plus the tail radius.
    EXPECT_LT(closest, sphereRadius + hanging.hitRadius + 1e-3f);
}

TEST(SpringBone, LeafRootsGetAShortTailAwayFromTheirParent) {
    const auto scene = scene::Scene::create();
    const auto arm = scene::Node::create("Arm");
    arm->setPosition({0, 1, 0});
    arm->setScale(glm::dvec3(2));
    const auto hand = scene::Node::create("Hand");
    hand->setPosition({0, 0, 0.5});
    arm->addChildNode(hand);
    scene->rootNode()->addChildNode(arm);
    const auto center = scene::Node::create("Center");
    center->setPosition({10, 0, 0});
    scene->rootNode()->addChildNode(center);

    const GLTFVRM_VRMSpringBone springBone(hanging, {hand}, {});
    ASSERT_EQ(springBone.verlet.size(), 1u);
    expectNear(springBone.verlet[0]->currentTail, {0, 1, 1.07f});
    // The length is the world distance, whatever the scale of the ancestors.
    EXPECT_NEAR(springBone.verlet[0]->length, 0.07f, 1e-6f);

    const GLTFVRM_VRMSpringBone centered(hanging, {hand}, {}, center);
    expectNear(centered.verlet[0]->currentTail, {-10, 1, 1.07f});

    // A leaf without a parent has no direction to hang its tail on.
    const GLTFVRM_VRMSpringBone orphan(hanging, {scene::Node::create("Alone")}, {});
    EXPECT_TRUE(orphan.verlet.empty());
}

TEST(SpringBone, GroupsWithoutRootBonesDoNothing) {
    GLTFVRM_VRMSpringBone springBone(hanging, {}, {});
    const auto node = scene::Node::create();
    const GLTFVRM_VRMSpringBoneColliderGroup sphere{node, {{glm::vec3(0), 1}}};
    springBone.update({sphere}, 1);
    EXPECT_TRUE(springBone.verlet.empty());
    EXPECT_TRUE(springBone.colliderList.empty());
}

TEST(SpringBone, DragOfOneOrMoreDiscardsThePreviousMotion) {
    for (const float drag : {0.0f, 1.0f, 3.0f}) {
        const Chain chain;
        const auto springBone = chain.springBone(hanging);
        GLTFVRM_VRMSpringBoneLogic& bone = *springBone->verlet[0];
        bone.prevTail = {1, -0.5f, 0};
        bone.update(nullptr, {}, 0, drag, glm::vec3(0));
        const glm::vec3 expected =
            drag >= 1 ? glm::vec3(1, 0, 0) : glm::normalize(glm::vec3(1, 0.5f, 0));
        expectNear(bone.currentTail, expected);
        expectNear(bone.prevTail, {1, 0, 0});
    }
}

TEST(SpringBone, StiffnessIsCappedAtOnePerStep) {
    for (const float stiffnessForce : {60.0f, 6000.0f}) {
        const Chain chain;
        GLTFVRM_VRMSpringBone::Settings stiff = hanging;
        stiff.stiffnessForce = stiffnessForce;
        stiff.gravityPower = 0;
        stiff.dragForce = 0;
        const auto springBone = chain.springBone(stiff);
        springBone->verlet[0]->currentTail = springBone->verlet[0]->prevTail = {0, 1, 0};
        springBone->update({}, static_cast<float>(frameTime));
        expectNear(springBone->verlet[0]->currentTail, glm::normalize(glm::vec3(1, 1, 0)));
    }
}

TEST(SpringBone, StepsTurnTheBoneTowardsItsTail) {
    const Chain chain;
    const auto springBone = chain.springBone(hanging);
    springBone->verlet[0]->currentTail = springBone->verlet[0]->prevTail = {0, 0, -1};
    springBone->update({}, 0);
    expectNear(worldPosition(*chain.tip), {0, 0, -1});
    // Straight behind the bone's rest direction: a half turn.
    springBone->verlet[0]->currentTail = springBone->verlet[0]->prevTail = {-1, 0, 0};
    springBone->update({}, 0);
    expectNear(worldPosition(*chain.tip), {-1, 0, 0});
}

TEST(SpringBone, TimeGoingBackwardsStepsByZeroAndIsRecorded) {
    const std::string key = "time-test-avatar";
    EXPECT_EQ(GLTFVRM_VRMState::timeSinceLastUpdate(key, 2.0), 0.0);
    EXPECT_EQ(GLTFVRM_VRMState::timeSinceLastUpdate(key, 2.5), 0.5);
    EXPECT_EQ(GLTFVRM_VRMState::timeSinceLastUpdate(key, 2.5), 0.0);
    EXPECT_EQ(GLTFVRM_VRMState::timeSinceLastUpdate(key, 1.0), -1.5);
    EXPECT_EQ(GLTFVRM_VRMState::timeSinceLastUpdate(key, 1.25), 0.25);

    // A step back in time applies neither gravity nor stiffness.
    const Chain chain;
    const auto springBone = chain.springBone(hanging);
    GLTFVRM_VRMState::registerAvatar({{}, {springBone}}, chain.scene->rootNode());
    gltf::vrm::updateSpringBones(*chain.scene->rootNode(), 5.0);
    gltf::vrm::updateSpringBones(*chain.scene->rootNode(), 4.0);
    expectNear(worldPosition(*chain.tip), {1, 0, 0});
}

TEST(SpringBone, HierarchiesWithoutARegisteredAvatarAreLeftAlone) {
    const Chain chain;
    chain.hair->setValue(GLTFVRM_VRMState::nodeKey, "never-registered");
    chain.tip->setValue(GLTFVRM_VRMState::nodeKey, 42);
    gltf::vrm::updateSpringBones(*chain.scene->rootNode(), 1.0);
    gltf::vrm::updateSpringBones(*chain.scene->rootNode(), 2.0);
    EXPECT_EQ(chain.hair->transformComponents(), scene::TransformComponents{});
    EXPECT_EQ(chain.tip->position(), glm::dvec3(1, 0, 0));
}
