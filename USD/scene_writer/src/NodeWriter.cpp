#include "NodeWriter.h"

#include "CameraAttributes.h"
#include "CustomData.h"
#include "LightPrims.h"
#include "TransformOps.h"
#include "geometry/VertexAttributes.h"
#include "motion/AnimatedValues.h"
#include "skeleton/SkeletonPrims.h"
#include "skeleton/SkinnedMeshes.h"

#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Morpher.h>
#include <USD/layer/FieldNames.h>

namespace usd::writer {
namespace {

void mergeInto(Dictionary& target, const Dictionary& extra) {
    for (const auto& [key, value] : extra.entries())
        target.set(key, value);
}

void setCustomData(LayerBuilder& build, const Path& prim, const Dictionary& customData) {
    if (!customData.empty())
        build.setMetadata(prim, "customData", customData);
}

std::string nodeLabel(const scene::Node& node) {
    return node.name().empty() ? "An unnamed node" : "Node \"" + node.name() + "\"";
}

} // namespace

Dictionary nodeValues(const scene::Node& node) {
    // The morph weight paths are bookkeeping of the loader, not data of the model; so is an
    // avatar's table of expressions, which are written as blend shapes of their own.
    return customDataOf(node.values(),
                        {scene::node_keys::weightPaths, scene::node_keys::avatarBlendShapes});
}

Dictionary nodeCustomData(const scene::Node& node, std::string_view primName) {
    Dictionary data = nodeValues(node);
    keepOriginalName(data, node.name(), primName);
    return data;
}

// For AR Quick Look, which draws no lines, line elements are left out.
std::vector<GeometryPrimPlan> NodeWriter::plansFor(const scene::Node& node, const Path& path) {
    const auto& geometry = node.geometry();
    if (!geometry || motion_.skinned.contains(&node))
        return {};
    if (vertexCountOf(*geometry) == 0) {
        if (!geometry->elements().empty())
            context_.notes.push_back(nodeLabel(node) +
                                     ": a geometry without vertex positions was left out.");
        return {};
    }
    std::vector<GeometryPrimPlan> plans = planGeometryPrims(*geometry, node.name(), context_.notes);
    if (context_.profile != WriteProfile::ar)
        return plans;
    const auto lines = std::erase_if(
        plans, [](const GeometryPrimPlan& plan) { return plan.kind == GeometryPrimKind::curves; });
    if (lines > 0)
        context_.notes.push_back(nodeLabel(node) + " (" + path.text() +
                                 "): " + std::to_string(lines) +
                                 " line element(s) were left out, since AR Quick Look does "
                                 "not draw lines (--profile usd keeps them as curves).");
    return plans;
}

// The light is a prim of its own below the node's, so that it follows the node's transform.
void NodeWriter::writeLightOf(const scene::Node& node, const Path& path, SiblingNames& childNames) {
    const scene::Light& light = *node.light();
    if (context_.profile == WriteProfile::ar) {
        context_.notes.push_back(
            "Light \"" + light.name + "\" of " + nodeLabel(node) + " (" + path.text() +
            ") was left out, since AR Quick Look lights models itself (--profile usd keeps it).");
        return;
    }
    writeLight(context_.build, path.appendChild(childNames.claim(light.name, "Light")), light,
               context_.notes);
}

// Morph targets become blend shapes of the prim, bound in the SkelRoot of the node's parent.
PointOriginsUse NodeWriter::blendShapesOf(const scene::Node& node, const Path& prim) {
    if (!node.morpher() || node.morpher()->targets().empty())
        return {};
    const auto root = blendShapeRoots_.find(node.parentNode().get());
    if (root == blendShapeRoots_.end()) {
        context_.notes.push_back(
            nodeLabel(node) +
            ": its morph targets were left out (no prim above it holds blend shapes).");
        return {};
    }
    return [this, &node, prim, &contents = root->second](std::span<const std::uint32_t> origins) {
        writeBlendShapes(context_.build, prim, node, origins, contents, context_.notes);
    };
}

void NodeWriter::writeGeometry(const scene::Node& node, const Path& path,
                               const std::vector<GeometryPrimPlan>& plans, bool geometryIsPrim,
                               SiblingNames& childNames, Dictionary& customData) {
    LayerBuilder& build = context_.build;
    if (geometryIsPrim) {
        mergeInto(customData, writeGeometryPrim(context_, path, *node.geometry(), plans.front(),
                                                blendShapesOf(node, path)));
    } else {
        for (const GeometryPrimPlan& plan : plans) {
            const Path prim =
                path.appendChild(childNames.claim(defaultPrimName(plan.kind), "mesh"));
            build.definePrim(prim, primTypeName(plan.kind));
            setCustomData(build, prim,
                          writeGeometryPrim(context_, prim, *node.geometry(), plan,
                                            blendShapesOf(node, prim)));
        }
    }
    if (node.geometry() && !motion_.skinned.contains(&node))
        geometryWritten_();
}

// A skeleton's SkelRoot: its Skeleton, its skinned meshes, then its animation, which drives
// the blend shapes of those meshes too.
void NodeWriter::writeSkelRoot(const SkeletonPlan& skeleton, const Path& skelRoot) {
    LayerBuilder& build = context_.build;
    build.definePrim(skelRoot, "SkelRoot");
    SiblingNames children;
    SkelRootContents contents = defineSkelRoot(skelRoot, children);
    const SkeletonPoses poses = poseSkeleton(skeleton, motion_.timeline);
    writeSkeleton(build, contents, &skeleton);
    const auto extent = writeSkinnedMeshes(context_, skelRoot, children, skeleton, poses, contents);
    for (std::size_t n = 0; n < skeleton.skinnedNodes.size(); ++n)
        geometryWritten_();
    writeSkelAnimation(build, contents, &skeleton, &poses, motion_.timeline, context_.notes);
    if (extent)
        build.addAttribute(
            skelRoot, "extent",
            {"float3[]", Array<Vec3f>{toVec3f((*extent)[0]), toVec3f((*extent)[1])}});
}

void NodeWriter::write(const scene::Node& node, const Path& path, SiblingNames childNames,
                       Dictionary customData, bool isRoot) {
    LayerBuilder& build = context_.build;
    const std::vector<GeometryPrimPlan> plans = plansFor(node, path);
    std::vector<const scene::Node*> children;
    for (const auto& child : node.childNodes())
        if (!motion_.skinned.contains(child.get()) || !child->childNodes().empty())
            children.push_back(child.get());
    const bool geometryIsPrim =
        !isRoot && plans.size() == 1 && children.empty() && !node.camera() && !node.light();
    const bool holdsBlendShapes = motion_.holdsBlendShapes(node);
    const std::string_view type = node.camera()      ? "Camera"
                                  : geometryIsPrim   ? primTypeName(plans.front().kind)
                                  : holdsBlendShapes ? "SkelRoot"
                                                     : "Xform";
    build.definePrim(path, type);
    writeTransformOps(build, path, node, motion_.timeline);
    if (node.camera())
        writeCameraAttributes(build, path, *node.camera());

    std::vector<Path> childPaths;
    for (const scene::Node* child : children)
        childPaths.push_back(path.appendChild(childNames.claim(child->name(), "node")));
    std::vector<std::pair<const SkeletonPlan*, Path>> skelRoots;
    for (const SkeletonPlan* skeleton : motion_.anchoredAt(node))
        skelRoots.emplace_back(skeleton, path.appendChild(childNames.claim("Skel", "Skel")));
    if (node.light())
        writeLightOf(node, path, childNames);
    if (holdsBlendShapes && type == "SkelRoot")
        blendShapeRoots_.emplace(&node, defineSkelRoot(path, childNames));

    writeGeometry(node, path, plans, geometryIsPrim, childNames, customData);
    setCustomData(build, path, customData);
    for (std::size_t c = 0; c < children.size(); ++c)
        write(*children[c], childPaths[c], {}, nodeCustomData(*children[c], childPaths[c].name()));
    for (const auto& [skeleton, skelRoot] : skelRoots)
        writeSkelRoot(*skeleton, skelRoot);

    const auto blendShapes = blendShapeRoots_.find(&node);
    if (blendShapes != blendShapeRoots_.end()) {
        writeSkeleton(build, blendShapes->second, nullptr);
        writeSkelAnimation(build, blendShapes->second, nullptr, nullptr, motion_.timeline,
                           context_.notes);
        blendShapeRoots_.erase(blendShapes);
    }
}

} // namespace usd::writer
