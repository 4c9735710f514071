#pragma once

#include <USD/codec/ByteReader.h>
#include <USD/layer/Half.h>
#include <concepts>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The two compressed forms of half/float/double arrays: 'i' when every element is a whole
// number (stored as compressed i32), 't' when few distinct values occur (a lookup table plus
// compressed u32 indexes). Both forms follow the array's element count in the file.
namespace usd {

template <typename T>
concept CompressibleFloat =
    std::same_as<T, Half> || std::same_as<T, float> || std::same_as<T, double>;

inline constexpr std::uint8_t kWholeNumberFloatCode = 'i';
inline constexpr std::uint8_t kLookupTableFloatCode = 't';

// The code byte and body of the first form that applies ('i', then 't'), or nothing when
// neither does. Both forms keep every value bit for bit, negative zero included.
template <CompressibleFloat T>
std::optional<std::vector<std::uint8_t>> compressFloatArray(std::span<const T> values);

// Reads a code byte and its body at the reader's position, producing count values.
template <CompressibleFloat T>
std::vector<T> readCompressedFloatArray(ByteReader& reader, std::size_t count);

} // namespace usd
