#include <Base/FileError.h>
#include <Base/MappedFile.h>
#include <Base/SystemError.h>
#include <cstdint>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {
namespace {

// Closes the descriptor on every path out of the constructor; the mapping
// stays valid after close.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() { ::close(fd); }
};

// Whole pages only: the ones at either end of a part may hold other data still in use.
void releaseWholePages(const std::uint8_t* first, const std::uint8_t* last) {
#if defined(__linux__)
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start =
        (reinterpret_cast<std::uintptr_t>(first) + pageSize - 1) / pageSize * pageSize;
    const auto end = reinterpret_cast<std::uintptr_t>(last) / pageSize * pageSize;
    if (start < end)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
#else
    // Elsewhere the advice may discard private pages' contents or not exist; they simply stay.
    (void)first;
    (void)last;
#endif
}

} // namespace

MappedFile::MappedFile(const std::filesystem::path& path) {
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        throw FileError(systemErrorMessage("open", path));
    struct stat status {};
    if (::fstat(file.fd, &status) != 0)
        throw FileError(systemErrorMessage("inspect", path));
    if (!S_ISREG(status.st_mode))
        throw FileError("Cannot read '" + path.string() + "': it is not a regular file");
    size_ = static_cast<std::size_t>(status.st_size);
    if (size_ == 0)
        return; // mmap refuses empty lengths; an empty span says it all
    void* mapping = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, file.fd, 0);
    if (mapping == MAP_FAILED)
        throw FileError(systemErrorMessage("map", path));
    data_ = static_cast<const std::uint8_t*>(mapping);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr)
        ::munmap(const_cast<std::uint8_t*>(data_), size_);
}

void MappedFile::releasePages(std::span<const std::uint8_t> part) const {
    // Compared as addresses so that a span of other memory is told apart without undefined
    // pointer comparisons.
    const std::less_equal<const std::uint8_t*> atOrBefore;
    if (part.empty() || data_ == nullptr || !atOrBefore(data_, part.data()) ||
        !atOrBefore(part.data() + part.size(), data_ + size_))
        return;
    releaseWholePages(part.data(), part.data() + part.size());
}

} // namespace base
