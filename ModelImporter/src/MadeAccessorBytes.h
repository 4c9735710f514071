#pragma once

#include <cstdint>
#include <simdjson.h>

namespace modelimporter {

// The bytes a glTF document's accessors without a buffer view stand for (zeros, with sparse
// values on top), which an importer must make itself: a few bytes of JSON can claim gigabytes.
// Stops counting near the largest 64-bit value.
std::uint64_t madeAccessorBytes(simdjson::dom::element document);

} // namespace modelimporter
