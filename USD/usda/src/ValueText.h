#pragma once

// Text of any layer value in USD's text syntax.

#include <USD/layer/Value.h>
#include <optional>
#include <string>
#include <vector>

namespace usd::usda {

// Four spaces per level; values that span lines (dictionaries, time samples)
// indent their inner lines one level deeper than `indent`.
std::string indentation(int indent);

std::string valueText(const Value& value, int indent);

// The text-file type name of the value: "float3[]", "token", "dictionary" …
std::string typeNameOf(const Value& value);

// One list of a list op: its keyword ("" for the explicit list, "prepend",
// "append", "add", "delete", "reorder") and the items as text.
struct ListOpPart {
    std::string keyword;
    std::string items;
};

// The parts of a list-op value in the order text files write them, or nullopt
// when the value is not a list op. An explicit list op without items gives
// one part with the items "None".
std::optional<std::vector<ListOpPart>> listOpParts(const Value& value);

} // namespace usd::usda
