#include "skeleton/SkinnedMeshes.h"

#include "geometry/VertexAttributes.h"
#include "motion/AnimatedValues.h"
#include "skeleton/JointInfluences.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <algorithm>
#include <limits>

namespace usd::writer {
namespace {

using Box = std::array<glm::dvec3, 2>;

Box emptyBox() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    return {glm::dvec3(inf), glm::dvec3(-inf)};
}

bool isEmpty(const Box& box) {
    return box[0].x > box[1].x;
}

void grow(Box& box, const glm::dvec3& p) {
    box[0] = glm::min(box[0], p);
    box[1] = glm::max(box[1], p);
}

void grow(Box& box, const Box& other) {
    if (!isEmpty(other)) {
        grow(box, other[0]);
        grow(box, other[1]);
    }
}

std::string labelOf(const scene::Node& node) {
    for (const scene::Node* n = &node; n; n = n->parentNode().get())
        if (!n->name().empty())
            return "Node \"" + n->name() + "\"";
    return "An unnamed node";
}

// A name for the skinned prim: its own node's, else the nearest named ancestor's.
std::string wantedName(const scene::Node& node) {
    for (const scene::Node* n = &node; n; n = n->parentNode().get())
        if (!n->name().empty())
            return n->name();
    return "mesh";
}

// The mesh's transform in its bind pose relative to the skeleton's: every bone agrees on one
// when its skin was bound with the skeleton's bind pose up to a change of the mesh's frame.
scene::Matrix4 geometryBindTransform(const SkeletonPlan& skeleton, const scene::Skinner& skinner,
                                     std::span<const int> boneJoints, const std::string& label,
                                     Notes& notes) {
    std::optional<scene::Matrix4> agreed;
    bool disagree = false;
    const auto& inverses = skinner.boneInverseBindTransforms();
    for (std::size_t b = 0; b < boneJoints.size(); ++b) {
        if (boneJoints[b] < 0)
            continue;
        const scene::Matrix4 inverse = inverses ? (*inverses)[b] : scene::Matrix4(1.0);
        const scene::Matrix4 g =
            skeleton.bindTransforms[static_cast<std::size_t>(boneJoints[b])] * inverse;
        if (!agreed)
            agreed = g;
        for (int c = 0; c < 4 && !disagree; ++c)
            disagree = glm::length((*agreed)[c] - g[c]) > 1e-4 * (1 + glm::length(g[c]));
    }
    if (disagree)
        notes.push_back(label + ": its skin binds shared bones in another pose than a skin "
                                "before it; it is bound in the first skin's pose.");
    return agreed.value_or(scene::Matrix4(1.0));
}

// Where the points can go: each joint's box of the points it moves, carried by the joint
// through every pose. A point blended between joints stays within the boxes of its joints.
Box skinnedExtent(const Array<Vec3f>& points, const JointInfluences& influences,
                  const SkeletonPlan& skeleton, const scene::Matrix4& geomBind,
                  const std::vector<std::vector<scene::Matrix4>>& poses) {
    std::vector<Box> jointBoxes(skeleton.joints.size(), emptyBox());
    std::vector<scene::Matrix4> toJoint;
    for (const scene::Matrix4& bind : skeleton.bindTransforms)
        toJoint.push_back(glm::inverse(bind) * geomBind);
    const auto size = static_cast<std::size_t>(influences.elementSize);
    for (std::size_t p = 0; p < points.size(); ++p)
        for (std::size_t k = 0; k < size; ++k) {
            if (influences.weights[p * size + k] <= 0)
                continue;
            const auto j = static_cast<std::size_t>(influences.indices[p * size + k]);
            const glm::dvec3 point(points[p][0], points[p][1], points[p][2]);
            grow(jointBoxes[j], scene::transformPoint(toJoint[j], point));
        }
    Box extent = emptyBox();
    for (const auto& pose : poses)
        for (std::size_t j = 0; j < jointBoxes.size(); ++j) {
            if (isEmpty(jointBoxes[j]))
                continue;
            for (int corner = 0; corner < 8; ++corner) {
                const glm::dvec3 c((corner & 1 ? jointBoxes[j][1] : jointBoxes[j][0]).x,
                                   (corner & 2 ? jointBoxes[j][1] : jointBoxes[j][0]).y,
                                   (corner & 4 ? jointBoxes[j][1] : jointBoxes[j][0]).z);
                grow(extent, scene::transformPoint(pose[j], c));
            }
        }
    return extent;
}

Array<Vec3f> extentValue(const Box& box) {
    return {toVec3f(box[0]), toVec3f(box[1])};
}

void writeInfluences(LayerBuilder& build, const Path& prim, JointInfluences influences) {
    const Path indices = build.addAttribute(prim, "primvars:skel:jointIndices",
                                            {"int[]", std::move(influences.indices)});
    const Path weights = build.addAttribute(prim, "primvars:skel:jointWeights",
                                            {"float[]", std::move(influences.weights)});
    for (const Path& primvar : {indices, weights}) {
        build.setMetadata(primvar, "interpolation", Token{"vertex"});
        build.setMetadata(primvar, "elementSize", influences.elementSize);
    }
}

const Array<Vec3f>& pointsOf(const Layer& layer, const Path& prim) {
    return *layer.spec(prim.appendProperty("points"))->field("default")->get<Array<Vec3f>>();
}

// A skinned node's geometry and what binds it to the skeleton.
struct SkinnedGeometry {
    const scene::Node& node;
    JointInfluences influences;
    scene::Matrix4 geomBind;
    // Its only prim may take the influences rather than copy them.
    bool onlyPrim = false;
};

// Writes the prims of skinned geometry below one SkelRoot.
struct SkinnedPrimWriter {
    GeometryContext& context;
    const SkeletonPlan& skeleton;
    std::vector<std::vector<scene::Matrix4>> posed;
    SkelRootContents& contents;

