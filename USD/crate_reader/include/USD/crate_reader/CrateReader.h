#pragma once

#include <USD/codec/FormatError.h>
#include <USD/layer/Layer.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace usd {

// Problems that did not stop the read: a value of an unknown or corrupt type (its field is
// left out), or a spec the file cannot place (it is dropped). Each names where it happened.
using CrateReadWarnings = std::vector<std::string>;

// Reads a crate (.usdc) layer of any version from 0.0.1 to 0.11.0 from bytes that may come
// from anywhere (a file, a mapped package entry). The bytes are treated as hostile: every
// offset, count and size is checked and decoded sizes are capped.
//
// Throws FormatError with a message naming what is wrong and where, for instance
// "crate version 0.12.0 is newer than this reader supports (0.11.0)".
Layer readCrate(std::span<const std::uint8_t> bytes, CrateReadWarnings* warnings = nullptr);
Layer readCrate(std::span<const std::byte> bytes, CrateReadWarnings* warnings = nullptr);

// Reads a .usdc file. Throws FormatError, prefixed with the file name, when the file cannot
// be read or is malformed.
Layer readCrateFile(const std::filesystem::path& file, CrateReadWarnings* warnings = nullptr);

} // namespace usd
