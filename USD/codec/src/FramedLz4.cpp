#include <USD/codec/FormatError.h>
#include <USD/codec/FramedLz4.h>
#include <algorithm>
#include <cstring>
#include <limits>
#include <lz4.h>
#include <stdexcept>
#include <string>

namespace usd {

namespace {

std::size_t chunkCount(std::size_t inputSize) {
    return std::max<std::size_t>(1, (inputSize + kMaxFramedChunkSize - 1) / kMaxFramedChunkSize);
}

int compressBlock(std::span<const std::uint8_t> input, std::uint8_t* destination) {
    const int inputSize = static_cast<int>(input.size());
    const int written = LZ4_compress_default(reinterpret_cast<const char*>(input.data()),
                                             reinterpret_cast<char*>(destination), inputSize,
                                             LZ4_compressBound(inputSize));
    if (written <= 0) {
        throw std::runtime_error("LZ4 compression failed");
    }
    return written;
}

std::size_t decompressBlock(std::span<const std::uint8_t> block, std::span<std::uint8_t> output) {
    if (block.empty() || block.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw FormatError("compressed block of " + std::to_string(block.size()) +
                          " bytes is invalid");
    }
    const int capacity =
        static_cast<int>(std::min<std::size_t>(output.size(), std::numeric_limits<int>::max()));
    const int produced = LZ4_decompress_safe(reinterpret_cast<const char*>(block.data()),
                                             reinterpret_cast<char*>(output.data()),
                                             static_cast<int>(block.size()), capacity);
    if (produced < 0) {
        throw FormatError("corrupt LZ4 block (" + std::to_string(block.size()) +
                          " bytes, at most " + std::to_string(output.size()) + " expected)");
    }
    return static_cast<std::size_t>(produced);
}

std::size_t decompressChunks(std::span<const std::uint8_t> framed, std::size_t chunks,
                             std::span<std::uint8_t> output) {
    std::size_t position = 1;
    std::size_t produced = 0;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
        std::int32_t length = 0;
        if (framed.size() - position < sizeof length) {
            throw FormatError("compressed chunk header runs past the end of its buffer");
        }
        std::memcpy(&length, framed.data() + position, sizeof length);
        position += sizeof length;
        if (length <= 0 || static_cast<std::size_t>(length) > framed.size() - position) {
            throw FormatError("compressed chunk length " + std::to_string(length) +
                              " does not fit its buffer");
        }
        const auto room =
            output.subspan(produced, std::min(kMaxFramedChunkSize, output.size() - produced));
        const std::size_t size = decompressBlock(framed.subspan(position, length), room);
        if (chunk + 1 < chunks && size != kMaxFramedChunkSize) {
            throw FormatError("compressed chunk other than the last one is not full");
        }
        produced += size;
        position += static_cast<std::size_t>(length);
    }
    return produced;
}

} // namespace

std::size_t framedWorstCaseSize(std::size_t inputSize) {
    const std::size_t chunks = chunkCount(inputSize);
    const std::size_t bound = static_cast<std::size_t>(
        LZ4_compressBound(static_cast<int>(std::min(inputSize, kMaxFramedChunkSize))));
    return 1 + chunks * (bound + (chunks > 1 ? sizeof(std::int32_t) : 0));
}

std::uint64_t framedExpansionLimit(std::size_t framedSize) {
    return static_cast<std::uint64_t>(framedSize) * 255 + 64;
}

std::size_t compressFramedInto(std::span<const std::uint8_t> input, std::span<std::uint8_t> out) {
    if (input.size() > kMaxFramedChunkSize * kMaxFramedChunks) {
        throw std::length_error("data too large to compress");
    }
    if (out.size() < framedWorstCaseSize(input.size())) {
        throw std::length_error("framed compression needs room for its worst case");
    }
    const std::size_t chunks = chunkCount(input.size());
    if (chunks == 1) {
        out[0] = 0;
        return 1 + static_cast<std::size_t>(compressBlock(input, out.data() + 1));
    }
    out[0] = static_cast<std::uint8_t>(chunks);
    std::size_t position = 1;
    for (std::size_t offset = 0; offset < input.size(); offset += kMaxFramedChunkSize) {
        const auto piece =
            input.subspan(offset, std::min(kMaxFramedChunkSize, input.size() - offset));
        const std::int32_t length =
            compressBlock(piece, out.data() + position + sizeof(std::int32_t));
        std::memcpy(out.data() + position, &length, sizeof length);
        position += sizeof length + static_cast<std::size_t>(length);
    }
    return position;
}

std::vector<std::uint8_t> compressFramed(std::span<const std::uint8_t> input) {
    std::vector<std::uint8_t> framed(framedWorstCaseSize(input.size()));
    framed.resize(compressFramedInto(input, framed));
    return framed;
}

std::size_t decompressFramed(std::span<const std::uint8_t> framed, std::span<std::uint8_t> output) {
    if (framed.empty()) {
        throw FormatError("compressed buffer is empty");
    }
    const std::size_t chunks = framed[0];
    if (chunks == 0) {
        return decompressBlock(framed.subspan(1), output);
    }
    if (chunks > kMaxFramedChunks) {
        throw FormatError("compressed buffer claims " + std::to_string(chunks) +
                          " chunks; at most 127 are possible");
    }
    return decompressChunks(framed, chunks, output);
}

} // namespace usd
