#pragma once

#include <USD/layer/Layer.h>
#include <string>
#include <string_view>
#include <vector>

// Reading back what one layer authors, as it is written (nothing composed): for the writer's
// self-check and the package checker.
namespace usd {

// The prim's type name ("" for none).
std::string primType(const Layer& layer, const Path& prim);
// The default value of the prim's attribute `name`, or null.
const Value* attributeValue(const Layer& layer, const Path& prim, std::string_view name);
// The attribute's type name, or "" when there is no such attribute.
std::string attributeType(const Layer& layer, const Path& attribute);
// Connection sources of an attribute, or targets of a relationship: the explicit items of an
// explicit list, else the items it adds.
std::vector<Path> pathsOf(const Layer& layer, const Path& property, std::string_view field);
// The prim's own properties (names), in authored order.
std::vector<std::string> propertyNames(const Layer& layer, const Path& prim);
// Whether the prim applies the named API schema.
bool appliesSchema(const Layer& layer, const Path& prim, std::string_view schema);
// The number of elements of an array value (0 for anything else).
std::size_t arrayLength(const Value* value);
// A token-valued default or metadata field, "" when absent.
std::string tokenOf(const Value* value);

} // namespace usd
