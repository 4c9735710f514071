#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <GLTFReader/GLTFGlTF.h>
#include <GLTFReader/GLTFMesh.h>
#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GLTFUnarchiver;

namespace gltf::extensions {

// A primitive's geometry compressed into one buffer view; `attributes` maps glTF attribute
// names to the ids of the compressed attributes.
struct DracoPrimitive {
    std::int64_t bufferView;
    std::map<std::string, std::int64_t> attributes;

    static DracoPrimitive decode(const gltf::JsonObject& json);
};

struct KHRDracoMeshCompression : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_draco_mesh_compression";

    std::optional<DracoPrimitive> data;

    static KHRDracoMeshCompression decode(const gltf::JsonObject& extensions);
};

// The compressed form of a primitive, or null for a plain one.
const DracoPrimitive* dracoCompression(const GLTFMeshPrimitive& primitive);

// A primitive's compressed mesh, decoded. Each attribute the extension names becomes a
// source of the accessor's element type (floats, normalized integers mapped to [0, 1] or
// [-1, 1]; joint indices stay integers), and the faces become 32-bit triangle indices. Data
// that does not decode, attribute ids the mesh lacks, vectors of another size than the accessor
// declares and modes other than triangles are refused.
class DracoMesh {
  public:
    DracoMesh(GLTFUnarchiver& unarchiver, const DracoPrimitive& draco,
              const GLTFMeshPrimitive& primitive);
    ~DracoMesh();

    // The decoded source of attribute `name`, or null when the extension does not compress it
    // (its accessor then holds the data).
    std::shared_ptr<scene::GeometrySource> source(const std::string& name,
                                                  std::int64_t accessorIndex,
                                                  scene::GeometrySemantic semantic) const;
    std::shared_ptr<scene::GeometryElement> triangles() const;

  private:
    struct Decoded;
    const GLTFGlTF& document_;
    const DracoPrimitive& draco_;
    std::unique_ptr<Decoded> decoded_;
};

} // namespace gltf::extensions
