#include "selfcheck/SelfCheckRules.h"

#include <USD/ar_check/LayerQueries.h>
#include <USD/layer/FieldNames.h>
#include <algorithm>
#include <string>

namespace usd::writer::check {
namespace {

// Element counts the AR viewer and USD expect of a prim with vertex primvars.
template <typename T> std::size_t lengthOf(const Value* value) {
    const Array<T>* array = value ? value->get<Array<T>>() : nullptr;
    return array ? array->size() : 0;
}

bool isPrim(const Spec& spec) {
    return spec.type == SpecType::Prim;
}

void checkVertexPrimvars(const Layer& layer, const Path& prim, std::size_t points, Notes& notes) {
    for (const std::string& name : propertyNames(layer, prim)) {
        const Spec* spec = layer.spec(prim.appendProperty(name));
        if (!spec || tokenOf(spec->field("interpolation")) != "vertex")
            continue;
        const Value* elementSize = spec->field("elementSize");
        const std::int32_t* perPoint = elementSize ? elementSize->get<std::int32_t>() : nullptr;
        const std::size_t wanted = points * static_cast<std::size_t>(perPoint ? *perPoint : 1);
        const std::size_t count = arrayLength(spec->field(field::kDefault));
        if (count != wanted || (perPoint && *perPoint < 1))
            notes.push_back(prim.text() + "." + name + " has " + std::to_string(count) +
                            " values for " + std::to_string(points) + " points.");
    }
}

void checkMeshTopology(const Layer& layer, const Path& mesh, std::size_t points, Notes& notes) {
    const Value* countsValue = attributeValue(layer, mesh, "faceVertexCounts");
    const Value* indicesValue = attributeValue(layer, mesh, "faceVertexIndices");
    const auto* counts = countsValue ? countsValue->get<Array<std::int32_t>>() : nullptr;
    const auto* indices = indicesValue ? indicesValue->get<Array<std::int32_t>>() : nullptr;
    if (!counts || !indices) {
        notes.push_back(mesh.text() + " lacks its faces.");
        return;
    }
    std::size_t corners = 0;
    for (const std::int32_t count : *counts)
        corners += static_cast<std::size_t>(std::max(count, 0));
    if (corners != indices->size())
        notes.push_back(mesh.text() + ": face sizes do not add up to the face indices.");
    for (const std::int32_t index : *indices)
        if (index < 0 || static_cast<std::size_t>(index) >= points) {
            notes.push_back(mesh.text() + " has a face index past its points.");
            return;
        }
}

} // namespace

void checkShownPrims(const Layer& layer, Notes& notes) {
    for (const auto& [path, spec] : layer.specs()) {
        if (!isPrim(spec))
            continue;
        const std::string type = primType(layer, path);
        if (type == "Points")
            notes.push_back(path.text() + ": points are not shown by the AR viewer.");
        else if (type == "Camera")
            notes.push_back(path.text() + ": cameras are ignored by the AR viewer.");
    }
}

void checkHierarchyDepth(const Layer& layer, Notes& notes) {
    std::size_t deepest = 0;
    for (const auto& [path, spec] : layer.specs())
        if (isPrim(spec))
            deepest = std::max<std::size_t>(deepest, std::ranges::count(path.text(), '/'));
    if (deepest > kWidelyReadPrimDepth)
        notes.push_back("The prims nest " + std::to_string(deepest) +
                        " levels deep; some USD readers refuse files whose prims nest more "
                        "than " +
                        std::to_string(kWidelyReadPrimDepth) + " levels deep.");
}

void checkPrimvarCounts(const Layer& layer, Notes& notes) {
    for (const auto& [path, spec] : layer.specs()) {
        if (!isPrim(spec))
            continue;
        const std::string type = primType(layer, path);
        if (type != "Mesh" && type != "Points" && type != "BasisCurves")
            continue;
        const std::size_t points = lengthOf<Vec3f>(attributeValue(layer, path, "points"));
        checkVertexPrimvars(layer, path, points, notes);
        if (type == "Mesh")
            checkMeshTopology(layer, path, points, notes);
    }
}

} // namespace usd::writer::check
