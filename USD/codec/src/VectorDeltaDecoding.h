#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace usd {

// Where the decoding of 32-bit coded integers stands: the sum of the deltas so far (values
// wrap, as the format's do) and the next unread delta byte.
struct DeltaDecodingState {
    std::uint32_t running = 0;
    const std::uint8_t* deltas = nullptr;
};

// Decodes the four values of each whole code byte of `codes` at once with vector
// instructions, reading no delta byte at or past `readableEnd`; writes them to `values` and
// returns how many it made (values.size() rounded down to four). Makes none on a processor
// without AVX2, in portable builds and with BRIGHTFOLD_PORTABLE_DECODING=1 in the
// environment: the caller decodes what is left one value at a time. The codes must have been
// checked against the delta bytes before `readableEnd`.
std::size_t decodeWholeCodeBytes(std::int32_t common, std::span<const std::uint8_t> codes,
                                 const std::uint8_t* readableEnd, std::span<std::int32_t> values,
                                 DeltaDecodingState& state);

} // namespace usd
