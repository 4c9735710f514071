#pragma once

// Small scenes that move, built in code: key frames, a rig with a skinned body, and a face
// with a morph target.

#include <SceneGraph/Animation.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <memory>
#include <string>
#include <vector>

namespace usd::test {

std::shared_ptr<scene::KeyframeAnimation> keys(const std::string& keyPath,
                                               std::vector<double> fractions,
                                               std::vector<scene::Value> values, double duration,
                                               bool steps = false);

// Like the glTF loader: each channel in a group that loops forever.
std::shared_ptr<scene::AnimationGroup> looping(double duration,
                                               std::shared_ptr<scene::Animation> member);

// A new child of `parent` at `position`.
std::shared_ptr<scene::Node> child(const std::shared_ptr<scene::Node>& parent, std::string name,
                                   glm::dvec3 position = glm::dvec3(0.0));

std::shared_ptr<scene::Scene> emptyScene();

// Armature (no bone) ─ Hips (bone) ─ Spine (bone) ─ Sword (rigid), and Body skinned to the
// bones Spine and Hips (in that order) with inverse binds of their world rest poses, placed far
// away by its own transform, which skinning ignores.
struct Rig {
    std::shared_ptr<scene::Scene> scene = emptyScene();
    std::shared_ptr<scene::Node> armature, hips, spine, body;
};

// `weights` and `bones`: per vertex of the unit quad, the skin's slots.
Rig rig(std::vector<std::vector<float>> weights, std::vector<std::vector<float>> bones);

// Face ─ Head (mesh node) ─ primitive with a morph target "Smile" that moves one point of four,
// no normals.
struct MorphScene {
    std::shared_ptr<scene::Scene> scene = emptyScene();
    std::shared_ptr<scene::Node> face, primitive;
};

MorphScene morphScene();

} // namespace usd::test
