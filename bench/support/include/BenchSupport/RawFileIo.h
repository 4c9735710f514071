#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace bench {

// The baseline the readers and writers are measured against: the bytes moved between a file and
// memory with nothing done to them. Both throw std::runtime_error naming the file.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& file);
void writeFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

} // namespace bench
