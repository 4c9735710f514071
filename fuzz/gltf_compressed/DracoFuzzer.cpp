// The whole input as a Draco-compressed triangle mesh with positions, normals, texture
// coordinates, colours, joints and weights.
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
                      {"componentType": 5125, "count": 3, "type": "SCALAR"}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "NORMAL": 1, "TEXCOORD_0": 2,
                     "COLOR_0": 3, "JOINTS_0": 4, "WEIGHTS_0": 5}, "indices": 6,
            "extensions": {"KHR_draco_mesh_compression": {"bufferView": 0, "attributes": {
                "POSITION": 0, "NORMAL": 1, "TEXCOORD_0": 2, "COLOR_0": 3, "JOINTS_0": 4,
                "WEIGHTS_0": 5}}}}]}],
        "nodes": [{"mesh": 0}], "scenes": [{"nodes": [0]}]})",
                      data, size);
    return 0;
}
