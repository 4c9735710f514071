#include "MaterialBinding.h"

#include "ValueReading.h"

#include <array>

namespace usd::reader {
namespace {

constexpr std::array<std::string_view, 2> kBindings{"material:binding:preview", "material:binding"};

struct Binding {
    std::string relationship;
    Path target;
};

std::optional<Binding> bindingOn(const ComposedPrim& prim) {
    for (std::string_view name : kBindings) {
        const std::vector<Path> targets = prim.targets(name);
        if (!targets.empty()) {
            return Binding{std::string(name), targets.front()};
        }
    }
    return std::nullopt;
}

bool isStrongerThanDescendants(const ComposedPrim& prim, const Binding& binding) {
    return readText(prim.propertyField(binding.relationship, "bindMaterialAs")).value_or("") ==
           "strongerThanDescendants";
}

bool hasCollectionBinding(const ComposedPrim& prim) {
    for (const std::string& name : prim.propertyNames()) {
        if (name.starts_with("material:binding:collection:")) {
            return true;
        }
    }
    return false;
}

} // namespace

const ComposedPrim* boundMaterial(const Stage& stage, const ComposedPrim& prim,
                                  SceneReadNotes& notes) {
    std::optional<Binding> chosen;
    for (const ComposedPrim* p = &prim; p != nullptr; p = p->parent()) {
        if (hasCollectionBinding(*p)) {
            notes.push_back("The collection-based material binding on " + p->path().text() +
                            " is not supported; it is ignored.");
        }
        const std::optional<Binding> binding = bindingOn(*p);
        if (binding && (!chosen || isStrongerThanDescendants(*p, *binding))) {
            chosen = binding;
        }
    }
    if (!chosen) {
        return nullptr;
    }
    const ComposedPrim* material = stage.prim(chosen->target);
    if (material == nullptr || material->typeName() != "Material") {
        notes.push_back("The material " + chosen->target.text() + " bound to " +
                        prim.path().text() + " does not exist; a default material is used.");
        return nullptr;
    }
    return material;
}

} // namespace usd::reader
