#include "KHRMaterialsVariants.h"

#include "ExtensionRecord.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <GLTFReader/JsonDecoder.h>
#include <SceneGraph/Scene.h>
#include <any>
#include <memory>
#include <string>

namespace gltf::extensions {
namespace {

const std::vector<VariantName>& documentVariants(const GLTFGlTF& document) {
    static const std::vector<VariantName> none;
    const MaterialVariants* variants = extensionData<KHRMaterialsVariants>(document.extensions);
    return variants != nullptr && variants->variants ? *variants->variants : none;
}

[[noreturn]] void refuseMapping(const std::string& problem) {
    throw GLTFUnarchiveError::dataInconsistent("loadMesh: KHR_materials_variants " + problem);
}

} // namespace

VariantName VariantName::decode(const gltf::JsonObject& json) {
    return {.name = json.required<std::string>("name")};
}

VariantMapping VariantMapping::decode(const gltf::JsonObject& json) {
    return {.material = json.required<std::int64_t>("material"),
            .variants = json.required<std::vector<std::int64_t>>("variants")};
}

MaterialVariants MaterialVariants::decode(const gltf::JsonObject& json) {
    return {.variants = json.optional<std::vector<VariantName>>("variants"),
            .mappings = json.optional<std::vector<VariantMapping>>("mappings")};
}

KHRMaterialsVariants KHRMaterialsVariants::decode(const gltf::JsonObject& extensions) {
    KHRMaterialsVariants result;
    result.data = extensions.optional<MaterialVariants>(extensionName);
    return result;
}

void KHRMaterialsVariants::onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver&) const {
    const auto* scene = std::any_cast<std::shared_ptr<scene::Scene>>(&object);
    if (scene == nullptr || !data || !data->variants) {
        return;
    }
    scene::ValueArray names;
    for (const VariantName& variant : *data->variants) {
        names.emplace_back(variant.name);
    }
    (*scene)->setValue("materialVariants", std::move(names));
}

std::vector<scene::MaterialVariant>
primitiveMaterialVariants(GLTFUnarchiver& unarchiver, const GLTFMeshPrimitive& primitive,
                          const std::shared_ptr<scene::Material>& ownMaterial) {
    const MaterialVariants* own = extensionData<KHRMaterialsVariants>(primitive.extensions);
    if (own == nullptr || !own->mappings) {
        return {};
    }
    const std::vector<VariantName>& names = documentVariants(unarchiver.json());
    std::vector<std::optional<std::int64_t>> materialOfVariant(names.size());
    for (const VariantMapping& mapping : *own->mappings) {
        for (const std::int64_t variant : mapping.variants) {
            if (variant < 0 || static_cast<std::uint64_t>(variant) >= names.size()) {
                refuseMapping("variant " + std::to_string(variant) + " is out of range: the " +
                              "document names " + std::to_string(names.size()) + " variants");
            }
            std::optional<std::int64_t>& material =
                materialOfVariant[static_cast<std::size_t>(variant)];
            if (material) {
                refuseMapping("variant " + std::to_string(variant) +
                              " is mapped twice in one primitive");
            }
            material = mapping.material;
        }
    }
    std::vector<scene::MaterialVariant> variants;
    for (std::size_t variant = 0; variant < names.size(); ++variant) {
        const std::optional<std::int64_t>& material = materialOfVariant[variant];
        variants.push_back(
            {names[variant].name, material ? unarchiver.loadMaterial(*material) : ownMaterial});
    }
    return variants;
}

} // namespace gltf::extensions
