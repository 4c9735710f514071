#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace usd {

// One file inside a USDZ package: its name inside the archive and its bytes.
// The bytes are a view; whoever made the entry keeps them alive.
struct PackageEntry {
    std::string name;
    std::span<const std::uint8_t> bytes;
};

} // namespace usd
