#include "RawVertexBytes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace modelimporter {
namespace {

using VectorBytes = std::array<std::uint8_t, sizeof(aiVector3D)>;

int componentSize(int componentType) {
    switch (componentType) {
    case 5120: // byte
    case 5121: // unsigned byte
        return 1;
    case 5122: // short
    case 5123: // unsigned short
        return 2;
    case 5125: // unsigned int
        return 4;
    default:
        return 0;
    }
}

float decodeComponent(const std::uint8_t* bytes, int componentType, bool normalized) {
    switch (componentType) {
    case 5120: {
        const auto value = static_cast<std::int8_t>(bytes[0]);
        return normalized ? std::max(value / 127.0f, -1.0f) : value;
    }
    case 5121:
        return normalized ? bytes[0] / 255.0f : bytes[0];
    case 5122: {
        const auto value = static_cast<std::int16_t>(bytes[0] | bytes[1] << 8);
        return normalized ? std::max(value / 32767.0f, -1.0f) : value;
    }
    case 5123: {
        const auto value = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
        return normalized ? value / 65535.0f : value;
    }
    default: {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes, sizeof value);
        return static_cast<float>(value);
    }
    }
}

// A flipped v of a zeroed float reads exactly 1; undo that so the tail can be checked.
bool unflipV(VectorBytes& bytes) {
    float v = 0;
    std::memcpy(&v, bytes.data() + sizeof(float), sizeof v);
    if (v != 1.0f) {
        return false;
    }
    std::fill_n(bytes.begin() + sizeof(float), sizeof(float), 0);
    return true;
}

} // namespace

std::optional<std::vector<glm::vec4>> decodeCopiedBytes(std::span<const aiVector3D> vectors,
                                                        const IntegerEncoding& encoding,
                                                        bool vWasFlipped) {
    const int size = componentSize(encoding.componentType);
    const auto elementSize = static_cast<std::size_t>(size * encoding.components);
    const std::size_t intactBytes = vWasFlipped ? sizeof(float) : sizeof(aiVector3D);
    if (size == 0 || encoding.components < 1 || encoding.components > 4 ||
        elementSize > intactBytes) {
        return std::nullopt;
    }
    std::vector<glm::vec4> decoded;
    decoded.reserve(vectors.size());
    for (const aiVector3D& vector : vectors) {
        VectorBytes bytes;
        std::memcpy(bytes.data(), &vector, bytes.size());
        if ((vWasFlipped && !unflipV(bytes)) ||
            std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(elementSize), bytes.end(),
                        [](std::uint8_t byte) { return byte != 0; })) {
            return std::nullopt;
        }
        glm::vec4 components(0.0f);
        for (int c = 0; c < encoding.components; ++c) {
            components[c] = decodeComponent(bytes.data() + c * size, encoding.componentType,
                                            encoding.normalized);
        }
        decoded.push_back(components);
    }
    return decoded;
}

} // namespace modelimporter
