#pragma once

#include <USD/ByteReader.h>
#include <USD/IntegerCoding.h>
#include <cstdint>
#include <span>
#include <vector>

// A compressed integer block as files store it: u64 byte length, then a framed LZ4 buffer
// holding the integer-coded values. The value count is never stored; it comes from context.
namespace usd {

template <CodedInteger T> std::vector<std::uint8_t> compressIntegerBlock(std::span<const T> values);

// Reads one block at the reader's position and decodes exactly count values.
template <CodedInteger T>
std::vector<T> readCompressedIntegers(ByteReader& reader, std::size_t count);

} // namespace usd
