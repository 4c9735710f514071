// The input's first byte picks a mode, filter and stride and its second an element count; the
// rest is the meshopt stream, decoded into the positions or the indices of a mesh.
#include "CompressedInput.h"

#include <array>

namespace {

struct StreamShape {
    const char* mode;
    const char* filter;
    int stride;
    const char* componentType;
    const char* type;
};

// Every mode and filter, with the accessor that reads what it decodes to.
constexpr std::array<StreamShape, 7> shapes = {{
    {"ATTRIBUTES", "NONE", 12, "5126", "VEC3"},
    {"ATTRIBUTES", "OCTAHEDRAL", 4, "5120, \"normalized\": true", "VEC3"},
    {"ATTRIBUTES", "OCTAHEDRAL", 8, "5122, \"normalized\": true", "VEC3"},
    {"ATTRIBUTES", "QUATERNION", 8, "5122", "VEC3"},
    {"ATTRIBUTES", "EXPONENTIAL", 12, "5126", "VEC3"},
    {"TRIANGLES", "NONE", 2, "5123", "SCALAR"},
    {"INDICES", "NONE", 4, "5125", "SCALAR"},
}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const StreamShape& shape = shapes[data[0] % shapes.size()];
    const int count = data[1] + 1;
    const std::string stride = std::to_string(shape.stride);
    const std::string viewLength = std::to_string(shape.stride * count);
    const bool indices = std::string(shape.type) == "SCALAR";
    const std::string stream = R"({"buffer": 1, "byteLength": )" + viewLength +
                               (indices ? "" : R"(, "byteStride": )" + stride) +
                               R"(, "extensions": {"EXT_meshopt_compression": {"buffer": 0,
        "byteOffset": 2, "byteLength": )" +
                               std::to_string(size - 2) + R"(, "byteStride": )" + stride +
                               R"(, "count": )" + std::to_string(count) + R"(, "mode": ")" +
                               shape.mode + R"(", "filter": ")" + shape.filter + R"("}}})";
    const std::string accessor = R"({"bufferView": 0, "componentType": )" +
                                 std::string(shape.componentType) + R"(, "count": )" +
                                 std::to_string(count) + R"(, "type": ")" + shape.type + R"("})";
    const std::string positions = R"({"componentType": 5126, "count": 3, "type": "VEC3"})";
    const std::string primitive = indices ? R"({"attributes": {"POSITION": 1}, "indices": 0})"
                                          : R"({"attributes": {"POSITION": 0}})";
    fuzz::loadAsScene(R"({"asset": {"version": "2.0"},
        "extensionsUsed": ["EXT_meshopt_compression", "KHR_mesh_quantization"],
        "extensionsRequired": ["EXT_meshopt_compression", "KHR_mesh_quantization"],
        "buffers": [{"byteLength": BIN_LENGTH}, {"byteLength": )" +
                          viewLength + R"(, "extensions": {"EXT_meshopt_compression":
            {"fallback": true}}}],
        "bufferViews": [)" +
                          stream + R"(],
        "accessors": [)" + accessor +
                          ", " + positions + R"(],
        "meshes": [{"primitives": [)" +
                          primitive + R"(]}],
        "nodes": [{"mesh": 0}], "scenes": [{"nodes": [0]}]})",
                      data, size);
    return 0;
}
