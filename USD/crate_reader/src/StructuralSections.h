#pragma once

#include <USD/codec/ByteReader.h>
#include <USD/codec/CrateFormat.h>
#include <cstdint>
#include <string>
#include <vector>

// The sections that give a crate file its structure: tokens, strings, fields, field sets and
// specs. Versions before 0.4.0 store them raw, later ones compressed.
namespace usd::crate {

struct Field {
    std::uint32_t nameToken = 0;
    ValueRep value;
};

struct SpecRecord {
    std::uint32_t pathIndex = 0;
    std::uint32_t fieldSetIndex = 0;
    std::uint32_t specType = 0;
};

std::vector<std::string> readTokens(ByteReader reader, const Version& version);
// Each string as the token index of its text, checked against the token count.
std::vector<std::uint32_t> readStrings(ByteReader reader, std::size_t tokenCount);
std::vector<Field> readFields(ByteReader reader, const Version& version, std::size_t tokenCount);
// Runs of field indexes, each ended by kInvalidIndex; checked against the field count.
std::vector<std::uint32_t> readFieldSets(ByteReader reader, const Version& version,
                                         std::size_t fieldCount);
// Field-set indexes are checked to start a run.
std::vector<SpecRecord> readSpecs(ByteReader reader, const Version& version,
                                  const std::vector<std::uint32_t>& fieldSets);

} // namespace usd::crate
