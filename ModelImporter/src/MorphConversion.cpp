#include "MorphConversion.h"

#include "AssimpValues.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <span>

namespace modelimporter {
namespace {

std::shared_ptr<scene::GeometrySource> offsetsOf(scene::GeometrySemantic semantic,
                                                 const aiVector3D* shape, const aiVector3D* base,
                                                 unsigned count) {
    std::vector<glm::vec3> offsets;
    offsets.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const aiVector3D offset = shape[i] - base[i];
        offsets.emplace_back(offset.x, offset.y, offset.z);
    }
    return scene::GeometrySource::fromVectors<3>(semantic, std::span<const glm::vec3>(offsets));
}

std::shared_ptr<scene::Geometry> targetOf(const aiMesh& mesh, const aiAnimMesh& shape) {
    std::vector<std::shared_ptr<scene::GeometrySource>> sources;
    if (shape.HasPositions()) {
        sources.push_back(offsetsOf(scene::GeometrySemantic::vertex, shape.mVertices,
                                    mesh.mVertices, mesh.mNumVertices));
    }
    if (shape.HasNormals() && mesh.HasNormals()) {
        sources.push_back(offsetsOf(scene::GeometrySemantic::normal, shape.mNormals, mesh.mNormals,
                                    mesh.mNumVertices));
    }
    auto target = scene::Geometry::create(std::move(sources));
    target->setName(toString(shape.mName));
    return target;
}

} // namespace

std::vector<std::shared_ptr<scene::Geometry>> convertMorphTargets(const aiMesh& mesh,
                                                                  ImportNotes& notes) {
    std::vector<std::shared_ptr<scene::Geometry>> targets;
    for (unsigned t = 0; t < mesh.mNumAnimMeshes; ++t) {
        const aiAnimMesh& shape = *mesh.mAnimMeshes[t];
        if (shape.mNumVertices != mesh.mNumVertices) {
            notes.push_back("The morph targets of mesh \"" + toString(mesh.mName) +
                            "\" do not match its vertices and were left out.");
            return {};
        }
        targets.push_back(targetOf(mesh, shape));
    }
    return targets;
}

std::shared_ptr<scene::Morpher>
morpherFor(const aiMesh& mesh, const std::vector<std::shared_ptr<scene::Geometry>>& targets) {
    if (targets.empty()) {
        return nullptr;
    }
    auto morpher = scene::Morpher::create();
    morpher->setTargets(targets);
    morpher->setCalculationMode(scene::MorpherCalculationMode::additive);
    for (std::size_t t = 0; t < targets.size(); ++t) {
        morpher->setWeight(t, mesh.mAnimMeshes[t]->mWeight);
    }
    return morpher;
}

} // namespace modelimporter
