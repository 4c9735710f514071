#pragma once

#include "PrimNames.h"
#include "geometry/GeometryPrims.h"
#include "motion/MotionPlan.h"
#include "skeleton/BlendShapes.h"

#include <SceneGraph/Node.h>
#include <functional>
#include <map>

namespace usd::writer {

// Writes scene nodes as prims: Xform (or Camera) prims carrying the node's transform, its
// animation and values, with the node's geometry as the prim itself when it has nothing else,
// else as child prims, as is its light. For AR Quick Look, lights and curves are left out, each
// with a finding that names it. Skinned geometry goes to a SkelRoot below its skeleton's
// anchor; a node whose children have morph targets becomes the SkelRoot of their blend shapes.
class NodeWriter {
  public:
    // `geometryWritten` is told after each geometry, for progress.
    NodeWriter(GeometryContext& context, const MotionPlan& motion,
               std::function<void()> geometryWritten)
        : context_(context), motion_(motion), geometryWritten_(std::move(geometryWritten)) {}

    // Writes `node` at `path` and its subtree below it. `childNames` holds names already
    // taken among the prim's children. The root prim never becomes a gprim.
    void write(const scene::Node& node, const Path& path, SiblingNames childNames,
               Dictionary customData, bool isRoot = false);

  private:
    std::vector<GeometryPrimPlan> plansFor(const scene::Node& node, const Path& path);
    void writeLightOf(const scene::Node& node, const Path& path, SiblingNames& childNames);
    void writeGeometry(const scene::Node& node, const Path& path,
                       const std::vector<GeometryPrimPlan>& plans, bool geometryIsPrim,
                       SiblingNames& childNames, Dictionary& customData);
    PointOriginsUse blendShapesOf(const scene::Node& node, const Path& prim);
    void writeSkelRoot(const SkeletonPlan& skeleton, const Path& skelRoot);

    GeometryContext& context_;
    const MotionPlan& motion_;
    std::function<void()> geometryWritten_;
    // The SkelRoots of blend shapes being written, by the node whose prim they are.
    std::map<const scene::Node*, SkelRootContents> blendShapeRoots_;
};

// The node's free-key values a layer can hold.
Dictionary nodeValues(const scene::Node& node);

// The customData of a node: its free-key values and, when the prim name had to change, the
// original name.
Dictionary nodeCustomData(const scene::Node& node, std::string_view primName);

} // namespace usd::writer
