#include "TextureSource.h"

#include "PercentDecoding.h"

#include <SceneGraph/Image.h>
#include <fstream>
#include <iterator>
#include <vector>

namespace modelimporter {
namespace {

std::shared_ptr<scene::Image> imageFromBytes(std::vector<std::uint8_t> bytes, std::string name) {
    auto image = scene::Image::fromEncodedBytes(scene::makeBytes(std::move(bytes)));
    if (image != nullptr) {
        image->setName(std::move(name));
    }
    return image;
}

std::optional<std::vector<std::uint8_t>> readFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

} // namespace

TextureSource::TextureSource(const aiScene& scene, std::filesystem::path modelDirectory)
    : scene_(scene), modelDirectory_(std::move(modelDirectory)) {}

std::shared_ptr<scene::Image> TextureSource::image(const std::string& reference) {
    const auto cached = cache_.find(reference);
    if (cached != cache_.end()) {
        return cached->second;
    }
    return cache_[reference] = load(reference);
}

std::shared_ptr<scene::Image> TextureSource::load(const std::string& reference) const {
    if (const aiTexture* embedded = scene_.GetEmbeddedTexture(reference.c_str())) {
        return loadEmbedded(*embedded);
    }
    return loadFile(reference);
}

// Only compressed embedded images (PNG, JPEG …, stored with a height of 0) keep their file
// bytes; raw texel arrays would need encoding first and do not occur in glTF files.
std::shared_ptr<scene::Image> TextureSource::loadEmbedded(const aiTexture& texture) const {
    if (texture.mHeight != 0) {
        return nullptr;
    }
    const auto* first = reinterpret_cast<const std::uint8_t*>(texture.pcData);
    return imageFromBytes(std::vector<std::uint8_t>(first, first + texture.mWidth),
                          texture.mFilename.C_Str());
}

// References are URIs, so a name with spaces or non-ASCII letters may arrive percent-encoded.
std::shared_ptr<scene::Image> TextureSource::loadFile(const std::string& reference) const {
    for (const std::string& candidate : {reference, percentDecoded(reference)}) {
        const std::filesystem::path file = modelDirectory_ / candidate;
        if (auto bytes = readFile(file)) {
            return imageFromBytes(std::move(*bytes), file.filename().string());
        }
    }
    return nullptr;
}

} // namespace modelimporter
