#pragma once

#include <USD/codec/FormatError.h>
#include <USD/codec/MemoryPages.h>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace usd {

static_assert(std::endian::native == std::endian::little,
              "files are little-endian and are read by copying memory");

// A bounds-checked little-endian cursor over bytes that may come from a hostile file. Every
// read checks the remaining length first and throws FormatError naming the offset.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data, std::size_t position = 0);

    std::size_t position() const { return position_; }
    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - position_; }

    void seek(std::uint64_t offset);

    template <typename T> T read() {
        static_assert(std::is_trivially_copyable_v<T>);
        T value;
        std::memcpy(&value, take(sizeof(T)).data(), sizeof(T));
        return value;
    }

    std::span<const std::uint8_t> readBytes(std::uint64_t count) { return take(count); }

    // Reads count raw elements; the length is checked before anything is allocated.
    template <typename T> std::vector<T> readVector(std::uint64_t count) {
        static_assert(std::is_trivially_copyable_v<T>);
        requireElements(count, sizeof(T));
        return elementsOf<T>(take(count * sizeof(T)));
    }

    // Throws unless count elements of elementSize bytes could still follow.
    void requireElements(std::uint64_t count, std::size_t elementSize) const;

  private:
    std::span<const std::uint8_t> take(std::uint64_t count);

    // Elements at their natural alignment, as files lay out big arrays, are copied in one pass
    // into fresh storage; misaligned ones are copied into a zeroed vector instead. Big arrays
    // lie on huge pages where the system allows.
    template <typename T> static std::vector<T> elementsOf(std::span<const std::uint8_t> bytes) {
        const std::size_t count = bytes.size() / sizeof(T);
        if (count == 0) { // an empty vector's data() may be null, which memcpy must not see
            return {};
        }
        if (reinterpret_cast<std::uintptr_t>(bytes.data()) % alignof(T) == 0) {
            const auto* first = reinterpret_cast<const T*>(bytes.data());
            std::vector<T> values;
            reserveWithHugePages(values, count);
            values.insert(values.end(), first, first + count);
            return values;
        }
        std::vector<T> values = sizedWithHugePages<T>(count);
        std::memcpy(values.data(), bytes.data(), bytes.size());
        return values;
    }

    std::span<const std::uint8_t> data_;
    std::size_t position_;
};

} // namespace usd
