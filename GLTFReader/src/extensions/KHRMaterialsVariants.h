#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <GLTFReader/GLTFMesh.h>
#include <SceneGraph/Geometry.h>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GLTFUnarchiver;

namespace gltf::extensions {

struct VariantName {
    std::string name;

    static VariantName decode(const gltf::JsonObject& json);
};

// One material a primitive shows under the listed variants (indices into the document's list).
struct VariantMapping {
    std::int64_t material;
    std::vector<std::int64_t> variants;

    static VariantMapping decode(const gltf::JsonObject& json);
};

// The document lists the variants by name; each primitive maps some of them to materials.
struct MaterialVariants {
    std::optional<std::vector<VariantName>> variants;
    std::optional<std::vector<VariantMapping>> mappings;

    static MaterialVariants decode(const gltf::JsonObject& json);
};

// Alternative looks of one model (colours of a shoe, say). On the document it also names the
// variants on the loaded scene: the scene value "materialVariants", an array of the names.
struct KHRMaterialsVariants : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_materials_variants";

    std::optional<MaterialVariants> data;

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;

    static KHRMaterialsVariants decode(const gltf::JsonObject& extensions);
};

// For a primitive that maps any variant, the material it shows under each of the document's
// variants, in their order: the mapped one, else `ownMaterial` (its default). None for a
// primitive without mappings. Variants past the document's list and a variant mapped twice in
// one primitive are refused.
std::vector<scene::MaterialVariant>
primitiveMaterialVariants(GLTFUnarchiver& unarchiver, const GLTFMeshPrimitive& primitive,
                          const std::shared_ptr<scene::Material>& ownMaterial);

} // namespace gltf::extensions
