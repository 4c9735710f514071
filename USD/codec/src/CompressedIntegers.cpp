#include <USD/CompressedIntegers.h>
#include <USD/FramedLz4.h>
#include <cstring>
#include <memory>
#include <string>

namespace usd {

namespace {

// Scratch space for coding big arrays: left uninitialised, so that only the bytes actually
// produced are ever touched.
std::unique_ptr<std::uint8_t[]> scratch(std::size_t size) {
    return std::make_unique_for_overwrite<std::uint8_t[]>(size);
}

} // namespace

template <CodedInteger T>
std::vector<std::uint8_t> compressIntegerBlock(std::span<const T> values) {
    const std::size_t codedCapacity = maxEncodedIntegersSize<T>(values.size());
    const auto coded = scratch(codedCapacity);
    const std::size_t codedSize = encodeIntegersInto(values, {coded.get(), codedCapacity});
    const std::size_t framedCapacity = framedWorstCaseSize(codedSize);
    const auto framed = scratch(framedCapacity);
    const std::uint64_t length =
        compressFramedInto({coded.get(), codedSize}, {framed.get(), framedCapacity});
    std::vector<std::uint8_t> block(sizeof length + length);
    std::memcpy(block.data(), &length, sizeof length);
    std::memcpy(block.data() + sizeof length, framed.get(), length);
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
    const auto coded = scratch(codedCapacity);
    try {
        const std::size_t codedSize = decompressFramed(framed, {coded.get(), codedCapacity});
        return decodeIntegers<T>({coded.get(), codedSize}, count);
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
