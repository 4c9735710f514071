#pragma once

#include "StructuralSections.h"

#include <USD/crate_reader/CrateReader.h>
#include <span>
#include <string>
#include <vector>

namespace usd::crate {

struct CrateTables {
    std::vector<std::string> tokens;
    std::vector<std::uint32_t> strings;
    std::vector<Field> fields;
    std::vector<std::uint32_t> fieldSets;
    std::vector<Path> paths;
    std::vector<SpecRecord> specs;
};

// Builds the layer from the decoded tables: one spec per usable record with its fields'
// values decoded. Records that cannot be placed and values that cannot be decoded are
// dropped with a warning; legacy forms are brought to their current meaning.
Layer assembleLayer(std::span<const std::uint8_t> file, const Version& version,
                    const CrateTables& tables, CrateReadWarnings* warnings);

} // namespace usd::crate
