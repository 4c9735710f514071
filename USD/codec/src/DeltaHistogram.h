#pragma once

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace usd {

// Counts how often each delta occurs, to find the one worth storing once. Index arrays are
// made of small deltas, which a flat table counts without hashing; the rest go to a map.
template <typename Signed> class DeltaHistogram {
  public:
    explicit DeltaHistogram(std::size_t valueCount)
        : radius_(std::clamp<std::size_t>(valueCount, kMinRadius, kMaxRadius)),
          smallCounts_(2 * radius_, 0) {}

    void add(Signed delta) {
        const std::size_t slot = slotOf(delta);
        if (slot < smallCounts_.size()) {
            ++smallCounts_[slot];
        } else {
            ++largeCounts_[delta];
        }
    }

    // Adds another histogram's counts, made for as many values.
    void add(const DeltaHistogram& other) {
        for (std::size_t slot = 0; slot < smallCounts_.size(); ++slot) {
            smallCounts_[slot] += other.smallCounts_[slot];
        }
        for (const auto& [delta, count] : other.largeCounts_) {
            largeCounts_[delta] += count;
        }
    }

    // The most frequent delta; ties go to the largest, which reproduces other writers' output.
    Signed mostCommon() const {
        Signed best = 0;
        std::size_t bestCount = 0;
        const auto consider = [&](Signed delta, std::size_t count) {
            if (count > bestCount || (count == bestCount && count > 0 && delta > best)) {
                best = delta;
                bestCount = count;
            }
        };
        for (std::size_t slot = 0; slot < smallCounts_.size(); ++slot) {
            consider(static_cast<Signed>(static_cast<Unsigned>(slot) - radius_),
                     smallCounts_[slot]);
        }
        for (const auto& [delta, count] : largeCounts_) {
            consider(delta, count);
        }
        return best;
    }

  private:
    using Unsigned = std::make_unsigned_t<Signed>;
    static constexpr std::size_t kMinRadius = 64;
    static constexpr std::size_t kMaxRadius = 32768;

    // Deltas in [-radius, radius) land in [0, 2 * radius); every other delta wraps to a slot
    // past the table.
    std::size_t slotOf(Signed delta) const {
        return static_cast<Unsigned>(static_cast<Unsigned>(delta) + static_cast<Unsigned>(radius_));
    }

    std::size_t radius_;
    std::vector<std::size_t> smallCounts_;
    std::unordered_map<Signed, std::size_t> largeCounts_;
};

} // namespace usd
