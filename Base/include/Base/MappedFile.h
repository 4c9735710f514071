#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace base {

// A whole file mapped read-only into memory. Readers hand out views into it
// instead of copying, so it must outlive every span taken from bytes().
class MappedFile {
  public:
    // Throws FileError naming the path and the system's reason.
    explicit MappedFile(const std::filesystem::path& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

    // Gives back the memory of the whole pages inside `part`: touched again, they are read back
    // from the file (still in the system's cache), so the bytes keep their contents. Only an
    // economy, for a large file that stays mapped while what was decoded from it is used: where
    // the system refuses, or `part` is not wholly inside this mapping, nothing happens, since
    // releasing any other memory would lose its data.
    void releasePages(std::span<const std::uint8_t> part) const;

  private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace base
