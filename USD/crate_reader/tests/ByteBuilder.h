#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

// Builds little-endian test data piece by piece; each append returns the piece's offset.
class ByteBuilder {
  public:
    template <typename T> std::size_t append(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        const std::size_t offset = bytes.size();
        bytes.resize(offset + sizeof(T));
        std::memcpy(bytes.data() + offset, &value, sizeof(T));
        return offset;
    }

    std::size_t appendBytes(std::span<const std::uint8_t> data) {
        const std::size_t offset = bytes.size();
        bytes.insert(bytes.end(), data.begin(), data.end());
        return offset;
    }

    template <typename T> void patch(std::size_t offset, const T& value) {
        std::memcpy(bytes.data() + offset, &value, sizeof(T));
    }

    std::vector<std::uint8_t> bytes;
};
