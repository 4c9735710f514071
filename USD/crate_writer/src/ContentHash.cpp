#include "ContentHash.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace usd::crate {

std::uint64_t ContentHasher::mix(std::uint64_t lane, std::uint64_t word) {
    return std::rotl(lane + word * kPrime2, 31) * kPrime1;
}

void ContentHasher::add(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) { // its data() may be null, which memcpy must never see
        return;
    }
    length_ += bytes.size();
    if (partialSize_ > 0) {
        const std::size_t taken = std::min(kStripe - partialSize_, bytes.size());
        std::memcpy(partial_.data() + partialSize_, bytes.data(), taken);
        partialSize_ += taken;
        bytes = bytes.subspan(taken);
        if (partialSize_ < kStripe) {
            return;
        }
        addStripe(partial_.data());
        partialSize_ = 0;
    }
    for (; bytes.size() >= kStripe; bytes = bytes.subspan(kStripe)) {
        addStripe(bytes.data());
    }
    if (!bytes.empty()) {
        std::memcpy(partial_.data(), bytes.data(), bytes.size());
    }
    partialSize_ = bytes.size();
}

std::size_t ContentHasher::result() const {
    std::uint64_t hash = mix(kPrime1, length_);
    for (const std::uint64_t lane : lanes_) {
        hash = mix(hash, lane);
    }
    for (std::size_t i = 0; i < partialSize_; ++i) {
        hash = mix(hash, partial_[i]);
    }
    return static_cast<std::size_t>(hash);
}

void ContentHasher::addStripe(const std::uint8_t* stripe) {
    for (std::uint64_t& lane : lanes_) {
        std::uint64_t word;
        std::memcpy(&word, stripe, sizeof word);
        lane = mix(lane, word);
        stripe += sizeof word;
    }
}

} // namespace usd::crate
