#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <GLTFReader/GLTFNode.h>
#include <SceneGraph/Node.h>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GLTFUnarchiver;

namespace gltf::extensions {

// Accessors of per-instance TRANSLATION, ROTATION and SCALE (and attributes of the
// application's own, named with a leading underscore, which are not read).
struct MeshInstancing {
    std::map<std::string, std::int64_t> attributes;

    static MeshInstancing decode(const gltf::JsonObject& json);
};

struct EXTMeshGpuInstancing : GLTFExtensionValue {
    static constexpr const char* extensionName = "EXT_mesh_gpu_instancing";

    std::optional<MeshInstancing> data;

    static EXTMeshGpuInstancing decode(const gltf::JsonObject& extensions);
};

// When the node draws its mesh once per instance, adds one child per instance to `node`, each
// with the instance's transform (below the node's own) and the mesh, whose geometry they share,
// and returns them. Returns none, adding nothing, for a node that is not instanced or whose
// mesh is skinned (it is shown once, and the user told). Attributes of other types than the
// extension allows, and attributes of different counts, are refused.
std::vector<std::shared_ptr<scene::Node>>
attachMeshInstances(GLTFUnarchiver& unarchiver, const GLTFNode& record, scene::Node& node);

} // namespace gltf::extensions
