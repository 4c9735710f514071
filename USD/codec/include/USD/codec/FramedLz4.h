#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// LZ4 blocks in the chunk framing every compressed byte string of a crate file uses: a chunk
// count byte (0 = one chunk filling the rest of the buffer), then for several chunks
// {i32 compressed length, LZ4 block} records of kMaxFramedChunkSize bytes each but the last.
namespace usd {

inline constexpr std::size_t kMaxFramedChunkSize = 0x7E000000;
inline constexpr std::size_t kMaxFramedChunks = 127;

std::vector<std::uint8_t> compressFramed(std::span<const std::uint8_t> input);

// Compresses into out, which must hold framedWorstCaseSize(input.size()) bytes, and returns
// the length used.
std::size_t compressFramedInto(std::span<const std::uint8_t> input, std::span<std::uint8_t> out);

// Decompresses into output and returns how many bytes were produced. Throws FormatError when
// the framing or a block is corrupt or would produce more than output.size() bytes.
std::size_t decompressFramed(std::span<const std::uint8_t> framed, std::span<std::uint8_t> output);

// The largest framed size an input of that many bytes can compress to.
std::size_t framedWorstCaseSize(std::size_t inputSize);

// The most bytes a framed buffer of that size could decompress to (LZ4 expands at most
// about 255:1), used to refuse absurd sizes before allocating.
std::uint64_t framedExpansionLimit(std::size_t framedSize);

} // namespace usd
