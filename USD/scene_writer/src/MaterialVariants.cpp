#include "MaterialVariants.h"

#include "ApiSchemas.h"
#include "PrimNames.h"

namespace usd::writer {
namespace {

void bindInVariant(LayerBuilder& build, const Path& prim, const std::string& variant,
                   const Path& material) {
    const Path path = build.defineVariant(prim, kMaterialVariantSet, variant);
    build.addRelationship(path, "material:binding", {material});
}

} // namespace

void writeMaterialVariants(LayerBuilder& build, MaterialLibrary& materials, const Path& prim,
                           const scene::Geometry& geometry,
                           const std::shared_ptr<scene::Material>& defaultMaterial) {
    applySchema(build, prim, "MaterialBindingAPI");
    SiblingNames names;
    std::string selection;
    for (const scene::MaterialVariant& look : geometry.materialVariants()) {
        const std::string name = names.claim(look.name, "variant");
        bindInVariant(build, prim, name, materials.use(look.material).path);
        if (selection.empty() && look.material == defaultMaterial)
            selection = name;
    }
    if (selection.empty()) {
        selection = names.claim("default", "default");
        bindInVariant(build, prim, selection, materials.use(defaultMaterial).path);
    }
    build.selectVariant(prim, kMaterialVariantSet, selection);
}

} // namespace usd::writer
