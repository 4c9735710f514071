#pragma once

#include <cstdint>

namespace scene::detail {

/// Reads one little-endian unsigned integer of 1, 2, 4 or 8 bytes.
std::uint64_t readUnsigned(const std::uint8_t* at, int bytes);

/// Reads one little-endian integer of 1, 2, 4 or 8 bytes as a number.
double readInteger(const std::uint8_t* at, int bytes, bool isSigned);

/// Reads one little-endian float of 2 (half), 4 or 8 bytes.
double readFloat(const std::uint8_t* at, int bytes);

/// Maps an integer component to [0, 1] (unsigned) or [-1, 1] (signed) by its type's range.
double normalizeInteger(double value, int bytes, bool isSigned);

bool isValidIntegerSize(int bytes);
bool isValidFloatSize(int bytes);

} // namespace scene::detail
