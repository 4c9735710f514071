#include "ComponentReading.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <glm/gtc/packing.hpp>

namespace scene::detail {

static_assert(std::endian::native == std::endian::little,
              "geometry bytes are read in place as little-endian numbers");

std::uint64_t readUnsigned(const std::uint8_t* at, int bytes) {
    std::uint64_t value = 0;
    std::memcpy(&value, at, static_cast<std::size_t>(bytes));
    return value;
}

double readInteger(const std::uint8_t* at, int bytes, bool isSigned) {
    const std::uint64_t raw = readUnsigned(at, bytes);
    if (!isSigned) {
        return static_cast<double>(raw);
    }
    const int unusedBits = 64 - 8 * bytes;
    return static_cast<double>(static_cast<std::int64_t>(raw << unusedBits) >> unusedBits);
}

double readFloat(const std::uint8_t* at, int bytes) {
    switch (bytes) {
    case 2:
        return glm::unpackHalf1x16(static_cast<glm::uint16>(readUnsigned(at, 2)));
    case 4: {
        float value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    default: {
        double value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    }
}

double normalizeInteger(double value, int bytes, bool isSigned) {
    const double unsignedMax = std::ldexp(1.0, 8 * bytes) - 1.0;
    if (!isSigned) {
        return value / unsignedMax;
    }
    const double signedMax = std::ldexp(1.0, 8 * bytes - 1) - 1.0;
    return std::max(value / signedMax, -1.0);
}

bool isValidIntegerSize(int bytes) {
    return bytes == 1 || bytes == 2 || bytes == 4 || bytes == 8;
}

bool isValidFloatSize(int bytes) {
    return bytes == 2 || bytes == 4 || bytes == 8;
}

} // namespace scene::detail
