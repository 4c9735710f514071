#include "OriginalName.h"

#include "ValueReading.h"

namespace usd::reader {

std::string originalName(const ComposedPrim& prim) {
    const Value* value = prim.metadata("customData");
    const auto* data = value ? value->get<Dictionary>() : nullptr;
    const auto original = data ? readText(data->find("originalName")) : std::nullopt;
    return original.value_or(std::string(prim.name()));
}

} // namespace usd::reader
