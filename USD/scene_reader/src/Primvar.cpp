#include "Primvar.h"

#include <algorithm>

namespace usd::reader {
namespace {

// The primvar's index array (empty when it has none), or nullopt when an index lies outside
// its values.
std::optional<IntegerArray> checkedIndices(const ComposedPrim& mesh, const std::string& attribute,
                                           std::size_t valueCount) {
    auto indices = readIntegerArray(mesh.attributeValue(attribute + ":indices"));
    if (!indices) {
        return IntegerArray{};
    }
    const bool inRange = std::ranges::all_of(*indices, [&](std::int32_t index) {
        return index >= 0 && static_cast<std::size_t>(index) < valueCount;
    });
    return inRange ? std::move(indices) : std::nullopt;
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
                                     SceneReadNotes& notes) {
    const Value* authored = mesh.attributeValue(attribute);
    if (authored == nullptr) {
        return std::nullopt;
    }
    const auto drop = [&](const std::string& why) -> std::optional<Primvar> {
        notes.push_back("The primvar " + attribute + " of " + mesh.path().text() + " " + why +
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
    if (values.components() == 0) {
        return drop("is not an array of numbers");
    }
    auto indices = checkedIndices(mesh, attribute, values.size());
    if (!indices) {
        return drop("has indices outside its values");
    }
    const std::size_t count = indices->empty() ? values.size() : indices->size();
    if (count != expectedElementCount(*interpolation, topology)) {
        return drop("has " + std::to_string(count) + " elements where its interpolation needs " +
                    std::to_string(expectedElementCount(*interpolation, topology)));
    }
    return Primvar(std::move(values), std::move(*indices), *interpolation);
}

std::span<const float> Primvar::valuesInPointOrder(int components) const {
    const bool byPoint =
        interpolation_ == Interpolation::vertex || interpolation_ == Interpolation::varying;
    return byPoint && indices_.empty() && values_.components() == components
               ? values_.floats()
               : std::span<const float>{};
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
    return indices_.empty() ? element : static_cast<std::size_t>(indices_[element]);
}

} // namespace usd::reader
