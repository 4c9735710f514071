#pragma once

#include <cstdint>

namespace usd {

// IEEE 754 binary16, kept as its bit pattern so values round-trip exactly.
struct Half {
    std::uint16_t bits = 0;

    static Half fromFloat(float value);
    float toFloat() const;

    friend bool operator==(Half, Half) = default;
};

} // namespace usd
