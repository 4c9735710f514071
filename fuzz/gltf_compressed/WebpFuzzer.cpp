// The whole input as the WebP image of a textured material.
#include "CompressedInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::loadAsScene(R"({"asset": {"version": "2.0"},
        "extensionsUsed": ["EXT_texture_webp"], "extensionsRequired": ["EXT_texture_webp"],
        "buffers": [{"byteLength": BIN_LENGTH}],
        "bufferViews": [{"buffer": 0, "byteLength": BIN_LENGTH}],
        "images": [{"bufferView": 0, "mimeType": "image/webp"}],
        "textures": [{"extensions": {"EXT_texture_webp": {"source": 0}}}],
        "materials": [{"pbrMetallicRoughness": {"baseColorTexture": {"index": 0}}}],
        "accessors": [{"componentType": 5126, "count": 3, "type": "VEC3"}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0}, "material": 0}]}],
        "nodes": [{"mesh": 0}], "scenes": [{"nodes": [0]}]})",
                      data, size);
    return 0;
}
