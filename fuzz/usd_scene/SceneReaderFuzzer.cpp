// Feeds arbitrary bytes to the scene reader as a layer file. Each input must give a scene or
// fail with SceneReadError; the sanitizers catch any out-of-bounds read, and -rss_limit_mb
// any allocation sized from the file instead of capped.

#include <USD/scene_reader/SceneReader.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// The reader takes a file: one per process, rewritten for every input, in a folder of its own
// so that the asset paths an input names find nothing else.
const std::filesystem::path& inputFile() {
    static const std::filesystem::path file = [] {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("usd_scene_fuzzer_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        return folder / "input.usdc";
    }();
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::ofstream(inputFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        usd::SceneReadNotes notes;
        usd::readUSDLayerFile(inputFile(), notes);
    } catch (const usd::SceneReadError&) {
    }
    return 0;
}
