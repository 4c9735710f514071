#pragma once

#include <USD/package/PackageEntry.h>
#include <USD/package/PackageWriter.h>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace usd::test {

inline std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

inline std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline std::filesystem::path scratchPath(const std::string& name) {
    return std::filesystem::path(::testing::TempDir()) / name;
}

// Writes the entries as a package and returns the archive bytes.
inline std::vector<std::uint8_t> packageBytes(const std::vector<PackageEntry>& entries) {
    const auto path = scratchPath("package-under-test.usdz");
    writePackage(path, entries);
    auto bytes = readFile(path);
    std::filesystem::remove(path);
    return bytes;
}

inline std::uint32_t readU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

inline std::uint16_t readU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline void patchU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void patchU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    patchU16(bytes, at, static_cast<std::uint16_t>(value));
    patchU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

// Replaces every occurrence of `from` by `to`, which has the same length.
inline void replaceAll(std::vector<std::uint8_t>& bytes, std::string_view from,
                       std::string_view to) {
    for (auto at = bytes.begin();
         (at = std::search(at, bytes.end(), from.begin(), from.end())) != bytes.end();)
        at = std::ranges::copy(to, at).out;
}

// Offset of the central directory, read from the end record (no archive
// comment in the packages we write).
inline std::size_t centralDirectoryOffset(const std::vector<std::uint8_t>& archive) {
    return readU32(archive, archive.size() - 22 + 16);
}

} // namespace usd::test
