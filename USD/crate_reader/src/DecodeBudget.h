#pragma once

#include <USD/codec/FormatError.h>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>

namespace usd::crate {

// Raised when a file would decode to far more data than its size can justify; it ends the
// whole read rather than one value.
class DecodeLimitExceeded : public FormatError {
  public:
    using FormatError::FormatError;
};

// Caps the memory (and so the time) decoding may spend. Compression and shared values let a
// small hostile file describe terabytes; real files stay far below this limit.
class DecodeBudget {
  public:
    static DecodeBudget forFileSize(std::uint64_t fileSize) {
        constexpr std::uint64_t kFloor = 256ull << 20;
        constexpr std::uint64_t kExpansionFactor = 1024;
        return DecodeBudget(std::max(kFloor, fileSize * kExpansionFactor));
    }

    explicit DecodeBudget(std::uint64_t limit) : remaining_(limit), limit_(limit) {}

    // Safe to call from several threads: big arrays are decoded on two.
    void charge(std::uint64_t bytes) {
        std::uint64_t remaining = remaining_.load(std::memory_order_relaxed);
        do {
            if (bytes > remaining) {
                throw DecodeLimitExceeded("the file decodes to more than " +
                                          std::to_string(limit_ >> 20) +
                                          " MiB of values; refusing it as corrupt");
            }
        } while (!remaining_.compare_exchange_weak(remaining, remaining - bytes,
                                                   std::memory_order_relaxed));
    }

  private:
    std::atomic<std::uint64_t> remaining_;
    const std::uint64_t limit_;
};

} // namespace usd::crate
