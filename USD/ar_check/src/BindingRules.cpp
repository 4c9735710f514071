#include "RuleParts.h"

#include <USD/ar_check/LayerQueries.h>
#include <USD/layer/FieldNames.h>

namespace usd::ar {

void checkMaterialBindings(const Layer& layer, RuleProblems& problems) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Relationship || !path.name().starts_with("material:binding"))
            continue;
        // A binding inside a variant belongs to the prim that holds the variant set.
        Path prim = path.primPath();
        while (prim.isVariantSelectionPath())
            prim = prim.parent();
        if (!appliesSchema(layer, prim, "MaterialBindingAPI"))
            addProblem(problems, rule::materialBindings, prim,
                       "binds a material without the binding API: apply MaterialBindingAPI to "
                       "the prim.");
        // A collection binding names its collection first and its material last.
        std::vector<Path> materials = pathsOf(layer, path, field::kTargetPaths);
        if (path.name().starts_with("material:binding:collection:") && !materials.empty())
            materials.erase(materials.begin(), materials.end() - 1);
        for (const Path& target : materials)
            if (primType(layer, target) != "Material")
                addProblem(problems, rule::materialBindings, prim,
                           "is bound to " + target.text() +
                               ", which is no material: bind it to a Material prim.");
    }
}

} // namespace usd::ar
