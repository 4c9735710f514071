#pragma once

#include <GLTFReader/ByteSlice.h>
#include <GLTFReader/GLTFBuffer.h>
#include <GLTFReader/GLTFExtension.h>
#include <cstdint>
#include <optional>
#include <string>

class GLTFUnarchiver;

namespace gltf::extensions {

// Where a compressed buffer view's stream lies and what it decodes to: `count` elements of
// `byteStride` bytes, coded as vertex attributes, triangle indices or an index sequence,
// with an optional filter undone after decoding.
struct MeshoptStream {
    std::int64_t buffer;
    std::optional<std::int64_t> byteOffset;
    std::int64_t byteLength;
    std::int64_t byteStride;
    std::int64_t count;
    std::string mode;
    std::optional<std::string> filter;

    static MeshoptStream decode(const gltf::JsonObject& json);
};

// On a buffer view the extension names a stream; on a buffer it only says whether the buffer
// is a fallback: space for decoders that holds no data a reader needs.
struct EXTMeshoptCompression : GLTFExtensionValue {
    static constexpr const char* extensionName = "EXT_meshopt_compression";

    std::optional<MeshoptStream> data;
    std::optional<bool> fallback;

    static EXTMeshoptCompression decode(const gltf::JsonObject& extensions);
};

// The stream a buffer view is compressed into, or null for a plain view.
const MeshoptStream* meshoptStream(const GLTFBufferView& view);

// Decodes a compressed view into a block of its own of the view's byteLength. Streams that
// lie outside their buffer, decode to more than the view holds, use a mode, filter or stride
// the format does not allow, or do not decode to exactly `count` elements are refused.
gltf::ByteSlice decodeMeshoptView(GLTFUnarchiver& unarchiver, const MeshoptStream& stream,
                                  const GLTFBufferView& view, std::int64_t viewIndex);

// Refuses to read a buffer that only stands in for compressed data (marked as fallback and
// without a URI): its bytes are not in the file.
void refuseFallbackBuffer(const GLTFBuffer& buffer, std::int64_t bufferIndex);

} // namespace gltf::extensions
