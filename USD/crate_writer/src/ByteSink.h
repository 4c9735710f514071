#pragma once

#include <USD/HugePages.h>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace usd::crate {

static_assert(std::endian::native == std::endian::little,
              "files are little-endian and are written by copying memory");

// The file being built, front to back. Values are written in place; a few
// fields are filled in later with patch().
class ByteSink {
  public:
    std::uint64_t size() const { return bytes_.size(); }
    void reserve(std::size_t capacity) {
        bytes_.reserve(capacity);
        preferHugePages(bytes_.data(), bytes_.capacity());
    }

    template <typename T> void append(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        appendBytes({reinterpret_cast<const std::uint8_t*>(&value), sizeof value});
    }

    void appendBytes(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }

    // Raw elements copied as they are in memory, which is their file layout.
    template <typename T> void appendElements(std::span<const T> elements) {
        static_assert(std::is_trivially_copyable_v<T>);
        appendBytes(
            {reinterpret_cast<const std::uint8_t*>(elements.data()), elements.size_bytes()});
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
