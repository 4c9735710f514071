#include <BenchSupport/RawFileIo.h>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace bench {
namespace {

[[noreturn]] void cannotRead(const std::filesystem::path& file) {
    throw std::runtime_error("cannot read " + file.string());
}

} // namespace

FileBytes readFileBytes(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        cannotRead(file);
    FileBytes read;
    read.size = std::filesystem::file_size(file);
    read.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(read.size);
    std::size_t done = 0;
    while (done < read.size) {
        const ssize_t got = ::read(fd, read.bytes.get() + done, read.size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (done != read.size)
        cannotRead(file);
    return read;
}

void writeFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

} // namespace bench
