#pragma once

#include <string>
#include <string_view>

namespace scene::detail {

/// Throws KeyPathError naming the key path and what went wrong with it.
[[noreturn]] void failKeyPath(std::string_view keyPath, const std::string& reason);

} // namespace scene::detail
