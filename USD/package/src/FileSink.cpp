#include "FileSink.h"

#include <Base/SystemError.h>
#include <USD/package/PackageError.h>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace usd {

FileSink::FileSink(std::filesystem::path path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
        fail("create");
}

FileSink::~FileSink() {
    if (fd_ < 0)
        return;
    ::close(fd_);
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void FileSink::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail("write");
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
}

void FileSink::commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int closeError = errno;
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        errno = closeError;
        fail("finish writing");
    }
}

void FileSink::fail(const char* action) const {
    throw PackageError(base::systemErrorMessage(action, path_));
}

} // namespace usd
