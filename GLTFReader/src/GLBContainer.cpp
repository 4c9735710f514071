#include "GLBContainer.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <cstdint>
#include <string>
#include <string_view>

namespace gltf {
namespace {

constexpr std::uint32_t glbMagic = 0x46546C67;      // "glTF"
constexpr std::uint32_t jsonChunkType = 0x4E4F534A; // "JSON"
constexpr std::uint32_t binChunkType = 0x004E4942;  // "BIN\0"
constexpr std::uint64_t headerSize = 12;
constexpr std::uint64_t chunkHeaderSize = 8;

class GLBReader {
  public:
    explicit GLBReader(const ByteSlice& data) : data_(data) {}

    bool startsWithMagic() const {
        return data_.size >= sizeof(std::uint32_t) && readUnchecked(0) == glbMagic;
    }

    std::uint32_t field(std::uint64_t offset, std::string_view name) const {
        if (offset + sizeof(std::uint32_t) > data_.size) {
            throw GLTFUnarchiveError::dataInconsistent(
                "GLB: " + std::string(name) + " at byte " + std::to_string(offset) +
                " lies past the end of the data (" + std::to_string(data_.size) + " bytes)");
        }
        return readUnchecked(offset);
    }

    ByteSlice chunk(std::uint64_t offset, std::uint64_t length, int number) const {
        if (offset + length > data_.size) {
            throw GLTFUnarchiveError::dataInconsistent(
                "GLB: chunk " + std::to_string(number) + " of " + std::to_string(length) +
                " bytes at byte " + std::to_string(offset) + " runs past the end of the data (" +
                std::to_string(data_.size) + " bytes)");
        }
        return {.block = data_.block, .offset = data_.offset + offset, .size = length};
    }

  private:
    std::uint32_t readUnchecked(std::uint64_t offset) const {
        const std::uint8_t* bytes = data_.bytes().data() + offset;
        return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
               std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    }

    const ByteSlice& data_;
};

void requireChunkType(std::uint32_t type, std::uint32_t expected) {
    if (type != expected) {
        throw GLTFUnarchiveError::notSupported("chunkType " + std::to_string(type) +
                                               " is not supported");
    }
}

} // namespace

ContainerContents splitContainer(const ByteSlice& data) {
    const GLBReader reader(data);
    if (!reader.startsWithMagic()) {
        return {.jsonText = data, .binaryChunk = std::nullopt};
    }
    const std::uint32_t version = reader.field(4, "version");
    if (version != 2) {
        throw GLTFUnarchiveError::notSupported("version " + std::to_string(version) +
                                               " is not supported");
    }
    const std::uint64_t length = reader.field(8, "length");
    const std::uint64_t jsonLength = reader.field(headerSize, "chunk 0 length");
    requireChunkType(reader.field(headerSize + 4, "chunk 0 type"), jsonChunkType);

    ContainerContents contents{
        .jsonText = reader.chunk(headerSize + chunkHeaderSize, jsonLength, 0),
        .binaryChunk = std::nullopt,
    };
    // The header's total length alone decides whether a second chunk exists; bytes after the
    // JSON chunk that it does not cover are ignored, and so is any chunk after the second.
    const std::uint64_t binHeader = headerSize + chunkHeaderSize + jsonLength;
    if (binHeader < length) {
        const std::uint64_t binLength = reader.field(binHeader, "chunk 1 length");
        requireChunkType(reader.field(binHeader + 4, "chunk 1 type"), binChunkType);
        contents.binaryChunk = reader.chunk(binHeader + chunkHeaderSize, binLength, 1);
    }
    return contents;
}

} // namespace gltf
