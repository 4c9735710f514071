#pragma once

#include <USD/codec/ByteReader.h>
#include <USD/codec/IntegerCoding.h>
#include <USD/codec/MemoryPages.h>
#include <cstdint>
#include <span>
#include <vector>

// A compressed integer block as files store it: u64 byte length, then a framed LZ4 buffer
// holding the integer-coded values. The value count is never stored; it comes from context.
namespace usd {

template <CodedInteger T> std::vector<std::uint8_t> compressIntegerBlock(std::span<const T> values);

// The same block in two steps, for writers that compress big arrays straight into their output:
// the values coded in scratch space, then the block those coded bytes make, written into `out`,
// which must hold compressedBlockWorstCaseSize(coded.size()) bytes. Returns the bytes used.
template <CodedInteger T> ScratchBytes codeIntegers(std::span<const T> values);
std::size_t compressedBlockWorstCaseSize(std::size_t codedSize);
std::size_t compressCodedIntegersInto(std::span<const std::uint8_t> coded,
                                      std::span<std::uint8_t> out);

// Reads one block at the reader's position and decodes exactly count values.
template <CodedInteger T>
std::vector<T> readCompressedIntegers(ByteReader& reader, std::size_t count);

} // namespace usd
