#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace usd {

// A whole file mapped read-only into memory. Readers hand out views into it
// instead of copying, so it must outlive every span taken from bytes().
class MappedFile {
  public:
    // Throws PackageError naming the path and the system's reason.
    explicit MappedFile(const std::filesystem::path& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

  private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace usd
