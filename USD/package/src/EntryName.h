#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace usd {

// Why `name` is not a safe file name inside a package (absolute, escaping the
// package with "..", backslashes, control characters …), or nullopt when it is
// safe. Reader and writer apply the same rules.
std::optional<std::string> entryNameProblem(std::string_view name);

// `name` quoted for a message, with bytes that a terminal would interpret
// shown as \xNN.
std::string quotedEntryName(std::string_view name);

// Whether `name` has an extension of a USD layer (usd, usda, usdc), the only
// kinds of file a package may start with.
bool isLayerFileName(std::string_view name);

} // namespace usd
