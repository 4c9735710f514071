#include "PrimFilter.h"

#include "ValueReading.h"

#include <USD/layer/FieldNames.h>
#include <algorithm>
#include <array>
#include <string_view>

namespace usd::reader {
namespace {

// The strongest specifier other than "over" decides; a prim with only overs is not defined.
bool isDefined(const ComposedPrim& prim) {
    for (const PrimSource& source : prim.sources()) {
        const Spec* spec = source.spec();
        const Value* value = spec ? spec->field(field::kSpecifier) : nullptr;
        const auto* specifier = value ? value->get<Specifier>() : nullptr;
        if (specifier != nullptr && *specifier != Specifier::Over) {
            return *specifier == Specifier::Def;
        }
    }
    return false;
}

bool isContentType(std::string_view type) {
    constexpr std::array<std::string_view, 8> types{"Material",   "Shader",        "NodeGraph",
                                                    "GeomSubset", "Skeleton",      "SkelAnimation",
                                                    "BlendShape", "PointInstancer"};
    return std::ranges::find(types, type) != types.end();
}

// A Scope (or typeless prim) that only gathers materials, such as "Materials".
bool isShadingScope(const ComposedPrim& prim) {
    const std::string type = prim.typeName();
    return (type == "Scope" || type.empty()) && !prim.children().empty() &&
           std::ranges::all_of(prim.children(), [](const auto& child) {
               return holdsNoNodes(*child) || !isShownInScene(*child);
           });
}

} // namespace

bool holdsNoNodes(const ComposedPrim& prim) {
    return isContentType(prim.typeName()) || isShadingScope(prim);
}

bool isShownInScene(const ComposedPrim& prim) {
    if (!isDefined(prim) || !readBool(prim.metadata("active")).value_or(true)) {
        return false;
    }
    if (readText(prim.attributeValue("visibility")).value_or("inherited") == "invisible") {
        return false;
    }
    const std::string purpose = readText(prim.attributeValue("purpose")).value_or("default");
    return purpose != "guide" && purpose != "proxy";
}

} // namespace usd::reader
