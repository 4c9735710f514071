#pragma once

#include "ValueDecoder.h"

#include <USD/codec/CrateFormat.h>
#include <USD/layer/Value.h>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace usd::crate {

// Array values hold most of a big file's bytes and take most of its decoding time. They are
// decoded after the layer's structure, all at once, and shared out between the calling thread
// and a second one when the file is big enough for that to pay.

// Whether the value is an array stored away from its field, which is decoded with the others.
bool isStoredArray(ValueRep rep);

// A decoded value, or why it could not be decoded.
struct DecodedArray {
    std::optional<Value> value;
    std::string error;
};

// Decodes every rep, each thread with a decoder of its own from `makeDecoder`. A FormatError
// leaves that value out with its message; DecodeLimitExceeded and any other exception end the
// whole decode and are rethrown. Results come in the order of `reps`.
std::vector<DecodedArray> decodeArrays(std::span<const ValueRep> reps, std::uint64_t fileSize,
                                       const std::function<ValueDecoder()>& makeDecoder);

} // namespace usd::crate
