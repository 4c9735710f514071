// Builds the root layer of a package: layer metadata, the root prim, the node tree and the
// materials it binds.

#include "CustomData.h"
#include "NodeWriter.h"
#include "geometry/TriangleBudget.h"
#include "materials/MaterialLibrary.h"
#include "textures/ImageLibrary.h"

#include <SceneGraph/Geometry.h>
#include <USD/layer/FieldNames.h>
#include <USD/scene_writer/SceneWriter.h>
#include <algorithm>

namespace usd {
namespace {

constexpr const char* creator = "Brightfold";

std::size_t geometryCount(const scene::Node& root) {
    std::size_t count = 0;
    root.enumerateHierarchy([&](const scene::Node& node) { count += node.geometry() ? 1 : 0; });
    return count;
}

void writeLayerMetadata(LayerBuilder& build, const std::string& rootName,
                        const writer::AnimationTimeline& timeline) {
    build.setLayerMetadata(field::kDefaultPrim, Token{rootName});
    build.setLayerMetadata(field::kUpAxis, Token{"Y"});
    build.setLayerMetadata(field::kMetersPerUnit, 1.0);
    Dictionary layerData;
    layerData.set("creator", std::string(creator));
    build.setLayerMetadata("customLayerData", layerData);
    if (timeline.empty())
        return;
    build.setLayerMetadata("timeCodesPerSecond", writer::kTimeCodesPerSecond);
    build.setLayerMetadata("framesPerSecond", writer::kTimeCodesPerSecond);
    build.setLayerMetadata("startTimeCode", 0.0);
    build.setLayerMetadata("endTimeCode", static_cast<double>(timeline.endCode()));
}

// The scene's own entries and the root node's values share the root prim's customData. The
// root prim is named after the file, so only a root node with a name of its own keeps it.
Dictionary rootCustomData(const scene::Scene& scene, const std::string& rootName) {
    const scene::Node& rootNode = *scene.rootNode();
    Dictionary data = rootNode.name().empty() ? writer::nodeValues(rootNode)
                                              : writer::nodeCustomData(rootNode, rootName);
    const Dictionary sceneValues = writer::customDataOf(scene.values());
    for (const auto& [key, value] : sceneValues.entries())
        data.set(key, value);
    return data;
}

SceneLayer buildLayerOnce(const scene::Scene& scene, const std::string& rootName,
                          const SceneWriteProgress& progress, const WriteOptions& options,
                          writer::ImageFacts& imageFacts) {
    SceneLayer result;
    LayerBuilder build(result.layer);
    const std::string name = writer::sanitizedPrimName(rootName, "Root");
    const writer::MotionPlan motion =
        writer::MotionPlan::of(*scene.rootNode(), options.animation, result.notes);
    result.clips = motion.clips.clips();
    writeLayerMetadata(build, name, motion.timeline);
    const Path root = Path::absoluteRoot().appendChild(name);

    writer::SiblingNames rootChildren;
    const Path materials = root.appendChild(rootChildren.claim("Materials", "Materials"));
    writer::ImageLibrary images(result.notes, imageFacts,
                                {options.maxTextureSize, options.textureBudgetBytes});
    writer::MaterialLibrary materialLibrary(build, materials, images, result.notes);
    writer::GeometryContext context{build, materialLibrary, result.notes, options.profile};

    const std::size_t total = std::max<std::size_t>(geometryCount(*scene.rootNode()), 1);
    std::size_t done = 0;
    writer::NodeWriter nodes(context, motion, [&] {
        if (progress)
            progress(static_cast<double>(++done) / static_cast<double>(total));
    });
    nodes.write(*scene.rootNode(), root, std::move(rootChildren), rootCustomData(scene, name),
                true);
    build.setMetadata(root, "kind", Token{"component"});
    result.files = images.finish();
    return result;
}

} // namespace

SceneLayer buildSceneLayer(const scene::Scene& scene, const std::string& rootName,
                           const SceneWriteProgress& progress, const WriteOptions& options) {
    writer::Notes simplification;
    const auto simplified =
        options.maxTriangles > 0
            ? writer::sceneWithinTriangles(scene, options.maxTriangles, simplification)
            : nullptr;
    const scene::Scene& written = simplified ? *simplified : scene;
    writer::ImageFacts imageFacts;
    SceneLayer result = buildLayerOnce(written, rootName, progress, options, imageFacts);
    // Rarely, an image turns out not to decode for a bake, or an occlusion image to be black:
    // the materials are built again knowing that (the finished bakes are kept).
    if (imageFacts.layerIsStale)
        result = buildLayerOnce(written, rootName, {}, options, imageFacts);
    result.notes.insert(result.notes.begin(), simplification.begin(), simplification.end());
    if (progress)
        progress(1.0);
    return result;
}

} // namespace usd
