#include "Primvar.h"

namespace usd::reader {
namespace {

std::optional<std::vector<std::size_t>>
checkedIndices(const ComposedPrim& mesh, const std::string& attribute, std::size_t valueCount) {
    const auto raw = readIntegerArray(mesh.attributeValue(attribute + ":indices"));
    if (!raw) {
        return std::vector<std::size_t>{};
    }
    std::vector<std::size_t> indices;
    indices.reserve(raw->size());
    for (std::int64_t index : *raw) {
        if (index < 0 || static_cast<std::size_t>(index) >= valueCount) {
            return std::nullopt;
        }
        indices.push_back(static_cast<std::size_t>(index));
    }
    return indices;
}

} // namespace

std::optional<Interpolation> interpolationNamed(const std::string& name) {
    if (name == "constant") {
        return Interpolation::constant;
    }
    if (name == "uniform") {
        return Interpolation::uniform;
    }
    if (name == "varying") {
        return Interpolation::varying;
    }
    if (name == "vertex") {
        return Interpolation::vertex;
    }
    if (name == "faceVarying") {
        return Interpolation::faceVarying;
    }
    return std::nullopt;
}

std::size_t expectedElementCount(Interpolation interpolation, const MeshTopology& topology) {
    switch (interpolation) {
    case Interpolation::constant:
        return 1;
    case Interpolation::uniform:
        return topology.faceCount;
    case Interpolation::varying:
    case Interpolation::vertex:
        return topology.pointCount;
    case Interpolation::faceVarying:
        return topology.faceVertexCount;
    }
    return 0;
}

std::optional<Primvar> Primvar::read(const ComposedPrim& mesh, const std::string& attribute,
                                     Interpolation fallback, const MeshTopology& topology,
                                     SceneReadWarnings& warnings) {
    const Value* authored = mesh.attributeValue(attribute);
    if (authored == nullptr) {
        return std::nullopt;
    }
    const auto drop = [&](const std::string& why) -> std::optional<Primvar> {
        warnings.push_back("The primvar " + attribute + " of " + mesh.path().text() + " " + why +
                           "; it is left out.");
        return std::nullopt;
    };
    const auto named = readText(mesh.propertyField(attribute, "interpolation"));
    const std::optional<Interpolation> interpolation =
        named ? interpolationNamed(*named) : std::optional(fallback);
    if (!interpolation) {
        return drop("has the unknown interpolation \"" + *named + "\"");
    }
    if (readNumber(mesh.propertyField(attribute, "elementSize")).value_or(1) != 1) {
        return drop("has several values per element, which is not supported");
    }
    VectorArray values = readVectorArray(authored);
    if (values.components == 0) {
        return drop("is not an array of numbers");
    }
    const auto indices = checkedIndices(mesh, attribute, values.elements.size());
    if (!indices) {
        return drop("has indices outside its values");
    }
    const std::size_t count = indices->empty() ? values.elements.size() : indices->size();
    if (count != expectedElementCount(*interpolation, topology)) {
        return drop("has " + std::to_string(count) + " elements where its interpolation needs " +
                    std::to_string(expectedElementCount(*interpolation, topology)));
    }
    return Primvar(std::move(values), std::move(*indices), *interpolation);
}

std::size_t Primvar::valueIndex(const Corner& corner) const {
    std::size_t element = 0;
    switch (interpolation_) {
    case Interpolation::constant:
        element = 0;
        break;
    case Interpolation::uniform:
        element = corner.face;
        break;
    case Interpolation::varying:
    case Interpolation::vertex:
        element = corner.point;
        break;
    case Interpolation::faceVarying:
        element = corner.faceVertex;
        break;
    }
    return indices_.empty() ? element : indices_[element];
}

} // namespace usd::reader
