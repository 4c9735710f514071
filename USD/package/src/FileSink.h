#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace usd {

// A file being written, piece by piece at the offsets given. Every failure throws PackageError
// naming the path; a sink destroyed before commit() removes its file, so a failed write leaves
// nothing half-written behind.
class FileSink {
  public:
    explicit FileSink(std::filesystem::path path);
    ~FileSink();
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    void commit();

  private:
    [[noreturn]] void fail(const char* action) const;

    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace usd
