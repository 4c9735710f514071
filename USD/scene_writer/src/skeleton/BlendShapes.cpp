#include "skeleton/BlendShapes.h"

#include "ApiSchemas.h"
#include "motion/AnimatedValues.h"
#include "motion/AnimationTimeline.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/MaterialContract.h>
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
glm::dvec3 changeOf(const scene::GeometrySource& target, const scene::GeometrySource* base,
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

// Targets mixed with weights: one target at weight 1, or an avatar's expression.
using Mix = std::vector<std::pair<const scene::Geometry*, double>>;

// The mix's change of a point, and of its normal when every target of the mix has normals.
struct PointChange {
    glm::dvec3 offset{0.0};
    glm::dvec3 normal{0.0};
};

class MixReader {
  public:
    MixReader(const scene::Morpher& morpher, const scene::Geometry& base, const Mix& mix,
              std::uint32_t reach)
        : basePositions_(baseFor(morpher, base, scene::GeometrySemantic::vertex)),
          baseNormals_(baseFor(morpher, base, scene::GeometrySemantic::normal)) {
        withNormals_ = !baseNormals_ || baseNormals_->vectorCount() >= reach;
        for (const auto& [target, weight] : mix) {
            const auto normals = target->firstSource(scene::GeometrySemantic::normal);
            withNormals_ = withNormals_ && normals && normals->vectorCount() >= reach;
            parts_.push_back({target->firstSource(scene::GeometrySemantic::vertex).get(),
                              normals.get(), weight});
        }
    }

    bool withNormals() const { return withNormals_; }

    PointChange at(std::uint32_t vertex) const {
        PointChange change;
        for (const Part& part : parts_) {
            change.offset += part.weight * changeOf(*part.positions, basePositions_, vertex);
            if (withNormals_)
                change.normal += part.weight * changeOf(*part.normals, baseNormals_, vertex);
        }
        return change;
    }

  private:
    struct Part {
        const scene::GeometrySource* positions;
        const scene::GeometrySource* normals;
        double weight;
    };
    const scene::GeometrySource* basePositions_;
    const scene::GeometrySource* baseNormals_;
    bool withNormals_ = false;
    std::vector<Part> parts_;
};

TargetOffsets sparseOf(TargetOffsets all, Array<std::int32_t> moved) {
    TargetOffsets sparse;
    if (all.normalOffsets)
        sparse.normalOffsets.emplace();
    for (const std::int32_t p : moved) {
        sparse.offsets.push_back(all.offsets[static_cast<std::size_t>(p)]);
        if (all.normalOffsets)
            sparse.normalOffsets->push_back((*all.normalOffsets)[static_cast<std::size_t>(p)]);
    }
    sparse.pointIndices = std::move(moved);
    return sparse;
}

TargetOffsets offsetsOf(const scene::Morpher& morpher, const scene::Geometry& base, const Mix& mix,
                        std::span<const std::uint32_t> origins) {
    const std::uint32_t reach = *std::ranges::max_element(origins) + 1;
    const MixReader read(morpher, base, mix, reach);
    TargetOffsets all;
    all.offsets.reserve(origins.size());
    if (read.withNormals())
        all.normalOffsets.emplace();
    Array<std::int32_t> moved;
    std::vector<bool> copied(reach, false);
    for (const std::uint32_t v : origins) {
        const PointChange change = read.at(v);
        all.offsets.push_back(toVec3f(change.offset));
        // A back-face copy of a vertex has its normal turned around, and so its change.
        const glm::dvec3 normal = change.normal * (copied[v] ? -1.0 : 1.0);
        if (all.normalOffsets)
            all.normalOffsets->push_back(toVec3f(normal));
        copied[v] = true;
        if (change.offset != glm::dvec3(0.0) || normal != glm::dvec3(0.0))
            moved.push_back(static_cast<std::int32_t>(all.offsets.size() - 1));
    }
    if (static_cast<double>(moved.size()) >= kSparseShare * static_cast<double>(origins.size()))
        return all;
    return sparseOf(std::move(all), std::move(moved));
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

// The blend shapes of one mesh as they are written.
struct BoundShapes {
    const Path& mesh;
    SkelRootContents& root;
    Array<Token> tokens;
    std::vector<Path> targets;

    void add(LayerBuilder& build, const std::string& name, TargetOffsets offsets,
             BlendShapeTarget driver) {
        driver.token = root.tokens.claim(std::string(mesh.name()) + "_" + name, "target");
        const Path shape = mesh.appendChild(driver.token);
        writeBlendShape(build, shape, std::move(offsets));
        tokens.push_back(Token{driver.token});
        targets.push_back(shape);
        root.blendShapes.push_back(std::move(driver));
    }
};

// An avatar's expressions that move this node's morph targets: each a mix of them, named by
// the expression. They are kept as blend shapes of their own, at weight 0, for a viewer or a
// host to set.
std::vector<std::pair<std::string, Mix>> expressionsOf(const scene::Node& node,
                                                       std::span<const std::uint32_t> origins) {
    const scene::Node& top = topOf(node);
    const scene::Value* stored = top.value(scene::node_keys::avatarBlendShapes);
    const auto* groups = stored ? stored->as<scene::ValueDictionary>() : nullptr;
    std::vector<std::pair<std::string, Mix>> expressions;
    if (!groups)
        return expressions;
    const auto& targets = node.morpher()->targets();
    for (const auto& [name, group] : *groups) {
        const auto* weights = group.as<scene::ValueDictionary>();
        Mix mix;
        for (const auto& [keyPath, weight] : weights ? *weights : scene::ValueDictionary{}) {
            const auto target = resolveAnimatedTarget(top, keyPath);
            if (target && target->node == &node && weight.number() &&
                coversOrigins(*targets[target->target], origins))
                mix.emplace_back(targets[target->target].get(), *weight.number());
        }
        if (!mix.empty())
            expressions.emplace_back(name, std::move(mix));
    }
    return expressions;
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
                      Notes& notes) {
    const scene::Morpher& morpher = *node.morpher();
    BoundShapes bound{mesh, root, {}, {}};
    for (std::size_t t = 0; t < morpher.targets().size(); ++t) {
        const scene::Geometry& target = *morpher.targets()[t];
        if (!coversOrigins(target, origins)) {
            notes.push_back(mesh.text() + ": morph target " + std::to_string(t) +
                            " has fewer positions than the mesh; it was left out.");
            continue;
        }
        const std::string name =
            target.name().empty() ? "target" + std::to_string(t) : target.name();
        bound.add(build, name, offsetsOf(morpher, *node.geometry(), {{&target, 1.0}}, origins),
                  {"", &node, t});
    }
    for (const auto& [expression, mix] : expressionsOf(node, origins))
        bound.add(build, expression, offsetsOf(morpher, *node.geometry(), mix, origins),
                  {"", nullptr, 0});
    if (bound.tokens.empty())
        return;
    bindSkeleton(build, mesh, root.skeleton);
    build.addAttribute(mesh, "skel:blendShapes",
                       {"token[]", std::move(bound.tokens), Variability::Uniform});
    build.addRelationship(mesh, "skel:blendShapeTargets", std::move(bound.targets));
}

} // namespace usd::writer
