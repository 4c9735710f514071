#include "MovingScenes.h"

#include "SceneBuilding.h"

#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <glm/gtc/matrix_transform.hpp>

namespace usd::test {

using scene::GeometrySemantic;

std::shared_ptr<scene::KeyframeAnimation> keys(const std::string& keyPath,
                                               std::vector<double> fractions,
                                               std::vector<scene::Value> values, double duration,
                                               bool steps) {
    auto animation = scene::KeyframeAnimation::create(keyPath);
    animation->keyTimes = std::move(fractions);
    animation->values = std::move(values);
    animation->duration = duration;
    if (steps)
        animation->calculationMode = scene::AnimationCalculationMode::discrete;
    return animation;
}

std::shared_ptr<scene::AnimationGroup> looping(double duration,
                                               std::shared_ptr<scene::Animation> member) {
    auto group = scene::AnimationGroup::create();
    group->duration = duration;
    group->repeatCount = scene::repeatForever;
    group->animations = {std::move(member)};
    return group;
}

std::shared_ptr<scene::Node> child(const std::shared_ptr<scene::Node>& parent, std::string name,
                                   glm::dvec3 position) {
    auto node = scene::Node::create(std::move(name));
    node->setPosition(position);
    parent->addChildNode(node);
    return node;
}

std::shared_ptr<scene::Scene> emptyScene() {
    return scene::Scene::create();
}

Rig rig(std::vector<std::vector<float>> weights, std::vector<std::vector<float>> bones) {
    Rig rig;
    rig.armature = child(rig.scene->rootNode(), "Armature", {0, 1, 0});
    rig.hips = child(rig.armature, "Hips", {0, 1, 0});
    rig.spine = child(rig.hips, "Spine", {0, 1, 0});
    child(rig.spine, "Sword");
    rig.body = child(rig.armature, "Body", {5, 5, 5});
    auto geometry = quadGeometry();
    rig.body->setGeometry(geometry);
    const std::vector<scene::Matrix4> inverseBinds{
        glm::translate(scene::Matrix4(1.0), glm::dvec3(0, -3, 0)),
        glm::translate(scene::Matrix4(1.0), glm::dvec3(0, -2, 0))};
    rig.body->setSkinner(scene::Skinner::create(geometry, {rig.spine, rig.hips}, inverseBinds,
                                                floatSource(GeometrySemantic::boneWeights, weights),
                                                floatSource(GeometrySemantic::boneIndices, bones)));
    return rig;
}

MorphScene morphScene() {
    MorphScene made;
    made.face = child(made.scene->rootNode(), "Face");
    auto meshNode = child(made.face, "Head");
    made.primitive = child(meshNode, "");
    made.primitive->setGeometry(quadGeometry());
    auto target = scene::Geometry::create(
        {floatSource(GeometrySemantic::vertex, {{0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 0}})});
    target->setName("Smile");
    auto morpher = scene::Morpher::create();
    morpher->setTargets({target});
    morpher->setCalculationMode(scene::MorpherCalculationMode::additive);
    made.primitive->setMorpher(morpher);
    return made;
}

} // namespace usd::test
