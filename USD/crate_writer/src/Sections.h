#pragma once

#include "ByteSink.h"
#include "PathTable.h"

#include <USD/codec/CrateFormat.h>
#include <cstdint>
#include <string>
#include <vector>

namespace usd::crate {

// Everything the structural sections hold, gathered while packing specs.
struct StructuralTables {
    const std::vector<std::string>& tokens;
    const std::vector<std::uint32_t>& strings; // token index of each string
    const std::vector<std::uint32_t>& fieldNameTokens;
    const std::vector<std::uint64_t>& fieldValueReps;
    const std::vector<std::uint32_t>& fieldSets; // runs ending in kInvalidIndex
    std::size_t pathTableSize;
    const EncodedPathTree& pathTree;
    const std::vector<std::uint32_t>& specPaths;
    const std::vector<std::uint32_t>& specFieldSets;
    const std::vector<std::uint32_t>& specTypes;
};

// Appends the six sections and the table of contents after the value area,
// then fills in the bootstrap at the start of `out` (which must begin with
// kBootstrapSize bytes reserved for it).
void writeSectionsAndBootstrap(ByteSink& out, const StructuralTables& tables, Version version);

} // namespace usd::crate
