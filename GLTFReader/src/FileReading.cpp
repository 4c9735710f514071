#include <GLTFReader/FileReading.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace gltf {
namespace {

[[noreturn]] void failReading(const std::filesystem::path& path, int error) {
    throw FileError("cannot read the file \"" + path.string() + "\": " + std::strerror(error));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The size a regular file announces, so that it is read in one call into one allocation; zero
// for pipes and other streams of unknown length.
std::size_t announcedSize(std::FILE* file) {
    struct stat status {};
    if (::fstat(::fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) {
        return 0;
    }
    return static_cast<std::size_t>(status.st_size);
}

} // namespace

ByteBlock readWholeFile(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        failReading(path, errno);
    }
    // Read into memory that is not zeroed first: a model file can be hundreds of megabytes.
    const auto [first, block] = scene::makeUnsetBlock<std::uint8_t>(announcedSize(file.get()));
    const std::size_t read = std::fread(first, 1, block->size(), file.get());
    // Whatever the size did not announce (a pipe, a file still growing) follows in chunks.
    std::uint8_t chunk[1 << 16];
    std::size_t count = std::fread(chunk, 1, sizeof chunk, file.get());
    if (count == 0 && !std::ferror(file.get())) {
        return read == block->size() ? block : scene::viewBytes(block->span().first(read), block);
    }
    std::vector<std::uint8_t> bytes(first, first + read);
    for (; count > 0; count = std::fread(chunk, 1, sizeof chunk, file.get())) {
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
    if (std::ferror(file.get())) {
        failReading(path, errno);
    }
    return scene::makeBytes(std::move(bytes));
}

} // namespace gltf
