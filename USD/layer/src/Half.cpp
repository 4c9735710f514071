#include <USD/layer/Half.h>
#include <bit>
#include <cmath>

namespace usd {

namespace {

constexpr std::uint32_t kFloatExponentBias = 127;
constexpr std::uint32_t kHalfExponentBias = 15;

std::uint16_t roundedMantissaShift(std::uint32_t mantissa, int shift) {
    // Round to nearest, ties to even, as hardware conversions do.
    const std::uint32_t halfway = 1u << (shift - 1);
    const std::uint32_t remainder = mantissa & ((1u << shift) - 1);
    std::uint32_t result = mantissa >> shift;
    if (remainder > halfway || (remainder == halfway && (result & 1u))) {
        ++result;
    }
    return static_cast<std::uint16_t>(result);
}

} // namespace

Half Half::fromFloat(float value) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const auto sign = static_cast<std::uint16_t>((bits >> 16) & 0x8000u);
    const std::uint32_t exponent = (bits >> 23) & 0xFFu;
    const std::uint32_t mantissa = bits & 0x7FFFFFu;

    if (exponent == 0xFF) {
        const std::uint16_t nanBits = mantissa ? 0x0200u : 0u;
        return Half{static_cast<std::uint16_t>(sign | 0x7C00u | nanBits)};
    }
    const int unbiased = static_cast<int>(exponent) - static_cast<int>(kFloatExponentBias);
    if (unbiased > 15) {
        return Half{static_cast<std::uint16_t>(sign | 0x7C00u)};
    }
    if (unbiased >= -14) {
        const auto halfExponent = static_cast<std::uint32_t>(unbiased + kHalfExponentBias);
        // A carry out of the mantissa correctly bumps the exponent (up to infinity).
        const std::uint32_t combined = (halfExponent << 10) + roundedMantissaShift(mantissa, 13);
        return Half{static_cast<std::uint16_t>(sign | combined)};
    }
    if (unbiased < -25) {
        return Half{sign};
    }
    // Subnormal half: shift the mantissa with its implicit leading one.
    const std::uint32_t full = mantissa | 0x800000u;
    const int shift = 13 + (-14 - unbiased);
    return Half{static_cast<std::uint16_t>(sign | roundedMantissaShift(full, shift))};
}

float Half::toFloat() const {
    const std::uint32_t sign = static_cast<std::uint32_t>(bits & 0x8000u) << 16;
    const std::uint32_t exponent = (bits >> 10) & 0x1Fu;
    const std::uint32_t mantissa = bits & 0x3FFu;
    if (exponent == 0x1F) {
        return std::bit_cast<float>(sign | 0x7F800000u | (mantissa << 13));
    }
    if (exponent == 0) {
        const float magnitude = std::ldexp(static_cast<float>(mantissa), -24);
        return sign ? -magnitude : magnitude;
    }
    const std::uint32_t floatExponent = exponent - kHalfExponentBias + kFloatExponentBias;
    return std::bit_cast<float>(sign | (floatExponent << 23) | (mantissa << 13));
}

} // namespace usd
