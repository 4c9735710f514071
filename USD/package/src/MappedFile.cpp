#include "SystemError.h"

#include <USD/MappedFile.h>
#include <USD/PackageError.h>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace usd {
namespace {

// Closes the descriptor on every path out of the constructor; the mapping
// stays valid after close.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() { ::close(fd); }
};

} // namespace

MappedFile::MappedFile(const std::filesystem::path& path) {
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        throwSystemError("open", path);
    struct stat status {};
    if (::fstat(file.fd, &status) != 0)
        throwSystemError("inspect", path);
    if (!S_ISREG(status.st_mode))
        throw PackageError("Cannot read '" + path.string() + "': it is not a regular file");
    size_ = static_cast<std::size_t>(status.st_size);
    if (size_ == 0)
        return; // mmap refuses empty lengths; an empty span says it all
    void* mapping = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, file.fd, 0);
    if (mapping == MAP_FAILED)
        throwSystemError("map", path);
    data_ = static_cast<const std::uint8_t*>(mapping);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr)
        ::munmap(const_cast<std::uint8_t*>(data_), size_);
}

} // namespace usd
