#pragma once

#include <Base/LargeBlocks.h>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// What the system is told about the pages of large buffers: mesh arrays, coding scratch space
// and the mapped files they are read from.
namespace usd {

using base::preferHugePages;

// How many elements of `elementSize` bytes to reserve for `count` of them so that a large
// array is given memory of its own in whole huge pages, starting on a huge-page boundary.
std::size_t hugePageCapacity(std::size_t count, std::size_t elementSize);

// Room for at least `count` elements of a large array that is about to be filled, backed by
// huge pages where the system allows.
template <typename T> void reserveWithHugePages(std::vector<T>& array, std::size_t count) {
    array.reserve(hugePageCapacity(count, sizeof(T)));
    preferHugePages(array.data(), array.capacity() * sizeof(T));
}

// A large array of `count` elements, zeroed, about to be overwritten by a decoder, backed by
// huge pages where the system allows.
template <typename T> std::vector<T> sizedWithHugePages(std::size_t count) {
    std::vector<T> array;
    reserveWithHugePages(array, count);
    array.resize(count);
    return array;
}

// Uninitialised bytes for coding a large array, so that only the bytes produced are ever
// touched; large ones lie on huge pages (base::allocateUnset).
class ScratchBytes {
  public:
    explicit ScratchBytes(std::size_t size);

    std::span<std::uint8_t> bytes() const { return {data_.get(), size_}; }
    // Keeps only the first `size` bytes in view, once fewer were used than set aside.
    void truncate(std::size_t size) { size_ = std::min(size, size_); }

  private:
    struct Free {
        void operator()(std::uint8_t* data) const;
    };
    std::unique_ptr<std::uint8_t[], Free> data_;
    std::size_t size_;
};

} // namespace usd
