#include "geometry/GeometryPlan.h"

#include "geometry/PrimitiveCorners.h"

#include <SceneGraph/Material.h>

namespace usd::writer {
namespace {

GeometryPrimKind kindOf(scene::PrimitiveType type) {
    switch (type) {
    case scene::PrimitiveType::point:
        return GeometryPrimKind::points;
    case scene::PrimitiveType::line:
        return GeometryPrimKind::curves;
    default:
        return GeometryPrimKind::mesh;
    }
}

// Which faces a material shows decides how its triangles are written, so elements sharing a
// mesh must agree on it.
std::pair<bool, scene::CullMode> facesShown(const scene::Geometry& geometry, std::size_t element) {
    const auto material = geometry.materialForElement(element);
    if (!material)
        return {false, scene::CullMode::back};
    return {material->doubleSided, material->cullMode};
}

bool canShareOneMesh(const scene::Geometry& geometry, std::uint64_t cornerLimit) {
    const auto& elements = geometry.elements();
    std::uint64_t corners = 0;
    for (std::size_t e = 0; e < elements.size(); ++e) {
        corners += cornersWritten(geometry, e);
        if (kindOf(elements[e]->primitiveType()) != GeometryPrimKind::mesh ||
            facesShown(geometry, e) != facesShown(geometry, 0) || corners > cornerLimit)
            return false;
    }
    return true;
}

} // namespace

std::vector<GeometryPrimPlan> planGeometryPrims(const scene::Geometry& geometry,
                                                const std::string& node,
                                                std::vector<std::string>& notes) {
    std::vector<std::size_t> refused;
    std::vector<GeometryPrimPlan> plans = planGeometryPrims(geometry, refused);
    for (const std::size_t element : refused)
        notes.push_back("Node \"" + node + "\": a mesh of " +
                        std::to_string(cornersWritten(geometry, element)) +
                        " corners is more than a USD mesh can number (" +
                        std::to_string(largestPrimCorners) + "); it was left out.");
    return plans;
}

std::uint64_t cornersWritten(const scene::Geometry& geometry, std::size_t element) {
    const scene::GeometryElement& drawn = *geometry.elements()[element];
    const std::uint64_t corners = static_cast<std::uint64_t>(drawn.primitiveCount()) *
                                  cornersPerPrimitive(drawn.primitiveType());
    return facesShown(geometry, element).first ? 2 * corners : corners;
}

std::vector<GeometryPrimPlan> planGeometryPrims(const scene::Geometry& geometry,
                                                std::vector<std::size_t>& refused,
                                                std::uint64_t cornerLimit) {
    const std::size_t count = geometry.elements().size();
    if (count == 0)
        return {};
    if (canShareOneMesh(geometry, cornerLimit)) {
        GeometryPrimPlan plan{GeometryPrimKind::mesh, {}, true};
        for (std::size_t e = 0; e < count; ++e)
            plan.elements.push_back(e);
        return {plan};
    }
    std::vector<GeometryPrimPlan> plans;
    for (std::size_t e = 0; e < count; ++e) {
        if (cornersWritten(geometry, e) > cornerLimit)
            refused.push_back(e);
        else
            plans.push_back({kindOf(geometry.elements()[e]->primitiveType()), {e}, false});
    }
    return plans;
}

std::string_view primTypeName(GeometryPrimKind kind) {
    switch (kind) {
    case GeometryPrimKind::points:
        return "Points";
    case GeometryPrimKind::curves:
        return "BasisCurves";
    default:
        return "Mesh";
    }
}

std::string_view defaultPrimName(GeometryPrimKind kind) {
    switch (kind) {
    case GeometryPrimKind::points:
        return "points";
    case GeometryPrimKind::curves:
        return "curves";
    default:
        return "mesh";
    }
}

} // namespace usd::writer
