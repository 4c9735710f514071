#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace bench {

// A file's bytes in memory that was not set before the read filled it.
struct FileBytes {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;

    const std::uint8_t* data() const { return bytes.get(); }
};

// The baseline the readers and writers are measured against: the bytes moved between a file and
// memory with nothing done to them (not even zeroing the memory first, which would flatter
// every ratio against the read). Both throw std::runtime_error naming the file.
FileBytes readFileBytes(const std::filesystem::path& file);
void writeFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

} // namespace bench
