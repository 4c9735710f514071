#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace usd::crate {

// A hash of a value's bytes, to find identical values written before. Mesh arrays run to tens
// of megabytes, so it works through four independent 64-bit lanes and keeps up with copying.
// Bytes may come in pieces of any size; the result is the same as for all of them at once.
class ContentHasher {
  public:
    void add(std::span<const std::uint8_t> bytes);
    std::size_t result() const;

    static constexpr std::size_t kStripe = 32; // bytes taken by the four lanes at a time

  private:
    static constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
    static constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

    static std::uint64_t mix(std::uint64_t lane, std::uint64_t word);
    void addStripe(const std::uint8_t* stripe);

    std::array<std::uint64_t, 4> lanes_{kPrime1, kPrime2, 0, ~kPrime1};
    std::array<std::uint8_t, kStripe> partial_{};
    std::size_t partialSize_ = 0;
    std::uint64_t length_ = 0;
};

inline std::size_t contentHash(std::span<const std::uint8_t> bytes) {
    ContentHasher hasher;
    hasher.add(bytes);
    return hasher.result();
}

} // namespace usd::crate
