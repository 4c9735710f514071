// Reads a Draco mesh's header as far as its face count, the way the library reads it: fixed
// 32-bit counts before bitstream 2.0 (sequential meshes until 2.2), variable-length ones after.
#include "DracoMeshCounts.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace gltf::extensions {
namespace {

constexpr std::array<std::uint8_t, 5> kMagic{'D', 'R', 'A', 'C', 'O'};
constexpr std::uint8_t kTriangularMesh = 1;
constexpr std::uint8_t kSequentialEncoding = 0;
constexpr std::uint8_t kEdgebreakerEncoding = 1;
constexpr std::uint8_t kStandardTraversal = 0;
constexpr std::uint16_t kMetadataFlag = 0x8000;
constexpr std::uint64_t kEntropyCodedFacesPerByte = 1024;

constexpr std::uint16_t version(std::uint8_t major, std::uint8_t minor) {
    return static_cast<std::uint16_t>(major << 8 | minor);
}

// Reads little-endian values; past the end it reads zeros and remembers that it ran out.
class HeaderReader {
  public:
    explicit HeaderReader(std::span<const std::uint8_t> data) : data_(data) {}

    bool ranOut() const { return ranOut_; }
    std::size_t remaining() const { return data_.size() - at_; }

    std::uint8_t byte() {
        if (at_ >= data_.size()) {
            ranOut_ = true;
            return 0;
        }
        return data_[at_++];
    }

    std::uint32_t word() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8)
            value |= std::uint32_t{byte()} << shift;
        return value;
    }

    std::uint16_t halfWord() {
        const std::uint8_t low = byte();
        return static_cast<std::uint16_t>(low | byte() << 8);
    }

    // Seven bits a byte, lowest first, in at most five bytes; higher bits are dropped.
    std::uint32_t varint() {
        std::uint64_t value = 0;
        for (int index = 0; index < 5; ++index) {
            const std::uint8_t next = byte();
            value |= std::uint64_t{next & 0x7Fu} << (7 * index);
            if ((next & 0x80) == 0)
                return static_cast<std::uint32_t>(value);
        }
        ranOut_ = true; // the library refuses a longer one
        return 0;
    }

    std::uint32_t count(bool fixedWidth) { return fixedWidth ? word() : varint(); }

    void skip(std::size_t length) {
        if (length > remaining()) {
            ranOut_ = true;
            at_ = data_.size();
            return;
        }
        at_ += length;
    }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
    bool ranOut_ = false;
};

// One block of named values; every block but a tree's root has a name of its own.
void skipMetadataBlock(HeaderReader& reader, bool named) {
    if (named)
        reader.skip(reader.byte());
    const std::uint32_t entries = reader.varint();
    for (std::uint32_t entry = 0; entry < entries && !reader.ranOut(); ++entry) {
        reader.skip(reader.byte());
        reader.skip(reader.varint());
    }
}

// A tree of blocks, each followed by the number of its children, which come after it.
void skipMetadataTree(HeaderReader& reader) {
    std::uint64_t pending = 1;
    for (bool named = false; pending > 0 && !reader.ranOut(); named = true) {
        skipMetadataBlock(reader, named);
        pending += reader.varint();
        --pending;
    }
}

void skipMetadata(HeaderReader& reader) {
    const std::uint32_t attributes = reader.varint();
    for (std::uint32_t attribute = 0; attribute < attributes && !reader.ranOut(); ++attribute) {
        reader.varint(); // the attribute's id
        skipMetadataTree(reader);
    }
    skipMetadataTree(reader);
}

DracoMeshCounts sequentialCounts(HeaderReader& reader, std::uint16_t bitstream, std::size_t size) {
    const std::uint32_t faces = reader.count(bitstream < version(2, 2));
    return {.faces = faces, .mostFacesInData = size / 3};
}

DracoMeshCounts edgebreakerCounts(HeaderReader& reader, std::uint16_t bitstream, std::size_t size) {
    const bool fixedWidth = bitstream < version(2, 0);
    const std::uint8_t traversal = reader.byte();
    if (bitstream < version(2, 2))
        reader.count(fixedWidth); // vertices added by the traversal
    reader.count(fixedWidth);     // vertices coded
    const std::uint32_t faces = reader.count(fixedWidth);
    const std::uint64_t mostFaces = traversal == kStandardTraversal
                                        ? std::uint64_t{size} * 8 * 4 / 3
                                        : std::uint64_t{size} * kEntropyCodedFacesPerByte;
    return {.faces = faces, .mostFacesInData = mostFaces};
}

} // namespace

std::optional<DracoMeshCounts> dracoMeshCounts(std::span<const std::uint8_t> data) {
    if (data.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), data.begin()))
        return std::nullopt;
    HeaderReader reader(data.subspan(kMagic.size()));
    const std::uint8_t major = reader.byte();
    const std::uint16_t bitstream = version(major, reader.byte());
    const std::uint8_t geometry = reader.byte();
    const std::uint8_t method = reader.byte();
    const std::uint16_t flags = reader.halfWord();
    if (geometry != kTriangularMesh)
        return std::nullopt;
    if (bitstream >= version(1, 3) && (flags & kMetadataFlag) != 0)
        skipMetadata(reader);
    std::optional<DracoMeshCounts> counts;
    if (method == kSequentialEncoding)
        counts = sequentialCounts(reader, bitstream, data.size());
    else if (method == kEdgebreakerEncoding)
        counts = edgebreakerCounts(reader, bitstream, data.size());
    if (reader.ranOut())
        return std::nullopt;
    return counts;
}

} // namespace gltf::extensions
