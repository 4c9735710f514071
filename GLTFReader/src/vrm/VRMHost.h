#pragma once

#include <SceneGraph/Node.h>
#include <memory>
#include <string_view>

// How a host drives an avatar loaded from a VRM file. Loading stores on the scene's root node
// the tables these operations read:
//   "VRMHumanoidBones"  human bone name ("hips", "leftUpperArm" …) → node name;
//   "VRMBlendShapes"    expression key ("blink", "a", or a custom expression's name) →
//                       (morph-weight key path from the root node → weight at full strength);
//   "GLTFVRM_NodeKey"   the key under which the avatar's spring bones are registered.
// The scene itself carries "VRMMeta": title, author, licence and usage permissions as texts,
// and "texture" (the thumbnail's texture index) as an integer.
namespace gltf::vrm {

// Sets every morph weight of the expression `groupKey` to its weight × `value` (usually 0 … 1).
// Nothing happens when the node has no such expression; a weight the mesh does not have is
// skipped.
void setBlendShape(scene::Node& rootNode, std::string_view groupKey, double value);

// The node that plays the human bone `boneName`, or null when the avatar maps no node to it.
std::shared_ptr<scene::Node> humanoidNode(const scene::Node& rootNode, std::string_view boneName);

// Steps the spring bones of every avatar found in the node's hierarchy (the node included), by
// the time elapsed since that avatar's previous step; call it once per rendered frame with the
// renderer's current time. The first step of an avatar, and a step whose time lies before the
// previous one, advance by zero. Different avatars may be stepped from different threads, one
// avatar from one thread at a time.
void updateSpringBones(scene::Node& node, double time);

} // namespace gltf::vrm