    SkinnedGeometry read(const scene::Node& node) const {
        const std::string label = labelOf(node);
        const scene::Skinner& skinner = *node.skinner();
        const std::vector<int> boneJoints = jointsOfBones(skeleton, skinner);
        return {node,
                readJointInfluences(skinner, boneJoints, vertexCountOf(*node.geometry()), label,
                                    context.notes),
                geometryBindTransform(skeleton, skinner, boneJoints, label, context.notes)};
    }

    // The prim of one plan; returns the extent of its points over every pose.
    Box write(SkinnedGeometry& skinned, const GeometryPrimPlan& plan, const Path& prim) const {
        LayerBuilder& build = context.build;
        const scene::Node& node = skinned.node;
        build.definePrim(prim, primTypeName(plan.kind));
        Box box = emptyBox();
        const Dictionary data = writeGeometryPrim(
            context, prim, *node.geometry(), plan, [&](std::span<const std::uint32_t> origins) {
                JointInfluences selected = skinned.onlyPrim ? skinned.influences.take(origins)
                                                            : skinned.influences.select(origins);
                box = skinnedExtent(pointsOf(build.layer(), prim), selected, skeleton,
                                    skinned.geomBind, posed);
                if (!isEmpty(box))
                    build.setMetadata(prim.appendProperty("extent"), "default", extentValue(box));
                writeInfluences(build, prim, std::move(selected));
                if (node.morpher() && !node.morpher()->targets().empty())
                    writeBlendShapes(build, prim, node, origins, contents, context.notes);
            });
        if (!data.empty())
            build.setMetadata(prim, "customData", data);
        bindSkeleton(build, prim, contents.skeleton);
        build.addAttribute(prim, "primvars:skel:geomBindTransform",
                           {"matrix4d", toMatrix4d(skinned.geomBind)});
        return box;
    }
};

} // namespace

std::optional<std::array<glm::dvec3, 2>>
writeSkinnedMeshes(GeometryContext& context, const Path& skelRoot, SiblingNames& children,
                   const SkeletonPlan& skeleton, const SkeletonPoses& poses,
                   SkelRootContents& contents) {
    const SkinnedPrimWriter writer{context, skeleton, poses.skeletonSpace(skeleton), contents};
    Box all = emptyBox();
    for (const scene::Node* node : skeleton.skinnedNodes) {
        const scene::Geometry& geometry = *node->geometry();
        if (vertexCountOf(geometry) == 0)
            continue;
        SkinnedGeometry skinned = writer.read(*node);
        const std::vector<GeometryPrimPlan> plans =
            planGeometryPrims(geometry, node->name(), writer.context.notes);
        skinned.onlyPrim = plans.size() == 1;
        for (const GeometryPrimPlan& plan : plans)
            grow(all,
                 writer.write(skinned, plan,
                              skelRoot.appendChild(children.claim(wantedName(*node), "mesh"))));
    }
    if (isEmpty(all))
        return std::nullopt;
    return all;
}

} // namespace usd::writer
