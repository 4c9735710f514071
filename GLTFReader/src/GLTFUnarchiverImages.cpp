// Images: encoded PNG or JPEG bytes from a data URI, a file beside the document or a buffer
// view. The bytes are kept as they are; only the header is read here.
#include "Base64.h"
#include "DocumentFiles.h"
#include "DocumentRecords.h"
#include "LoadStopping.h"
#include "extensions/EXTTextureWebp.h"

#include <GLTFReader/GLTFUnarchiver.h>

namespace {

scene::Bytes decodedDataUri(std::string_view payload) {
    std::optional<std::vector<std::uint8_t>> bytes = gltf::decodeBase64(payload);
    if (!bytes) {
        throw GLTFUnarchiveError::unknown("loadImage: cannot convert the base64 string to Data");
    }
    return scene::makeBytes(std::move(*bytes));
}

// An image views its bytes where the buffer holds them (a GLB's binary chunk, which its
// geometry views too) rather than copying them; a view that is a whole block is shared as it is.
scene::Bytes bytesOfView(const gltf::ByteSlice& view) {
    if (view.offset == 0 && view.size == view.block->size()) {
        return view.block;
    }
    return scene::viewBytes(view.bytes(), view.block);
}

// The media type, in a data URI or in `mimeType`, is not looked at: the bytes tell. Null when
// the record names no source.
scene::Bytes encodedBytesOf(const GLTFImage& record, GLTFUnarchiver& unarchiver) {
    if (record.uri) {
        const std::optional<std::string_view> payload = gltf::dataUriPayload(*record.uri);
        return payload ? decodedDataUri(*payload)
                       : gltf::readReferencedFile(unarchiver.directoryPath(), *record.uri);
    }
    if (record.bufferView) {
        return bytesOfView(unarchiver.loadBufferView(*record.bufferView));
    }
    return nullptr;
}

// The image's own name, else the name of the file it came from; it names the image in the
// package.
std::string nameOf(const GLTFImage& record) {
    if (record.name) {
        return *record.name;
    }
    if (record.uri && !gltf::dataUriPayload(*record.uri)) {
        return std::filesystem::path(*record.uri).filename().string();
    }
    return "";
}

std::shared_ptr<scene::Image> imageFrom(const GLTFImage& record, std::int64_t index,
                                        GLTFUnarchiver& unarchiver) {
    std::shared_ptr<scene::Image> image = scene::Image::fromEncodedBytes(
        gltf::extensions::packageableImageBytes(encodedBytesOf(record, unarchiver), index));
    if (!image) {
        throw GLTFUnarchiveError::unknown("loadImage: image " + std::to_string(index) +
                                          " is not loaded");
    }
    image->setName(nameOf(record));
    return image;
}

} // namespace

// Kept only once decoded, so a failed image is tried again.
std::shared_ptr<scene::Image> GLTFUnarchiver::loadImage(std::int64_t index) {
    gltf::throwIfLoadStopRequested();
    const GLTFImage* record = nullptr;
    return caches_.images.load(
        index, "loadImage",
        [&] {
            record = &gltf::documentRecord(json_.images, index, "loadImage: images is not defined");
            return imageFrom(*record, index, *this);
        },
        [&](const std::shared_ptr<scene::Image>& image) { gltf::onLoaded(*record, image, *this); });
}
