#include "NumberFormatting.h"

#include <charconv>

namespace scene::detail {

std::string formatNumber(double number) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

} // namespace scene::detail
