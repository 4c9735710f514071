#pragma once

#include "ContentHash.h"

#include <USD/codec/MemoryPages.h>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace usd::crate {

static_assert(std::endian::native == std::endian::little,
              "files are little-endian and are written by copying memory");

// Elements as they lie in memory, which is their file layout.
template <typename T> std::span<const std::uint8_t> bytesOf(std::span<const T> elements) {
    static_assert(std::is_trivially_copyable_v<T>);
    return {reinterpret_cast<const std::uint8_t*>(elements.data()), elements.size_bytes()};
}

// The file being built, front to back. Values are written in place; a few
// fields are filled in later with patch().
class ByteSink {
  public:
    std::uint64_t size() const { return bytes_.size(); }
    void reserve(std::size_t capacity) { reserveWithHugePages(bytes_, capacity); }

    template <typename T> void append(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        appendBytes({reinterpret_cast<const std::uint8_t*>(&value), sizeof value});
    }

    void appendBytes(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }

    // Appends a piece at a time and hands each piece to `hasher` while it is still in cache, so
    // that big arrays are read from memory once rather than once to copy and once to hash.
    void appendHashed(std::span<const std::uint8_t> bytes, ContentHasher& hasher) {
        constexpr std::size_t piece = 64 << 10;
        for (std::size_t offset = 0; offset < bytes.size(); offset += piece) {
            const auto part = bytes.subspan(offset, std::min(piece, bytes.size() - offset));
            appendBytes(part);
            hasher.add(part);
        }
    }

    // Lets `fill` write up to `maxSize` bytes in place and keeps as many as it says it wrote:
    // big compressed arrays go straight into the file instead of through a buffer of their own.
    template <typename Fill> void appendInPlace(std::size_t maxSize, Fill&& fill) {
        const std::size_t start = bytes_.size();
        bytes_.resize(start + maxSize);
        const std::size_t written = fill(std::span(bytes_).subspan(start));
        bytes_.resize(start + std::min(written, maxSize));
    }

    // Raw elements copied as they are in memory, which is their file layout.
    template <typename T> void appendElements(std::span<const T> elements) {
        appendBytes(bytesOf(elements));
    }

    void padTo(std::size_t alignment) {
        bytes_.resize((bytes_.size() + alignment - 1) / alignment * alignment, 0);
    }

    template <typename T> void patch(std::uint64_t offset, const T& value) {
        std::memcpy(bytes_.data() + offset, &value, sizeof value);
    }

    // Drops everything from `offset` on: a value written twice is taken back.
    void truncate(std::uint64_t offset) { bytes_.resize(offset); }

    std::span<const std::uint8_t> bytesFrom(std::uint64_t offset) const {
        return std::span(bytes_).subspan(offset);
    }

    std::vector<std::uint8_t> release() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace usd::crate
