#include <USD/CompressedIntegers.h>
#include <USD/FramedLz4.h>
#include <cstring>
#include <string>

namespace usd {

template <CodedInteger T>
std::vector<std::uint8_t> compressIntegerBlock(std::span<const T> values) {
    const std::vector<std::uint8_t> framed = compressFramed(encodeIntegers(values));
    const std::uint64_t length = framed.size();
    std::vector<std::uint8_t> block(sizeof length + framed.size());
    std::memcpy(block.data(), &length, sizeof length);
    std::memcpy(block.data() + sizeof length, framed.data(), framed.size());
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
    std::vector<std::uint8_t> coded(static_cast<std::size_t>(
        std::min<std::uint64_t>(maxEncodedIntegersSize<T>(count), expansionLimit)));
    try {
        coded.resize(decompressFramed(framed, coded));
        return decodeIntegers<T>(coded, count);
    } catch (const FormatError& error) {
        throw FormatError("compressed integers at offset " + std::to_string(blockStart) + ": " +
                          error.what());
    }
}

template std::vector<std::uint8_t> compressIntegerBlock(std::span<const std::int32_t>);
template std::vector<std::uint8_t> compressIntegerBlock(std::span<const std::uint32_t>);
template std::vector<std::uint8_t> compressIntegerBlock(std::span<const std::int64_t>);
template std::vector<std::uint8_t> compressIntegerBlock(std::span<const std::uint64_t>);
template std::vector<std::int32_t> readCompressedIntegers(ByteReader&, std::size_t);
template std::vector<std::uint32_t> readCompressedIntegers(ByteReader&, std::size_t);
template std::vector<std::int64_t> readCompressedIntegers(ByteReader&, std::size_t);
template std::vector<std::uint64_t> readCompressedIntegers(ByteReader&, std::size_t);

} // namespace usd
