#include "VertexEncodings.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <simdjson.h>
#include <string>

namespace modelimporter {
namespace {

constexpr std::uint32_t glbMagic = 0x46546C67;      // "glTF"
constexpr std::uint32_t jsonChunkType = 0x4E4F534A; // "JSON"
constexpr std::int64_t floatComponentType = 5126;

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

template <class T> T fieldOr(simdjson::dom::element object, const char* key, T fallback) {
    T value;
    return object[key].get(value) == simdjson::SUCCESS ? value : fallback;
}

int componentCount(std::string_view type) {
    if (type == "SCALAR") {
        return 1;
    }
    if (type.size() == 4 && type.starts_with("VEC")) {
        return type[3] - '0';
    }
    return 0;
}

std::optional<IntegerEncoding> integerEncoding(simdjson::dom::array accessors,
                                               simdjson::dom::element attributes,
                                               const char* name) {
    std::uint64_t index = 0;
    if (attributes[name].get(index) != simdjson::SUCCESS || index >= accessors.size()) {
        return std::nullopt;
    }
    simdjson::dom::element accessor;
    if (accessors.at(index).get(accessor) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    const auto componentType = fieldOr<std::int64_t>(accessor, "componentType", floatComponentType);
    if (componentType == floatComponentType) {
        return std::nullopt;
    }
    return IntegerEncoding{static_cast<int>(componentType), fieldOr(accessor, "normalized", false),
                           componentCount(fieldOr<std::string_view>(accessor, "type", ""))};
}

PrimitiveEncodings encodingsOf(simdjson::dom::array accessors, simdjson::dom::element primitive) {
    PrimitiveEncodings encodings;
    simdjson::dom::element attributes;
    if (primitive["attributes"].get(attributes) != simdjson::SUCCESS) {
        return encodings;
    }
    encodings.position = integerEncoding(accessors, attributes, "POSITION");
    encodings.normal = integerEncoding(accessors, attributes, "NORMAL");
    for (std::size_t channel = 0; channel < encodings.texcoords.size(); ++channel) {
        const std::string name = "TEXCOORD_" + std::to_string(channel);
        encodings.texcoords[channel] = integerEncoding(accessors, attributes, name.c_str());
    }
    return encodings;
}

} // namespace

std::optional<std::vector<PrimitiveEncodings>>
readPrimitiveEncodings(const std::filesystem::path& file) {
    const auto bytes = readBytes(file);
    const auto text = bytes ? documentText(*bytes) : std::nullopt;
    simdjson::dom::parser parser;
    simdjson::dom::element document;
    if (!text || parser.parse(simdjson::padded_string(*text)).get(document) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    simdjson::dom::array accessors;
    simdjson::dom::array meshes;
    if (document["accessors"].get(accessors) != simdjson::SUCCESS ||
        document["meshes"].get(meshes) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    std::vector<PrimitiveEncodings> encodings;
    for (simdjson::dom::element mesh : meshes) {
        simdjson::dom::array primitives;
        if (mesh["primitives"].get(primitives) == simdjson::SUCCESS) {
            for (simdjson::dom::element primitive : primitives) {
                encodings.push_back(encodingsOf(accessors, primitive));
            }
        }
    }
    return encodings;
}

} // namespace modelimporter
