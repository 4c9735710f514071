#include "Inlining.h"

#include <bit>
#include <cmath>
#include <limits>

namespace usd::crate {

std::uint32_t inlineWord(bool value) {
    return value ? 1 : 0;
}
std::uint32_t inlineWord(std::uint8_t value) {
    return value;
}
std::uint32_t inlineWord(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}
std::uint32_t inlineWord(std::uint32_t value) {
    return value;
}
std::uint32_t inlineWord(Half value) {
    return value.bits;
}
std::uint32_t inlineWord(float value) {
    return std::bit_cast<std::uint32_t>(value);
}
std::uint32_t inlineWord(Vec2h value) {
    return value[0].bits | static_cast<std::uint32_t>(value[1].bits) << 16;
}
std::uint32_t inlineWord(Specifier value) {
    return static_cast<std::uint32_t>(value);
}
std::uint32_t inlineWord(Permission value) {
    return static_cast<std::uint32_t>(value);
}
std::uint32_t inlineWord(Variability value) {
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> tryInlineWord(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

std::optional<std::uint32_t> tryInlineWord(std::uint64_t value) {
    if (value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> tryInlineWord(double value) {
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    const auto narrowed = static_cast<float>(value);
    if (static_cast<double>(narrowed) != value)
        return std::nullopt;
    return std::bit_cast<std::uint32_t>(narrowed);
}

std::optional<std::uint32_t> tryInlineWord(const Dictionary& value) {
    return value.empty() ? std::optional<std::uint32_t>(0) : std::nullopt;
}

std::optional<std::int8_t> inlineComponent(double value) {
    if (!(value >= -128.0 && value <= 127.0) || value != std::trunc(value) ||
        std::signbit(value) != (value < 0))
        return std::nullopt;
    return static_cast<std::int8_t>(value);
}

std::optional<std::int8_t> inlineComponent(float value) {
    return inlineComponent(static_cast<double>(value));
}

std::optional<std::int8_t> inlineComponent(Half value) {
    return inlineComponent(value.toFloat());
}

std::optional<std::int8_t> inlineComponent(std::int32_t value) {
    return inlineComponent(static_cast<double>(value));
}

} // namespace usd::crate
