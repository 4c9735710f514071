#pragma once

// The fuzz input as the binary chunk of a GLB whose JSON document puts it to one use, loaded
// as a scene. Each input must give a scene or fail with one of the reader's own errors;
// anything else escapes and libFuzzer reports it.

#include <GLTFReader/DecodingError.h>
#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiveError.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

inline void appendWord(std::vector<std::uint8_t>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
}

inline void appendChunk(std::vector<std::uint8_t>& glb, std::uint32_t type,
                        std::vector<std::uint8_t> data, std::uint8_t padding) {
    while (data.size() % 4 != 0) {
        data.push_back(padding);
    }
    appendWord(glb, static_cast<std::uint32_t>(data.size()));
    appendWord(glb, type);
    glb.insert(glb.end(), data.begin(), data.end());
}

// `json` may use the placeholder's length through BIN_LENGTH, which is replaced first.
inline void loadAsScene(std::string json, const std::uint8_t* data, std::size_t size) {
    const std::string length = std::to_string(size);
    for (std::size_t at = json.find("BIN_LENGTH"); at != std::string::npos;
         at = json.find("BIN_LENGTH")) {
        json.replace(at, 10, length);
    }
    std::vector<std::uint8_t> glb;
    appendWord(glb, 0x46546C67);
    appendWord(glb, 2);
    appendWord(glb, 0); // total length, set below
    appendChunk(glb, 0x4E4F534A, std::vector<std::uint8_t>(json.begin(), json.end()), ' ');
    appendChunk(glb, 0x004E4942, std::vector<std::uint8_t>(data, data + size), 0);
    const auto total = static_cast<std::uint32_t>(glb.size());
    for (int k = 0; k < 4; ++k) {
        glb[8 + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(total >> (8 * k));
    }
    const GLTFSceneSource source(scene::makeBytes(std::move(glb)));
    try {
        source.sceneWithOptions();
    } catch (const GLTFUnarchiveError&) {
    } catch (const gltf::DecodingError&) {
    } catch (const gltf::FileError&) {
    }
}

} // namespace fuzz
