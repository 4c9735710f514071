#include "VertexEncodings.h"

#include <cstdint>
#include <string>

namespace modelimporter {
namespace {

constexpr std::int64_t floatComponentType = 5126;

template <class T> T fieldOr(simdjson::dom::element object, const char* key, T fallback) {
    T value;
    return object[key].get(value) == simdjson::SUCCESS ? value : fallback;
}

int componentCount(std::string_view type) {
    if (type == "SCALAR") {
        return 1;
    }
    if (type.size() == 4 && type.starts_with("VEC")) {
        return type[3] - '0';
    }
    return 0;
}

std::optional<IntegerEncoding> integerEncoding(simdjson::dom::array accessors,
                                               simdjson::dom::element attributes,
                                               const char* name) {
    std::uint64_t index = 0;
    if (attributes[name].get(index) != simdjson::SUCCESS || index >= accessors.size()) {
        return std::nullopt;
    }
    simdjson::dom::element accessor;
    if (accessors.at(index).get(accessor) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    const auto componentType = fieldOr<std::int64_t>(accessor, "componentType", floatComponentType);
    if (componentType == floatComponentType) {
        return std::nullopt;
    }
    return IntegerEncoding{static_cast<int>(componentType), fieldOr(accessor, "normalized", false),
                           componentCount(fieldOr<std::string_view>(accessor, "type", ""))};
}

PrimitiveEncodings encodingsOf(simdjson::dom::array accessors, simdjson::dom::element primitive) {
    PrimitiveEncodings encodings;
    simdjson::dom::element attributes;
    if (primitive["attributes"].get(attributes) != simdjson::SUCCESS) {
        return encodings;
    }
    encodings.position = integerEncoding(accessors, attributes, "POSITION");
    encodings.normal = integerEncoding(accessors, attributes, "NORMAL");
    for (std::size_t channel = 0; channel < encodings.texcoords.size(); ++channel) {
        const std::string name = "TEXCOORD_" + std::to_string(channel);
        encodings.texcoords[channel] = integerEncoding(accessors, attributes, name.c_str());
    }
    return encodings;
}

} // namespace

std::vector<PrimitiveEncodings> readPrimitiveEncodings(simdjson::dom::element document) {
    simdjson::dom::array accessors;
    simdjson::dom::array meshes;
    if (document["accessors"].get(accessors) != simdjson::SUCCESS ||
        document["meshes"].get(meshes) != simdjson::SUCCESS) {
        return {};
    }
    std::vector<PrimitiveEncodings> encodings;
    for (simdjson::dom::element mesh : meshes) {
        simdjson::dom::array primitives;
        if (mesh["primitives"].get(primitives) == simdjson::SUCCESS) {
            for (simdjson::dom::element primitive : primitives) {
                encodings.push_back(encodingsOf(accessors, primitive));
            }
        }
    }
    return encodings;
}

} // namespace modelimporter
