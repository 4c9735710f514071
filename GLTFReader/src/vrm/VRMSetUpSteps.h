#pragma once

// The steps of the avatar set-up that runs once a VRM document's scene is built, in the order
// VRMSetUp.cpp runs them. Each step sees the node names the earlier ones left.

#include "vrm/GLTFVRM.h"

#include <GLTFReader/IndexCache.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gltf::vrm {

using NodeCache = IndexCache<std::shared_ptr<scene::Node>>;

// The name of the node loaded at `index`; null when the index is out of range, nothing has
// been loaded there, or the node has no name.
const std::string* loadedNodeName(const NodeCache& nodes, std::int64_t index);

// "VRMMeta" on the scene: all thirteen fields, empty texts and texture 0 for absent ones.
void storeMeta(const GLTFVRM_GLTFVRMMeta& meta, scene::Scene& scene);

// Every "." in the names of the nodes below the root becomes "_", since "." separates the
// components of the key paths that reach the nodes by name.
void replaceDotsInNodeNames(const scene::Node& rootNode);

// "VRMHumanoidBones" on the root node: human bone name → node name.
void storeHumanoidBones(const GLTFVRM_GLTFVRMHumanoid& humanoid, const NodeCache& nodes,
                        scene::Node& rootNode);

// Unlit shading, blending, culling, depth writes and draw order of every mesh using a VRM
// material; vertex colours are dropped from those meshes.
void applyMaterialProperties(const std::vector<GLTFVRM_GLTFVRMMaterialProperties>& properties,
                             const scene::Node& rootNode);

// "VRMBlendShapes" on the root node: group key → (morph-weight key path → weight). `meshes`
// holds the node built for each mesh.
void storeBlendShapes(const GLTFVRM_GLTFVRMBlendShapeMaster& master, const NodeCache& meshes,
                      scene::Node& rootNode);

// Builds the avatar's spring bones and colliders and registers them under a new key, stored
// on the root node.
void setUpSpringBones(const GLTFVRM_GLTFVRMSecondaryAnimation& animation, const NodeCache& nodes,
                      const scene::Scene& scene);

} // namespace gltf::vrm
