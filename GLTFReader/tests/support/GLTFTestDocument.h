#pragma once

// A tiny builder for test inputs: a glTF document from a few JSON members, packed as JSON text
// or as a GLB container with an optional binary chunk, plus data URIs for embedded buffers.

#include <GLTFReader/ByteSlice.h>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gltf::testing {

constexpr std::uint32_t jsonChunkType = 0x4E4F534A;
constexpr std::uint32_t binChunkType = 0x004E4942;

inline ByteBlock blockOf(std::vector<std::uint8_t> bytes) {
    return scene::makeBytes(std::move(bytes));
}

inline ByteBlock blockOf(std::string_view text) {
    return blockOf(std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline void appendUInt32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline std::string base64(const std::vector<std::uint8_t>& bytes) {
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t available = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group = group << 8 | (k < available ? bytes[i + k] : 0);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            text += k <= available ? alphabet[(group >> (18 - 6 * k)) & 63] : '=';
        }
    }
    return text;
}

// Numbers in little-endian order, as a buffer of a test document holds them.
class TestBytes {
  public:
    template <class Number> TestBytes& append(std::initializer_list<Number> numbers) {
        for (const Number number : numbers) {
            const auto* first = reinterpret_cast<const std::uint8_t*>(&number);
            bytes_.insert(bytes_.end(), first, first + sizeof number);
        }
        return *this;
    }

    TestBytes& floats(std::initializer_list<float> numbers) { return append(numbers); }

    TestBytes& appendBytes(const std::vector<std::uint8_t>& bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }

    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

inline std::string dataUri(const std::vector<std::uint8_t>& bytes,
                           std::string_view mediaType = "application/octet-stream") {
    return "data:" + std::string(mediaType) + ";base64," + base64(bytes);
}

// A "buffers" member with one buffer embedded as a data URI.
inline std::string embeddedBuffer(const TestBytes& bytes) {
    return R"("buffers": [{"uri": ")" + dataUri(bytes.bytes()) + R"(", "byteLength": )" +
           std::to_string(bytes.size()) + "}]";
}

// One chunk of a GLB container, as written: its declared length, type and bytes.
struct GLBChunk {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};

class GLTFTestDocument {
  public:
    // `members` are the document's JSON members besides "asset", e.g. R"("nodes": [{}])".
    explicit GLTFTestDocument(std::string_view members = "") {
        json_ = R"({"asset": {"version": "2.0"})";
        if (!members.empty()) {
            json_ += ", " + std::string(members);
        }
        json_ += "}";
    }

    static GLTFTestDocument fromJson(std::string json) {
        GLTFTestDocument document;
        document.json_ = std::move(json);
        return document;
    }

    GLTFTestDocument& withBinaryChunk(std::vector<std::uint8_t> bytes) {
        binaryChunk_ = std::move(bytes);
        return *this;
    }

    const std::string& json() const { return json_; }

    ByteBlock gltf() const { return blockOf(json_); }

    // The JSON chunk padded with spaces and the binary chunk with zeros, as writers do.
    std::vector<GLBChunk> chunks() const {
        std::vector<GLBChunk> chunks{{jsonChunkType, padded(json_, ' ')}};
        if (binaryChunk_) {
            chunks.push_back({binChunkType, padded(*binaryChunk_, 0)});
        }
        return chunks;
    }

    ByteBlock glb() const { return blockOf(glbBytes(chunks())); }

    // A GLB container around any chunks; `declaredLength` replaces the header's total length.
    static std::vector<std::uint8_t> glbBytes(const std::vector<GLBChunk>& chunks,
                                              std::uint32_t version = 2,
                                              std::optional<std::uint32_t> declaredLength = {}) {
        std::vector<std::uint8_t> body;
        for (const GLBChunk& chunk : chunks) {
            appendUInt32(body, static_cast<std::uint32_t>(chunk.data.size()));
            appendUInt32(body, chunk.type);
            body.insert(body.end(), chunk.data.begin(), chunk.data.end());
        }
        std::vector<std::uint8_t> bytes;
        appendUInt32(bytes, 0x46546C67);
        appendUInt32(bytes, version);
        appendUInt32(bytes, declaredLength.value_or(static_cast<std::uint32_t>(12 + body.size())));
        bytes.insert(bytes.end(), body.begin(), body.end());
        return bytes;
    }

  private:
    template <class Bytes>
    static std::vector<std::uint8_t> padded(const Bytes& bytes, std::uint8_t filler) {
        std::vector<std::uint8_t> result(bytes.begin(), bytes.end());
        result.resize((result.size() + 3) / 4 * 4, filler);
        return result;
    }

    std::string json_;
    std::optional<std::vector<std::uint8_t>> binaryChunk_;
};

} // namespace gltf::testing
