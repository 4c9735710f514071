#include "ContentHash.h"

#include <array>
#include <bit>
#include <cstring>

namespace usd::crate {
namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::size_t kLanes = 4;
constexpr std::size_t kStripe = kLanes * sizeof(std::uint64_t);

std::uint64_t mix(std::uint64_t lane, std::uint64_t word) {
    return std::rotl(lane + word * kPrime2, 31) * kPrime1;
}

std::uint64_t wordAt(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

} // namespace

std::size_t contentHash(std::span<const std::uint8_t> bytes) {
    std::array<std::uint64_t, kLanes> lanes{kPrime1, kPrime2, 0, ~kPrime1};
    std::size_t position = 0;
    for (; bytes.size() - position >= kStripe; position += kStripe) {
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            lanes[lane] = mix(lanes[lane], wordAt(bytes.data() + position + lane * 8));
        }
    }
    std::uint64_t hash = mix(kPrime1, bytes.size());
    for (const std::uint64_t lane : lanes) {
        hash = mix(hash, lane);
    }
    for (; position < bytes.size(); ++position) {
        hash = mix(hash, bytes[position]);
    }
    return static_cast<std::size_t>(hash);
}

} // namespace usd::crate
