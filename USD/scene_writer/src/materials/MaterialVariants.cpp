#include "materials/MaterialVariants.h"

#include "PrimNames.h"
#include "materials/MaterialLibrary.h"

#include <numeric>

namespace usd::writer {

void writeMaterialVariants(LayerBuilder& build, MaterialLibrary& materials, const Path& prim,
                           const scene::Geometry& geometry,
                           const std::shared_ptr<scene::Material>& defaultMaterial,
                           std::size_t faceCount, VertexColorUse colors) {
    if (geometry.materialVariants().empty())
        return;
    Array<std::int32_t> faces(faceCount);
    std::iota(faces.begin(), faces.end(), 0);
    SiblingNames names;
    std::string selection;
    for (const scene::MaterialVariant& look : geometry.materialVariants()) {
        const std::string name = names.claim(look.name, "variant");
        const Path variant = build.defineVariant(prim, kMaterialVariantSet, name);
        const Path subset = build.definePrim(variant.appendChild("variantLook"), "GeomSubset");
        build.addAttribute(subset, "elementType", {"token", Token{"face"}, Variability::Uniform});
        build.addAttribute(subset, "familyName",
                           {"token", Token{"materialBind"}, Variability::Uniform});
        build.addAttribute(subset, "indices", {"int[]", faces});
        bindMaterial(build, subset, materials.use(look.material, colors).path);
        if (selection.empty() && look.material == defaultMaterial)
            selection = name;
    }
    build.selectVariant(prim, kMaterialVariantSet, selection);
}

} // namespace usd::writer
