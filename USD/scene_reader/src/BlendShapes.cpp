#include "BlendShapes.h"

#include "NumberArrays.h"
#include "ReadLimits.h"
#include "ValueReading.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <algorithm>

namespace usd::reader {
namespace {

// Offsets per point of the mesh: all of them, or those `pointIndices` names.
std::optional<std::vector<glm::vec3>>
pointOffsets(const ComposedPrim& shape, std::string_view attribute, std::size_t pointCount) {
    const VectorArray offsets = readVectorArray(shape.attributeValue(attribute));
    if (offsets.components() != 3) {
        return std::nullopt;
    }
    std::vector<glm::vec3> perPoint(pointCount, glm::vec3(0.0f));
    const std::optional<IntegerArray> indices =
        readIntegerArray(shape.attributeValue("pointIndices"));
    if (!indices) {
        if (offsets.size() != pointCount) {
            return std::nullopt;
        }
        for (std::size_t p = 0; p < pointCount; ++p) {
            perPoint[p] = glm::vec3(offsets[p]);
        }
        return perPoint;
    }
    if (indices->size() != offsets.size()) {
        return std::nullopt;
    }
    for (std::size_t k = 0; k < indices->size(); ++k) {
        const std::int32_t point = (*indices)[k];
        if (point < 0 || static_cast<std::size_t>(point) >= pointCount) {
            return std::nullopt;
        }
        perPoint[static_cast<std::size_t>(point)] = glm::vec3(offsets[k]);
    }
    return perPoint;
}

std::shared_ptr<scene::GeometrySource> vertexOffsets(scene::GeometrySemantic semantic,
                                                     const std::vector<glm::vec3>& perPoint,
                                                     const BoundMesh& mesh,
                                                     std::size_t vertexCount) {
    std::vector<glm::vec3> perVertex(vertexCount);
    for (std::size_t v = 0; v < vertexCount; ++v) {
        perVertex[v] = perPoint[mesh.vertexPoints.empty() ? v : mesh.vertexPoints[v]];
    }
    return scene::GeometrySource::fromVectors<3>(semantic, std::span<const glm::vec3>(perVertex));
}

bool hasInbetweens(const ComposedPrim& shape) {
    return std::ranges::any_of(shape.propertyNames(), [](const std::string& name) {
        return name.starts_with("inbetweens:");
    });
}

std::shared_ptr<scene::Geometry> morphTarget(const ComposedPrim* shape, const std::string& token,
                                             const BoundMesh& mesh, std::size_t pointCount,
                                             std::size_t vertexCount, SceneReadNotes& notes) {
    const std::vector<glm::vec3> none(pointCount, glm::vec3(0.0f));
    std::optional<std::vector<glm::vec3>> offsets;
    if (shape != nullptr && shape->typeName() == "BlendShape") {
        offsets = pointOffsets(*shape, "offsets", pointCount);
    }
    if (!offsets) {
        notes.push_back("The blend shape " + token + " of " + mesh.prim.path().text() +
                        " cannot be read; it moves nothing.");
    }
    std::vector<std::shared_ptr<scene::GeometrySource>> sources{
        vertexOffsets(scene::GeometrySemantic::vertex, offsets.value_or(none), mesh, vertexCount)};
    if (offsets && shape->attributeValue("normalOffsets") != nullptr) {
        if (auto normals = pointOffsets(*shape, "normalOffsets", pointCount)) {
            sources.push_back(
                vertexOffsets(scene::GeometrySemantic::normal, *normals, mesh, vertexCount));
        } else {
            notes.push_back("The normal offsets of the blend shape " + token + " of " +
                            mesh.prim.path().text() + " do not fit it; they are not used.");
        }
    }
    if (offsets && hasInbetweens(*shape)) {
        notes.push_back("The blend shape " + token + " of " + mesh.prim.path().text() +
                        " has in-between shapes; only its full shape is used.");
    }
    auto target = scene::Geometry::create(std::move(sources));
    target->setName(token);
    return target;
}

} // namespace

std::vector<std::string> addBlendShapes(const Stage& stage, const BoundMesh& mesh,
                                        SceneReadNotes& notes) {
    const std::vector<std::string> tokens =
        readTextArray(mesh.prim.attributeValue("skel:blendShapes"));
    const std::vector<Path> targets = mesh.prim.targets("skel:blendShapeTargets");
    const auto& geometry = mesh.node.geometry();
    const auto vertices =
        geometry ? geometry->firstSource(scene::GeometrySemantic::vertex) : nullptr;
    if (tokens.empty() || !vertices || vertices->vectorCount() == 0) {
        return {};
    }
    if (tokens.size() != targets.size()) {
        notes.push_back("The mesh " + mesh.prim.path().text() + " names " +
                        std::to_string(tokens.size()) + " blend shapes but targets " +
                        std::to_string(targets.size()) + "; they are left out.");
        return {};
    }
    if (tokens.size() > kMaxMorphTargetVertices / vertices->vectorCount()) {
        notes.push_back("The mesh " + mesh.prim.path().text() + " has too many blend shapes (" +
                        std::to_string(tokens.size()) + ") for its size; they are left out.");
        return {};
    }
    const std::size_t pointCount = readVectorArray(mesh.prim.attributeValue("points")).size();
    std::vector<std::shared_ptr<scene::Geometry>> morphTargets;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        morphTargets.push_back(morphTarget(stage.prim(targets[k]), tokens[k], mesh, pointCount,
                                           vertices->vectorCount(), notes));
    }
    auto morpher = scene::Morpher::create();
    morpher->setTargets(std::move(morphTargets));
    morpher->setCalculationMode(scene::MorpherCalculationMode::additive);
    mesh.node.setMorpher(std::move(morpher));
    return tokens;
}

} // namespace usd::reader
