#pragma once

#include <USD/layer/Layer.h>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

namespace usd {

// The layer holds something no crate file can store (text with NUL characters,
// more than 2^32 tokens …); what() says what.
class CrateWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Told how far a write has come, as a fraction from 0 to 1: at least once per
// large array and once at the end, with 1.
using WriteProgress = std::function<void(double fraction)>;

// The layer as a binary crate (.usdc) file. Version 0.8.0 unless the layer
// holds values older versions cannot store (time codes 0.9.0, path expressions
// 0.10.0, relocates 0.11.0), with compressed structural sections, compressed
// integer and float arrays where that helps, and identical values stored once.
// Same layer, same bytes. Throws CrateWriteError.
std::vector<std::uint8_t> writeCrate(const Layer& layer, const WriteProgress& progress = {});

// The same bytes from a layer that is not needed afterwards: each value is let go as soon as
// it is in the file, so a big mesh is never held both as arrays and as their encoded bytes.
std::vector<std::uint8_t> writeCrate(Layer&& layer, const WriteProgress& progress = {});

} // namespace usd
