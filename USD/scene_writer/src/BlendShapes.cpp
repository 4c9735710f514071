#include "BlendShapes.h"

#include "AnimatedValues.h"
#include "ApiSchemas.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <algorithm>

namespace usd::writer {
namespace {

// Below this share of moving points the offsets are listed with their point indices.
constexpr double kSparseShare = 0.7;

struct TargetOffsets {
    Array<Vec3f> offsets;
    std::optional<Array<Vec3f>> normalOffsets;
    std::optional<Array<std::int32_t>> pointIndices; // absent when every point is listed
};

glm::dvec3 xyz(const glm::dvec4& v) {
    return {v.x, v.y, v.z};
}

// The target's change of one source, for one geometry vertex: additive targets store changes,
// normalised ones whole shapes to subtract the base from.
glm::dvec3 change(const scene::GeometrySource& target, const scene::GeometrySource* base,
                  std::uint32_t vertex) {
    const glm::dvec3 value = xyz(target.normalizedVector(vertex));
    return base ? value - xyz(base->normalizedVector(vertex)) : value;
}

const scene::GeometrySource* baseFor(const scene::Morpher& morpher, const scene::Geometry& geometry,
                                     scene::GeometrySemantic semantic) {
    if (morpher.calculationMode() == scene::MorpherCalculationMode::additive)
        return nullptr;
    return geometry.firstSource(semantic).get();
}

TargetOffsets offsetsOf(const scene::Morpher& morpher, const scene::Geometry& base,
                        const scene::Geometry& target, std::span<const std::uint32_t> origins) {
    const auto positions = target.firstSource(scene::GeometrySemantic::vertex);
    const auto normals = target.firstSource(scene::GeometrySemantic::normal);
    const auto* basePositions = baseFor(morpher, base, scene::GeometrySemantic::vertex);
    const auto* baseNormals = baseFor(morpher, base, scene::GeometrySemantic::normal);
    const std::uint32_t reach = *std::ranges::max_element(origins) + 1;
    const bool withNormals = normals && normals->vectorCount() >= reach &&
                             (!baseNormals || baseNormals->vectorCount() >= reach);

    TargetOffsets all;
    all.offsets.reserve(origins.size());
    Array<std::int32_t> moved;
    std::vector<bool> copied(reach, false);
    if (withNormals)
        all.normalOffsets.emplace();
    for (const std::uint32_t v : origins) {
        const glm::dvec3 offset = change(*positions, basePositions, v);
        all.offsets.push_back(toVec3f(offset));
        bool moves = offset != glm::dvec3(0.0);
        if (withNormals) {
            // A back-face copy of a vertex has its normal turned around, and so its change.
            const glm::dvec3 normal = change(*normals, baseNormals, v) * (copied[v] ? -1.0 : 1.0);
            all.normalOffsets->push_back(toVec3f(normal));
            moves = moves || normal != glm::dvec3(0.0);
        }
        copied[v] = true;
        if (moves)
            moved.push_back(static_cast<std::int32_t>(all.offsets.size() - 1));
    }
    if (static_cast<double>(moved.size()) >= kSparseShare * static_cast<double>(origins.size()))
        return all;
    TargetOffsets sparse;
    if (withNormals)
        sparse.normalOffsets.emplace();
    for (const std::int32_t p : moved) {
        sparse.offsets.push_back(all.offsets[static_cast<std::size_t>(p)]);
        if (withNormals)
            sparse.normalOffsets->push_back((*all.normalOffsets)[static_cast<std::size_t>(p)]);
    }
    sparse.pointIndices = std::move(moved);
    return sparse;
}

bool coversOrigins(const scene::Geometry& target, std::span<const std::uint32_t> origins) {
    const auto positions = target.firstSource(scene::GeometrySemantic::vertex);
    return positions && !origins.empty() &&
           positions->vectorCount() > *std::ranges::max_element(origins);
}

void writeBlendShape(LayerBuilder& build, const Path& shape, TargetOffsets offsets) {
    build.definePrim(shape, "BlendShape");
    build.addAttribute(shape, "offsets",
                       {"vector3f[]", std::move(offsets.offsets), Variability::Uniform});
    if (offsets.normalOffsets)
        build.addAttribute(shape, "normalOffsets",
                           {"vector3f[]", std::move(*offsets.normalOffsets), Variability::Uniform});
    if (offsets.pointIndices)
        build.addAttribute(shape, "pointIndices",
                           {"int[]", std::move(*offsets.pointIndices), Variability::Uniform});
}

} // namespace

void bindSkeleton(LayerBuilder& build, const Path& prim, const Path& skeleton) {
    if (build.layer().hasSpec(prim.appendProperty("skel:skeleton")))
        return;
    applySchema(build, prim, "SkelBindingAPI");
    build.addRelationship(prim, "skel:skeleton", {skeleton});
}

void writeBlendShapes(LayerBuilder& build, const Path& mesh, const scene::Node& node,
                      std::span<const std::uint32_t> origins, SkelRootContents& root,
                      Findings& findings) {
    const scene::Morpher& morpher = *node.morpher();
    const scene::Geometry& base = *node.geometry();
    Array<Token> tokens;
    std::vector<Path> targets;
    for (std::size_t t = 0; t < morpher.targets().size(); ++t) {
        const scene::Geometry& target = *morpher.targets()[t];
        if (!coversOrigins(target, origins)) {
            findings.push_back(mesh.text() + ": morph target " + std::to_string(t) +
                               " has fewer positions than the mesh; it was left out.");
            continue;
        }
        const std::string name =
            target.name().empty() ? "target" + std::to_string(t) : target.name();
        const std::string token =
            root.tokens.claim(std::string(mesh.name()) + "_" + name, "target");
        const Path shape = mesh.appendChild(token);
        writeBlendShape(build, shape, offsetsOf(morpher, base, target, origins));
        tokens.push_back(Token{token});
        targets.push_back(shape);
        root.blendShapes.push_back({token, &node, t});
    }
    if (tokens.empty())
        return;
    bindSkeleton(build, mesh, root.skeleton);
    build.addAttribute(mesh, "skel:blendShapes",
                       {"token[]", std::move(tokens), Variability::Uniform});
    build.addRelationship(mesh, "skel:blendShapeTargets", std::move(targets));
}

} // namespace usd::writer
