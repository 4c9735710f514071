#include "ImagesDecodedAhead.h"

#include <SceneGraph/Image.h>
#include <mutex>
#include <utility>

namespace brightfold::preview {
namespace {

// Takes the images by value, so they are let go of as soon as they are decoded.
std::vector<PreparedTexture> decodeAll(std::vector<std::shared_ptr<scene::Image>> images) {
    std::vector<PreparedTexture> decoded;
    for (const auto& image : images) {
        decoded.push_back(prepareTexture(*image));
    }
    return decoded;
}

std::vector<std::vector<std::uint8_t>>
encodedBytesOf(const std::vector<std::shared_ptr<scene::Image>>& images) {
    std::vector<std::vector<std::uint8_t>> copies;
    for (const auto& image : images) {
        const scene::Bytes& bytes = image->encodedBytes();
        copies.push_back(bytes ? std::vector<std::uint8_t>(bytes->begin(), bytes->end())
                               : std::vector<std::uint8_t>());
    }
    return copies;
}

struct Kept {
    std::mutex mutex;
    ImagesDecodedAhead ahead;
};

Kept& kept() {
    static Kept instance;
    return instance;
}

// What was kept goes back to the caller, to be waited for and freed outside the lock.
ImagesDecodedAhead exchangeKept(ImagesDecodedAhead replacement) {
    std::lock_guard lock(kept().mutex);
    return std::exchange(kept().ahead, std::move(replacement));
}

} // namespace

ImagesDecodedAhead::ImagesDecodedAhead(std::vector<std::shared_ptr<scene::Image>> images)
    : encoded_(encodedBytesOf(images)),
      decoded_(std::async(std::launch::async, decodeAll, std::move(images)).share()) {}

std::optional<PreparedTexture> ImagesDecodedAhead::pixelsFor(const scene::Image& image) const {
    const scene::Bytes& bytes = image.encodedBytes();
    if (!bytes || bytes->empty()) {
        return std::nullopt;
    }
    for (std::size_t index = 0; index < encoded_.size(); ++index) {
        if (*bytes == encoded_[index]) {
            return decoded_.get()[index];
        }
    }
    return std::nullopt;
}

void keepDecodedAhead(ImagesDecodedAhead ahead) {
    exchangeKept(std::move(ahead));
}

ImagesDecodedAhead takeDecodedAhead() {
    return exchangeKept({});
}

} // namespace brightfold::preview
