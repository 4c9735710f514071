// Buffer views compressed with the meshoptimizer codecs, decoded by the library's own decoders
// once every size they are given has been checked (the decoders only assert on them).
#include "EXTMeshoptCompression.h"

#include "../CheckedArithmetic.h"
#include "ExtensionRecord.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <GLTFReader/JsonDecoder.h>
#include <meshoptimizer.h>
#include <vector>

namespace gltf::extensions {
namespace {

// A decoded view is made in memory; a size written into a few bytes of JSON must not make the
// reader fill it.
constexpr std::size_t maxDecodedBytes = std::size_t{1} << 30;

[[noreturn]] void refuse(std::int64_t viewIndex, const std::string& problem) {
    throw GLTFUnarchiveError::dataInconsistent("loadBufferView: bufferView " +
                                               std::to_string(viewIndex) +
                                               " (EXT_meshopt_compression) " + problem);
}

std::string filterOf(const MeshoptStream& stream) {
    return stream.filter.value_or("NONE");
}

// The strides each mode and filter allow; the decoders assume them.
bool strideAllowed(const MeshoptStream& stream) {
    const std::int64_t stride = stream.byteStride;
    const std::string filter = filterOf(stream);
    if (stream.mode == "ATTRIBUTES") {
        const bool fits = stride > 0 && stride <= 256 && stride % 4 == 0;
        if (filter == "OCTAHEDRAL") {
            return stride == 4 || stride == 8;
        }
        if (filter == "QUATERNION") {
            return stride == 8;
        }
        return fits && (filter == "NONE" || filter == "EXPONENTIAL");
    }
    if (stream.mode == "TRIANGLES" || stream.mode == "INDICES") {
        return (stride == 2 || stride == 4) && filter == "NONE";
    }
    return false;
}

gltf::ByteSlice compressedBytes(GLTFUnarchiver& unarchiver, const MeshoptStream& stream,
                                std::int64_t viewIndex) {
    const gltf::ByteSlice buffer = unarchiver.loadBuffer(stream.buffer);
    const std::int64_t offset = stream.byteOffset.value_or(0);
    if (offset < 0 || stream.byteLength < 0 || static_cast<std::uint64_t>(offset) > buffer.size ||
        static_cast<std::uint64_t>(stream.byteLength) >
            buffer.size - static_cast<std::size_t>(offset)) {
        refuse(viewIndex, "reads bytes " + std::to_string(offset) + " to " +
                              std::to_string(offset + stream.byteLength) + " of a buffer of " +
                              std::to_string(buffer.size) + " bytes");
    }
    return {.block = buffer.block,
            .offset = buffer.offset + static_cast<std::size_t>(offset),
            .size = static_cast<std::size_t>(stream.byteLength)};
}

int decodeStream(std::uint8_t* target, const MeshoptStream& stream, std::size_t count,
                 std::size_t stride, std::span<const std::uint8_t> source) {
    if (stream.mode == "ATTRIBUTES") {
        return meshopt_decodeVertexBuffer(target, count, stride, source.data(), source.size());
    }
    if (stream.mode == "TRIANGLES") {
        return meshopt_decodeIndexBuffer(target, count, stride, source.data(), source.size());
    }
    return meshopt_decodeIndexSequence(target, count, stride, source.data(), source.size());
}

void undoFilter(std::uint8_t* target, const MeshoptStream& stream, std::size_t count,
                std::size_t stride) {
    const std::string filter = filterOf(stream);
    if (filter == "OCTAHEDRAL") {
        meshopt_decodeFilterOct(target, count, stride);
    } else if (filter == "QUATERNION") {
        meshopt_decodeFilterQuat(target, count, stride);
    } else if (filter == "EXPONENTIAL") {
        meshopt_decodeFilterExp(target, count, stride);
    }
}

} // namespace

MeshoptStream MeshoptStream::decode(const gltf::JsonObject& json) {
    return {
        .buffer = json.required<std::int64_t>("buffer"),
        .byteOffset = json.optional<std::int64_t>("byteOffset"),
        .byteLength = json.required<std::int64_t>("byteLength"),
        .byteStride = json.required<std::int64_t>("byteStride"),
        .count = json.required<std::int64_t>("count"),
        .mode = json.required<std::string>("mode"),
        .filter = json.optional<std::string>("filter"),
    };
}

EXTMeshoptCompression EXTMeshoptCompression::decode(const gltf::JsonObject& extensions) {
    EXTMeshoptCompression result;
    const std::optional<gltf::JsonValue> member = extensions.find(extensionName);
    if (!member || member->isNull()) {
        return result;
    }
    const gltf::JsonObject object = member->object();
    if (object.find("buffer")) {
        result.data = MeshoptStream::decode(object);
    }
    result.fallback = object.optional<bool>("fallback");
    return result;
}

const MeshoptStream* meshoptStream(const GLTFBufferView& view) {
    return extensionData<EXTMeshoptCompression>(view.extensions);
}

gltf::ByteSlice decodeMeshoptView(GLTFUnarchiver& unarchiver, const MeshoptStream& stream,
                                  const GLTFBufferView& view, std::int64_t viewIndex) {
    if (!strideAllowed(stream)) {
        refuse(viewIndex, "mode " + stream.mode + " with filter " + filterOf(stream) +
                              " cannot have byteStride " + std::to_string(stream.byteStride));
    }
    if (stream.mode == "TRIANGLES" && stream.count % 3 != 0) {
        refuse(viewIndex, "holds " + std::to_string(stream.count) +
                              " triangle indices, which is not a multiple of 3");
    }
    const auto stride = static_cast<std::size_t>(stream.byteStride);
    const std::optional<std::size_t> decodedSize =
        stream.count < 0 ? std::nullopt
                         : checkedMultiplyAdd(0, stride, static_cast<std::size_t>(stream.count));
    if (!decodedSize || view.byteLength < 0 ||
        *decodedSize > static_cast<std::uint64_t>(view.byteLength) ||
        static_cast<std::uint64_t>(view.byteLength) > maxDecodedBytes) {
        refuse(viewIndex, "decodes " + std::to_string(stream.count) + " elements of " +
                              std::to_string(stream.byteStride) + " bytes into a view of " +
                              std::to_string(view.byteLength) + " bytes");
    }
    const gltf::ByteSlice source = compressedBytes(unarchiver, stream, viewIndex);
    std::vector<std::uint8_t> decoded(static_cast<std::size_t>(view.byteLength));
    const auto count = static_cast<std::size_t>(stream.count);
    if (decodeStream(decoded.data(), stream, count, stride, source.bytes()) != 0) {
        refuse(viewIndex, "does not decode to " + std::to_string(stream.count) + " elements of " +
                              std::to_string(stream.byteStride) +
                              " bytes; the stream is damaged or its count is wrong");
    }
    undoFilter(decoded.data(), stream, count, stride);
    return gltf::ByteSlice::whole(scene::makeBytes(std::move(decoded)));
}

void refuseFallbackBuffer(const GLTFBuffer& buffer, std::int64_t bufferIndex) {
    if (buffer.uri || !buffer.extensions) {
        return;
    }
    const auto entry = buffer.extensions->extensions.find(EXTMeshoptCompression::extensionName);
    if (entry == buffer.extensions->extensions.end()) {
        return;
    }
    const auto* extension = dynamic_cast<const EXTMeshoptCompression*>(entry->second.get());
    if (extension != nullptr && extension->fallback.value_or(false)) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadBuffer: buffer " + std::to_string(bufferIndex) +
            " only stands in for EXT_meshopt_compression data; its bytes are not in the file");
    }
}

} // namespace gltf::extensions
