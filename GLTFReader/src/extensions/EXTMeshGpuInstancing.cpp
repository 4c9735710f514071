#include "EXTMeshGpuInstancing.h"

#include "ExtensionRecord.h"

#include <GLTFReader/AccessorTables.h>
#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <GLTFReader/JsonDecoder.h>
#include <array>
#include <string>
#include <vector>

namespace gltf::extensions {
namespace {

struct InstanceAttribute {
    const char* name;
    const char* type;
    // Besides floats, normalized bytes and shorts are allowed (quantized instances); rotations
    // take signed ones only.
    bool signedOnly;
    const char* allowed; // for the message
};

const std::array<InstanceAttribute, 3> instanceAttributes{{
    {"TRANSLATION", "VEC3", false, "floats or normalized bytes or shorts"},
    {"ROTATION", "VEC4", true, "floats or normalized signed bytes or shorts"},
    {"SCALE", "VEC3", false, "floats or normalized bytes or shorts"},
}};

[[noreturn]] void refuse(const std::string& problem) {
    throw GLTFUnarchiveError::dataInconsistent("loadNode: EXT_mesh_gpu_instancing " + problem);
}

bool allowedComponents(const InstanceAttribute& attribute, const GLTFAccessor& accessor) {
    const std::optional<bool> isFloat = componentIsFloat(accessor.componentType);
    if (!isFloat || *isFloat) {
        return isFloat.value_or(false);
    }
    return accessor._normalized.value_or(false) && bytesPerComponent(accessor.componentType) <= 2 &&
           (!attribute.signedOnly || componentIsSigned(accessor.componentType));
}

// The attribute's values, one per instance; empty when the node does not give it.
std::vector<scene::Value> instanceValues(GLTFUnarchiver& unarchiver, const MeshInstancing& data,
                                         const InstanceAttribute& attribute) {
    const auto entry = data.attributes.find(attribute.name);
    if (entry == data.attributes.end()) {
        return {};
    }
    // Loading checks the index, so the record can be read after.
    std::vector<scene::Value> values = unarchiver.loadValueAccessor(entry->second);
    const GLTFAccessor& accessor =
        unarchiver.json().accessors->at(static_cast<std::size_t>(entry->second));
    if (accessor.type != attribute.type || !allowedComponents(attribute, accessor)) {
        refuse(std::string(attribute.name) + " must be a " + attribute.type + " accessor of " +
               attribute.allowed);
    }
    return values;
}

// How many instances the attributes give, all of them agreeing.
std::size_t instanceCount(const std::array<std::vector<scene::Value>, 3>& values,
                          const MeshInstancing& data) {
    std::optional<std::size_t> count;
    for (std::size_t a = 0; a < values.size(); ++a) {
        if (!data.attributes.contains(instanceAttributes[a].name)) {
            continue;
        }
        if (count && *count != values[a].size()) {
            refuse("attributes have different counts: " + std::to_string(*count) + " and " +
                   std::string(instanceAttributes[a].name) + " " +
                   std::to_string(values[a].size()));
        }
        count = values[a].size();
    }
    if (!count) {
        refuse("names none of TRANSLATION, ROTATION and SCALE");
    }
    return *count;
}

glm::dvec3 vectorAt(const std::vector<scene::Value>& values, std::size_t instance,
                    glm::dvec3 fallback) {
    return values.empty() ? fallback : *values[instance].as<glm::dvec3>();
}

scene::Quaternion rotationAt(const std::vector<scene::Value>& values, std::size_t instance) {
    if (values.empty()) {
        return scene::quaternionFromXYZW(0, 0, 0, 1);
    }
    const glm::dvec4 xyzw = *values[instance].as<glm::dvec4>();
    return scene::quaternionFromXYZW(xyzw.x, xyzw.y, xyzw.z, xyzw.w);
}

} // namespace

MeshInstancing MeshInstancing::decode(const gltf::JsonObject& json) {
    return {.attributes = json.required<std::map<std::string, std::int64_t>>("attributes")};
}

EXTMeshGpuInstancing EXTMeshGpuInstancing::decode(const gltf::JsonObject& extensions) {
    EXTMeshGpuInstancing result;
    result.data = extensions.optional<MeshInstancing>(extensionName);
    return result;
}

std::vector<std::shared_ptr<scene::Node>>
attachMeshInstances(GLTFUnarchiver& unarchiver, const GLTFNode& record, scene::Node& node) {
    const MeshInstancing* data = extensionData<EXTMeshGpuInstancing>(record.extensions);
    if (data == nullptr || !record.mesh) {
        return {};
    }
    if (record.skin) {
        unarchiver.noteOnce("loadNode: the instances (EXT_mesh_gpu_instancing) of a skinned mesh "
                            "are left out; the mesh is shown once");
        return {};
    }
    std::array<std::vector<scene::Value>, 3> values;
    for (std::size_t a = 0; a < values.size(); ++a) {
        values[a] = instanceValues(unarchiver, *data, instanceAttributes[a]);
    }
    const std::size_t count = instanceCount(values, *data);
    std::vector<std::shared_ptr<scene::Node>> instances;
    for (std::size_t instance = 0; instance < count; ++instance) {
        auto child = scene::Node::create("instance_" + std::to_string(instance));
        child->setPosition(vectorAt(values[0], instance, glm::dvec3(0.0)));
        child->setOrientation(rotationAt(values[1], instance));
        child->setScale(vectorAt(values[2], instance, glm::dvec3(1.0)));
        child->addChildNode(unarchiver.loadMesh(*record.mesh));
        node.addChildNode(child);
        instances.push_back(std::move(child));
    }
    return instances;
}

} // namespace gltf::extensions
