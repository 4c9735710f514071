#include "PointsAndCurves.h"

#include "ValueReading.h"

#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <numeric>

namespace usd::reader {
namespace {

std::vector<glm::vec3> pointsOf(const ComposedPrim& prim, SceneReadNotes& notes) {
    const VectorArray points = readVectorArray(prim.attributeValue("points"));
    if (points.components() != 3 || points.empty()) {
        notes.push_back("The prim " + prim.path().text() + " has no points; it is left out.");
        return {};
    }
    std::vector<glm::vec3> vectors;
    vectors.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        vectors.emplace_back(points[i]);
    }
    return vectors;
}

std::shared_ptr<scene::Geometry> geometryOf(const ComposedPrim& prim,
                                            const std::vector<glm::vec3>& points,
                                            const std::vector<std::uint32_t>& indices,
                                            scene::PrimitiveType type,
                                            MaterialResolver& materials) {
    if (indices.empty()) {
        return nullptr;
    }
    auto geometry = scene::Geometry::create(
        {scene::GeometrySource::fromVectors<3>(scene::GeometrySemantic::vertex, points)},
        {scene::GeometryElement::fromIndices<std::uint32_t>(indices, type)});
    geometry->setName(std::string(prim.name()));
    geometry->setMaterials({materials.materialFor(prim, prim, false).material});
    return geometry;
}

// Segments (i, i + 1) along each curve, closing periodic ones.
std::vector<std::uint32_t> curveSegments(const IntegerArray& counts, bool periodic) {
    std::vector<std::uint32_t> indices;
    std::uint32_t first = 0;
    for (std::int32_t count : counts) {
        const auto n = static_cast<std::uint32_t>(count);
        for (std::uint32_t i = 0; i + 1 < n; ++i) {
            indices.insert(indices.end(), {first + i, first + i + 1});
        }
        if (periodic && n > 2) {
            indices.insert(indices.end(), {first + n - 1, first});
        }
        first += n;
    }
    return indices;
}

} // namespace

std::shared_ptr<scene::Geometry>
buildPointsGeometry(const ComposedPrim& prim, MaterialResolver& materials, SceneReadNotes& notes) {
    const std::vector<glm::vec3> points = pointsOf(prim, notes);
    std::vector<std::uint32_t> indices(points.size());
    std::iota(indices.begin(), indices.end(), 0u);
    return geometryOf(prim, points, indices, scene::PrimitiveType::point, materials);
}

std::shared_ptr<scene::Geometry>
buildCurvesGeometry(const ComposedPrim& prim, MaterialResolver& materials, SceneReadNotes& notes) {
    const std::vector<glm::vec3> points = pointsOf(prim, notes);
    const auto counts = readIntegerArray(prim.attributeValue("curveVertexCounts"));
    if (points.empty() || !counts || totalOfCounts(*counts) != points.size()) {
        notes.push_back("The curves " + prim.path().text() +
                        " list vertex counts that do not match their points; they are left out.");
        return nullptr;
    }
    if (readText(prim.attributeValue("type")).value_or("cubic") != "linear") {
        notes.push_back("The cubic curves " + prim.path().text() +
                        " are drawn as lines through their control points.");
    }
    const bool periodic = readText(prim.attributeValue("wrap")).value_or("") == "periodic";
    return geometryOf(prim, points, curveSegments(*counts, periodic), scene::PrimitiveType::line,
                      materials);
}

} // namespace usd::reader
