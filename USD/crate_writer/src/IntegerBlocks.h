#pragma once

#include "ByteSink.h"

#include <USD/codec/CompressedIntegers.h>
#include <vector>

namespace usd::crate {

// Appends values as a compressed integer block, compressed straight into the sink.
template <CodedInteger T> void appendIntegerBlock(ByteSink& out, const std::vector<T>& values) {
    const ScratchBytes coded = codeIntegers(std::span(values));
    out.appendInPlace(compressedBlockWorstCaseSize(coded.bytes().size()),
                      [&](std::span<std::uint8_t> room) {
                          return compressCodedIntegersInto(coded.bytes(), room);
                      });
}

} // namespace usd::crate
