#include <GLTFReader/FileReading.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace gltf {
namespace {

[[noreturn]] void failReading(const std::filesystem::path& path, int error) {
    throw FileError("cannot read the file \"" + path.string() + "\": " + std::strerror(error));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

ByteBlock readWholeFile(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        failReading(path, errno);
    }
    auto bytes = std::make_shared<std::vector<std::uint8_t>>();
    std::uint8_t chunk[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes->insert(bytes->end(), chunk, chunk + count);
    }
    if (std::ferror(file.get())) {
        failReading(path, errno);
    }
    return bytes;
}

} // namespace gltf
