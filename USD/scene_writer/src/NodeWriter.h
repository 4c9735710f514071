#pragma once

#include "GeometryPrims.h"
#include "PrimNames.h"

#include <SceneGraph/Node.h>
#include <functional>

namespace usd::writer {

// Writes scene nodes as prims: Xform (or Camera) prims carrying the node's transform and
// values, with the node's geometry as the prim itself when it has nothing else, else as
// child prims.
class NodeWriter {
  public:
    // `geometryWritten` is told after each geometry, for progress.
    NodeWriter(GeometryContext& context, std::function<void()> geometryWritten)
        : context_(context), geometryWritten_(std::move(geometryWritten)) {}

    // Writes `node` at `path` and its subtree below it. `childNames` holds names already
    // taken among the prim's children. The root prim never becomes a gprim.
    void write(const scene::Node& node, const Path& path, SiblingNames childNames,
               Dictionary customData, bool isRoot = false);

  private:
    std::vector<GeometryPrimPlan> plansFor(const scene::Node& node);

    GeometryContext& context_;
    std::function<void()> geometryWritten_;
};

// The node's free-key values a layer can hold.
Dictionary nodeValues(const scene::Node& node);

// The customData of a node: its free-key values and, when the prim name had to change, the
// original name.
Dictionary nodeCustomData(const scene::Node& node, std::string_view primName);

} // namespace usd::writer
