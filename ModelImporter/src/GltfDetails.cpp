#include "GltfDetails.h"

#include "MadeAccessorBytes.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <simdjson.h>
#include <string>

namespace modelimporter {
namespace {

constexpr std::uint32_t glbMagic = 0x46546C67;      // "glTF"
constexpr std::uint32_t jsonChunkType = 0x4E4F534A; // "JSON"

std::optional<std::string> readBytes(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

std::uint32_t littleEndianWordAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i) {
        word = (word << 8) | static_cast<std::uint8_t>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return word;
}

// The JSON text of a .gltf file, or the JSON chunk of a binary container.
std::optional<std::string> documentText(const std::string& bytes) {
    constexpr std::size_t headerSize = 12;
    constexpr std::size_t chunkHeaderSize = 8;
    if (bytes.size() < headerSize || littleEndianWordAt(bytes, 0) != glbMagic) {
        return bytes;
    }
    if (bytes.size() < headerSize + chunkHeaderSize ||
        littleEndianWordAt(bytes, headerSize + 4) != jsonChunkType) {
        return std::nullopt;
    }
    const std::size_t length = littleEndianWordAt(bytes, headerSize);
    if (length > bytes.size() - headerSize - chunkHeaderSize) {
        return std::nullopt;
    }
    return bytes.substr(headerSize + chunkHeaderSize, length);
}

} // namespace

GltfDetails gltfDetailsOf(const std::string& fileBytes) {
    const auto text = documentText(fileBytes);
    simdjson::dom::parser parser;
    simdjson::dom::element document;
    if (!text || parser.parse(simdjson::padded_string(*text)).get(document) != simdjson::SUCCESS) {
        return {};
    }
    return {readPrimitiveEncodings(document), readSteppedChannels(document),
            measureNodeGraph(document), madeAccessorBytes(document)};
}

GltfDetails readGltfDetails(const std::filesystem::path& file) {
    const auto bytes = readBytes(file);
    return bytes ? gltfDetailsOf(*bytes) : GltfDetails{};
}

} // namespace modelimporter
