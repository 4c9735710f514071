// Buffers, buffer views and the element walk over a view. Buffers are read or decoded once and
// views are ranges of them, so every byte reaches the scene without being copied.
#include "Base64.h"
#include "CheckedArithmetic.h"
#include "DocumentFiles.h"
#include "extensions/EXTMeshoptCompression.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <string>

namespace {

std::optional<gltf::ByteSlice> decodedDataUri(std::string_view payload) {
    std::optional<std::vector<std::uint8_t>> bytes = gltf::decodeBase64(payload);
    if (!bytes) {
        return std::nullopt;
    }
    return gltf::ByteSlice::whole(scene::makeBytes(std::move(*bytes)));
}

// The bytes a buffer names: a data URI, a file beside the document, or the GLB chunk.
std::optional<gltf::ByteSlice> bufferBytes(const GLTFBuffer& buffer,
                                           const std::optional<gltf::ByteSlice>& bin,
                                           const std::optional<std::filesystem::path>& directory) {
    if (!buffer.uri) {
        return bin;
    }
    if (const std::optional<std::string_view> payload = gltf::dataUriPayload(*buffer.uri)) {
        return decodedDataUri(*payload);
    }
    return gltf::ByteSlice::whole(gltf::readReferencedFile(directory, *buffer.uri));
}

void requireViewInsideBuffer(std::int64_t viewIndex, const GLTFBufferView& view,
                             std::size_t bufferSize) {
    const std::int64_t offset = view._byteOffset.value_or(0);
    const bool fits = offset >= 0 && view.byteLength >= 0 &&
                      static_cast<std::uint64_t>(offset) <= bufferSize &&
                      static_cast<std::uint64_t>(view.byteLength) <=
                          bufferSize - static_cast<std::size_t>(offset);
    if (!fits) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadBufferView: bufferView " + std::to_string(viewIndex) + " (byteOffset " +
            std::to_string(offset) + ", byteLength " + std::to_string(view.byteLength) +
            ") lies outside its buffer of " + std::to_string(bufferSize) + " bytes");
    }
}

std::string walkTooLongMessage(std::size_t byteOffset, std::size_t stride, std::size_t count,
                               std::int64_t byteLength) {
    return "iterateBufferView: offset (" + std::to_string(byteOffset) + ") + byteStride (" +
           std::to_string(stride) + ") * count (" + std::to_string(count) +
           ") shoule be equal or less than byteLength (" + std::to_string(byteLength) + "))";
}

} // namespace

gltf::ByteSlice GLTFUnarchiver::loadBuffer(std::int64_t index) {
    const auto build = [&] {
        if (!json_.buffers) {
            throw GLTFUnarchiveError::dataInconsistent("loadBufferView: buffers is not defined");
        }
        const GLTFBuffer& buffer = (*json_.buffers)[static_cast<std::size_t>(index)];
        gltf::extensions::refuseFallbackBuffer(buffer, index);
        const std::optional<gltf::ByteSlice> bytes = bufferBytes(buffer, bin_, directoryPath_);
        if (!bytes) {
            throw GLTFUnarchiveError::unknown("loadBufferView: buffer " + std::to_string(index) +
                                              " load error");
        }
        if (static_cast<std::int64_t>(bytes->size) < buffer.byteLength) {
            throw GLTFUnarchiveError::dataInconsistent(
                "loadBuffer: buffer.count < byteLength: " + std::to_string(bytes->size) + " < " +
                std::to_string(buffer.byteLength));
        }
        return *bytes;
    };
    const auto runHook = [&](const gltf::ByteSlice& bytes) {
        gltf::onLoaded((*json_.buffers)[static_cast<std::size_t>(index)], bytes, *this);
    };
    return caches_.buffers.load(index, "loadBuffer", build, runHook);
}

gltf::ByteSlice GLTFUnarchiver::loadBufferView(std::int64_t index,
                                               std::optional<std::int64_t> expectedTarget) {
    const auto build = [&] {
        if (!json_.bufferViews) {
            throw GLTFUnarchiveError::dataInconsistent(
                "loadBufferView: bufferViews is not defined");
        }
        const GLTFBufferView& view = (*json_.bufferViews)[static_cast<std::size_t>(index)];
        if (expectedTarget && view.target && *view.target != *expectedTarget) {
            throw GLTFUnarchiveError::dataInconsistent(
                "loadBufferView: index " + std::to_string(index) + ": target inconsistent");
        }
        if (const auto* stream = gltf::extensions::meshoptStream(view)) {
            return gltf::extensions::decodeMeshoptView(*this, *stream, view, index);
        }
        const gltf::ByteSlice buffer = loadBuffer(view.buffer);
        requireViewInsideBuffer(index, view, buffer.size);
        return gltf::ByteSlice{.block = buffer.block,
                               .offset = buffer.offset +
                                         static_cast<std::size_t>(view._byteOffset.value_or(0)),
                               .size = static_cast<std::size_t>(view.byteLength)};
    };
    const auto runHook = [&](const gltf::ByteSlice& bytes) {
        gltf::onLoaded((*json_.bufferViews)[static_cast<std::size_t>(index)], bytes, *this);
    };
    return caches_.bufferViews.load(index, "loadBufferView", build, runHook);
}

std::optional<std::int64_t> GLTFUnarchiver::getDataStride(std::int64_t bufferViewIndex) const {
    if (!json_.bufferViews) {
        throw GLTFUnarchiveError::dataInconsistent("getDataStride: bufferViews is not defined");
    }
    const std::vector<GLTFBufferView>& views = *json_.bufferViews;
    if (bufferViewIndex < 0 || static_cast<std::uint64_t>(bufferViewIndex) >= views.size()) {
        throw GLTFUnarchiveError::dataInconsistent(
            gltf::outOfIndexMessage("getDataStride", bufferViewIndex, views.size()));
    }
    return views[static_cast<std::size_t>(bufferViewIndex)].byteStride;
}

void GLTFUnarchiver::iterateBufferView(
    std::int64_t index, std::size_t byteOffset, std::size_t defaultStride, std::size_t count,
    const std::function<void(const std::uint8_t*)>& readElement) {
    if (count < 1) {
        return;
    }
    const gltf::ByteSlice view = loadBufferView(index);
    const std::int64_t declaredStride =
        getDataStride(index).value_or(static_cast<std::int64_t>(defaultStride));
    // A stride shorter than the element would let the last element's read run past the view.
    if (declaredStride < static_cast<std::int64_t>(defaultStride)) {
        throw GLTFUnarchiveError::dataInconsistent(
            "iterateBufferView: byteStride (" + std::to_string(declaredStride) +
            ") is less than the element size (" + std::to_string(defaultStride) + ")");
    }
    const auto stride = static_cast<std::size_t>(declaredStride);
    const std::optional<std::size_t> end = gltf::checkedMultiplyAdd(byteOffset, stride, count);
    if (!end || *end > view.size) {
        throw GLTFUnarchiveError::dataInconsistent(
            walkTooLongMessage(byteOffset, stride, count, static_cast<std::int64_t>(view.size)));
    }
    const std::uint8_t* first = view.bytes().data() + byteOffset;
    for (std::size_t element = 0; element < count; ++element) {
        readElement(first + element * stride);
    }
}
