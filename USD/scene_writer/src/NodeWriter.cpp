#include "NodeWriter.h"

#include "CameraAttributes.h"
#include "CustomData.h"
#include "TransformOps.h"
#include "VertexAttributes.h"

#include <USD/FieldNames.h>

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

} // namespace

Dictionary nodeValues(const scene::Node& node) {
    // The morph weight paths are bookkeeping of the loader, not data of the model.
    return customDataOf(node.values(), {"weightPaths"});
}

Dictionary nodeCustomData(const scene::Node& node, std::string_view primName) {
    Dictionary data = nodeValues(node);
    keepOriginalName(data, node.name(), primName);
    return data;
}

std::vector<GeometryPrimPlan> NodeWriter::plansFor(const scene::Node& node) {
    const auto& geometry = node.geometry();
    if (!geometry)
        return {};
    if (vertexCountOf(*geometry) == 0) {
        if (!geometry->elements().empty())
            context_.findings.push_back("Node \"" + node.name() +
                                        "\": a geometry without vertex positions was left out.");
        return {};
    }
    std::vector<std::size_t> refused;
    std::vector<GeometryPrimPlan> plans = planGeometryPrims(*geometry, refused);
    for (const std::size_t element : refused)
        context_.findings.push_back("Node \"" + node.name() + "\": a mesh of " +
                                    std::to_string(cornersWritten(*geometry, element)) +
                                    " corners is more than a USD mesh can number (" +
                                    std::to_string(largestPrimCorners) + "); it was left out.");
    return plans;
}

void NodeWriter::write(const scene::Node& node, const Path& path, SiblingNames childNames,
                       Dictionary customData, bool isRoot) {
    LayerBuilder& build = context_.build;
    const std::vector<GeometryPrimPlan> plans = plansFor(node);
    const bool geometryIsPrim =
        !isRoot && plans.size() == 1 && node.childNodes().empty() && !node.camera();
    const std::string_view type = node.camera()    ? "Camera"
                                  : geometryIsPrim ? primTypeName(plans.front().kind)
                                                   : "Xform";
    build.definePrim(path, type);
    writeTransformOps(build, path, node);
    if (node.camera())
        writeCameraAttributes(build, path, *node.camera());

    std::vector<Path> childPaths;
    for (const auto& child : node.childNodes())
        childPaths.push_back(path.appendChild(childNames.claim(child->name(), "node")));
    if (geometryIsPrim) {
        mergeInto(customData, writeGeometryPrim(context_, path, *node.geometry(), plans.front()));
    } else {
        for (const GeometryPrimPlan& plan : plans) {
            const Path prim =
                path.appendChild(childNames.claim(defaultPrimName(plan.kind), "mesh"));
            build.definePrim(prim, primTypeName(plan.kind));
            setCustomData(build, prim, writeGeometryPrim(context_, prim, *node.geometry(), plan));
        }
    }
    if (node.geometry())
        geometryWritten_();
    setCustomData(build, path, customData);
    for (std::size_t c = 0; c < childPaths.size(); ++c) {
        const scene::Node& child = *node.childNodes()[c];
        write(child, childPaths[c], {}, nodeCustomData(child, childPaths[c].name()));
    }
}

} // namespace usd::writer
