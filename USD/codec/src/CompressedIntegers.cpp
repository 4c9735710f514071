#include <USD/codec/CompressedIntegers.h>
#include <USD/codec/FramedLz4.h>
#include <cstring>
#include <stdexcept>
#include <string>

namespace usd {

template <CodedInteger T> ScratchBytes codeIntegers(std::span<const T> values) {
    ScratchBytes coded(maxEncodedIntegersSize<T>(values.size()));
    coded.truncate(encodeIntegersInto(values, coded.bytes()));
    return coded;
}

std::size_t compressedBlockWorstCaseSize(std::size_t codedSize) {
    return sizeof(std::uint64_t) + framedWorstCaseSize(codedSize);
}

std::size_t compressCodedIntegersInto(std::span<const std::uint8_t> coded,
                                      std::span<std::uint8_t> out) {
    if (out.size() < compressedBlockWorstCaseSize(coded.size()))
        throw std::length_error("an integer block needs room for its worst case");
    const std::uint64_t length = compressFramedInto(coded, out.subspan(sizeof length));
    std::memcpy(out.data(), &length, sizeof length);
    return sizeof length + length;
}

template <CodedInteger T>
std::vector<std::uint8_t> compressIntegerBlock(std::span<const T> values) {
    const ScratchBytes coded = codeIntegers(values);
    std::vector<std::uint8_t> block(compressedBlockWorstCaseSize(coded.bytes().size()));
    block.resize(compressCodedIntegersInto(coded.bytes(), block));
    return block;
}

template <CodedInteger T>
std::vector<T> readCompressedIntegers(ByteReader& reader, std::size_t count) {
    const std::size_t blockStart = reader.position();
    const auto framed = reader.readBytes(reader.read<std::uint64_t>());
    const std::uint64_t expansionLimit = framedExpansionLimit(framed.size());
    if (minEncodedIntegersSize<T>(count) > expansionLimit) {
        throw FormatError("compressed integers at offset " + std::to_string(blockStart) + ": " +
                          std::to_string(framed.size()) + " bytes cannot hold " +
                          std::to_string(count) + " values");
    }
    const auto codedCapacity = static_cast<std::size_t>(
        std::min<std::uint64_t>(maxEncodedIntegersSize<T>(count), expansionLimit));
    const ScratchBytes coded(codedCapacity);
    try {
        const std::size_t codedSize = decompressFramed(framed, coded.bytes());
        return decodeIntegers<T>(coded.bytes().first(codedSize), count);
    } catch (const FormatError& error) {
        throw FormatError("compressed integers at offset " + std::to_string(blockStart) + ": " +
                          error.what());
    }
}

template ScratchBytes codeIntegers(std::span<const std::int32_t>);
template ScratchBytes codeIntegers(std::span<const std::uint32_t>);
template ScratchBytes codeIntegers(std::span<const std::int64_t>);
template ScratchBytes codeIntegers(std::span<const std::uint64_t>);
template std::vector<std::uint8_t> compressIntegerBlock(std::span<const std::int32_t>);
template std::vector<std::uint8_t> compressIntegerBlock(std::span<const std::uint32_t>);
template std::vector<std::uint8_t> compressIntegerBlock(std::span<const std::int64_t>);
template std::vector<std::uint8_t> compressIntegerBlock(std::span<const std::uint64_t>);
template std::vector<std::int32_t> readCompressedIntegers(ByteReader&, std::size_t);
template std::vector<std::uint32_t> readCompressedIntegers(ByteReader&, std::size_t);
template std::vector<std::int64_t> readCompressedIntegers(ByteReader&, std::size_t);
template std::vector<std::uint64_t> readCompressedIntegers(ByteReader&, std::size_t);

} // namespace usd
