#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace scene::detail {

/// The name of an enumerator from a table listing the names in enumerator order, starting at
/// the enumerator whose value is `firstValue`.
template <class Enum, std::size_t N>
std::string_view enumName(const std::array<std::string_view, N>& names, Enum value,
                          int firstValue = 0) {
    const auto index = static_cast<std::size_t>(static_cast<int>(value) - firstValue);
    return index < N ? names[index] : std::string_view("unknown");
}

} // namespace scene::detail
