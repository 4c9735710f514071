// The whole input as a Draco-compressed triangle mesh with positions, normals, texture
// coordinates, colours, joints and weights. Its indices leave room for a million faces, more than
// the largest input of a run (64 KiB) can code with the standard traversal, so that the document
// does not stop what the data claims before the data's own bound does.
#include "CompressedInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::loadAsScene(R"({"asset": {"version": "2.0"},
        "extensionsUsed": ["KHR_draco_mesh_compression"],
        "extensionsRequired": ["KHR_draco_mesh_compression"],
        "buffers": [{"byteLength": BIN_LENGTH}],
        "bufferViews": [{"buffer": 0, "byteLength": BIN_LENGTH}],
        "accessors": [{"componentType": 5126, "count": 3, "type": "VEC3"},
                      {"componentType": 5126, "count": 3, "type": "VEC3"},
                      {"componentType": 5126, "count": 3, "type": "VEC2"},
                      {"componentType": 5121, "normalized": true, "count": 3, "type": "VEC4"},
                      {"componentType": 5123, "count": 3, "type": "VEC4"},
                      {"componentType": 5126, "count": 3, "type": "VEC4"},
                      {"componentType": 5125, "count": 3000000, "type": "SCALAR"}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "NORMAL": 1, "TEXCOORD_0": 2,
                     "COLOR_0": 3, "JOINTS_0": 4, "WEIGHTS_0": 5}, "indices": 6,
            "extensions": {"KHR_draco_mesh_compression": {"bufferView": 0, "attributes": {
                "POSITION": 0, "NORMAL": 1, "TEXCOORD_0": 2, "COLOR_0": 3, "JOINTS_0": 4,
                "WEIGHTS_0": 5}}}}]}],
        "nodes": [{"mesh": 0}], "scenes": [{"nodes": [0]}]})",
                      data, size);
    return 0;
}
