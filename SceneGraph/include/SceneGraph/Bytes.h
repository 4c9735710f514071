#pragma once

#include <Base/LargeBlocks.h>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>
#include <type_traits>
#include <vector>

namespace scene {

/// A read-only run of bytes and what keeps it alive: a vector of its own, or memory that
/// belongs to something else (the arrays of a file being read) and is kept alive with it.
class ByteBlock {
  public:
    explicit ByteBlock(std::vector<std::uint8_t> bytes)
        : owned_(std::move(bytes)), bytes_(owned_) {}
    ByteBlock(std::span<const std::uint8_t> bytes, std::shared_ptr<const void> owner)
        : owner_(std::move(owner)), bytes_(bytes) {}
    // The bytes may lie in the block itself: it stays where it was made.
    ByteBlock(const ByteBlock&) = delete;
    ByteBlock& operator=(const ByteBlock&) = delete;

    const std::uint8_t* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    auto begin() const { return bytes_.begin(); }
    auto end() const { return bytes_.end(); }
    std::uint8_t operator[](std::size_t index) const { return bytes_[index]; }
    std::span<const std::uint8_t> span() const { return bytes_; }

    friend bool operator==(const ByteBlock& block, std::span<const std::uint8_t> bytes) {
        return std::ranges::equal(block.bytes_, bytes);
    }
    friend bool operator==(const ByteBlock& a, const ByteBlock& b) { return a == b.bytes_; }

  private:
    std::vector<std::uint8_t> owned_;
    std::shared_ptr<const void> owner_;
    std::span<const std::uint8_t> bytes_;
};

/// An immutable block of bytes shared by every object that reads it. Geometry sources,
/// elements and images keep a reference to the block they were made from; nothing is copied.
using Bytes = std::shared_ptr<const ByteBlock>;

/// Moves `data` into a new shared block.
inline Bytes makeBytes(std::vector<std::uint8_t> data) {
    return std::make_shared<const ByteBlock>(std::move(data));
}

/// A block of bytes that `owner` holds, which the block keeps alive.
inline Bytes viewBytes(std::span<const std::uint8_t> bytes, std::shared_ptr<const void> owner) {
    return std::make_shared<const ByteBlock>(bytes, std::move(owner));
}

/// A block of `count` values of T left unset, and where to write them: the caller fills it
/// before anything reads it, so large data is written once rather than zeroed first. Large
/// blocks lie on huge pages where the system allows (see Base/LargeBlocks.h).
template <typename T> struct UnsetBlock {
    T* first;
    Bytes bytes;
};
template <typename T> UnsetBlock<T> makeUnsetBlock(std::size_t count) {
    static_assert(std::is_trivially_copyable_v<T> && alignof(T) <= alignof(std::max_align_t));
    if (count > SIZE_MAX / sizeof(T)) {
        throw std::bad_alloc();
    }
    std::shared_ptr<void> values(base::allocateUnset(count * sizeof(T)),
                                 [](void* data) { std::free(data); });
    T* first = static_cast<T*>(values.get());
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(first),
                                              count * sizeof(T));
    return {first, viewBytes(bytes, std::move(values))};
}

} // namespace scene
