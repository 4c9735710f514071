#include "geometry/TriangleBudget.h"

#include "geometry/MeshSimplification.h"
#include "geometry/VertexAttributes.h"
#include "geometry/VertexCompaction.h"

#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Skinner.h>
#include <algorithm>
#include <limits>
#include <map>
#include <optional>

namespace usd::writer {
namespace {

using GeometryPointer = std::shared_ptr<scene::Geometry>;

// One geometry of the scene, the nodes drawing it and what simplifying it gave.
struct Mesh {
    GeometryPointer geometry;
    std::vector<scene::Node*> nodes;
    std::size_t triangles = 0;
    bool simplifiable = true;
    std::optional<SimplifiedIndices> simplified;

    std::uint64_t drawnTriangles() const {
        return std::uint64_t{simplified ? simplified->triangles : triangles} * nodes.size();
    }
};

bool holdsEveryVertex(const std::shared_ptr<scene::GeometrySource>& source, std::size_t count) {
    return source && source->vectorCount() == count;
}

bool holdsEveryVertex(const scene::Geometry& geometry, std::size_t count) {
    return std::ranges::all_of(geometry.sources(),
                               [&](const auto& source) { return holdsEveryVertex(source, count); });
}

// Every per-vertex array the node gives the geometry must follow one renumbering.
bool canRenumber(const scene::Node& node, std::size_t vertexCount) {
    if (const auto& morpher = node.morpher())
        for (const auto& target : morpher->targets())
            if (!target || !holdsEveryVertex(*target, vertexCount))
                return false;
    const auto& skinner = node.skinner();
    return !skinner || (holdsEveryVertex(skinner->boneWeights(), vertexCount) &&
                        holdsEveryVertex(skinner->boneIndices(), vertexCount));
}

std::vector<Mesh> meshesOf(scene::Node& root) {
    std::vector<Mesh> meshes;
    std::map<const scene::Geometry*, std::size_t> found;
    root.enumerateHierarchy([&](scene::Node& node) {
        if (!node.geometry())
            return;
        const auto [at, added] = found.try_emplace(node.geometry().get(), meshes.size());
        if (added)
            meshes.push_back({node.geometry(), {}, triangleCountOf(*node.geometry()), true, {}});
        meshes[at->second].nodes.push_back(&node);
    });
    for (Mesh& mesh : meshes) {
        const std::size_t vertices = vertexCountOf(*mesh.geometry);
        mesh.simplifiable = vertices > 0 && vertices < std::numeric_limits<std::uint32_t>::max() &&
                            mesh.triangles > 0 && holdsEveryVertex(*mesh.geometry, vertices) &&
                            std::ranges::all_of(mesh.nodes, [&](const scene::Node* node) {
                                return canRenumber(*node, vertices);
                            });
    }
    return meshes;
}

std::uint64_t drawnTriangles(const std::vector<Mesh>& meshes) {
    std::uint64_t total = 0;
    for (const Mesh& mesh : meshes)
        total += mesh.drawnTriangles();
    return total;
}

std::size_t targetOf(const Mesh& mesh, std::uint64_t maxTriangles, std::uint64_t total) {
    const double share = static_cast<double>(maxTriangles) / static_cast<double>(total);
    return std::max<std::size_t>(1, static_cast<std::size_t>(mesh.triangles * share));
}

// The careful simplifier first; where it stops short and the total is still over the limit,
// the sloppy one.
void simplify(std::vector<Mesh>& meshes, std::uint64_t maxTriangles) {
    const std::uint64_t total = drawnTriangles(meshes);
    for (Mesh& mesh : meshes)
        if (mesh.simplifiable)
            mesh.simplified =
                simplifiedIndices(*mesh.geometry, targetOf(mesh, maxTriangles, total), false);
    if (drawnTriangles(meshes) <= maxTriangles)
        return;
    for (Mesh& mesh : meshes) {
        const std::size_t target = targetOf(mesh, maxTriangles, total);
        if (mesh.simplified && mesh.simplified->triangles > target)
            mesh.simplified = simplifiedIndices(*mesh.geometry, target, true);
    }
}

std::vector<std::shared_ptr<scene::GeometryElement>>
elementsOf(const scene::Geometry& geometry, const SimplifiedIndices& simplified,
           const VertexCompaction& compaction) {
    std::vector<std::shared_ptr<scene::GeometryElement>> elements;
    for (std::size_t e = 0; e < simplified.elements.size(); ++e) {
        const scene::PrimitiveType drawn = geometry.elements()[e]->primitiveType();
        const std::vector<std::uint32_t> indices = compaction.renumbered(simplified.elements[e]);
        elements.push_back(scene::GeometryElement::fromIndices<std::uint32_t>(
            indices, drawn == scene::PrimitiveType::triangleStrip ? scene::PrimitiveType::triangles
                                                                  : drawn));
    }
    return elements;
}

// The geometry (or a morph target of it) with the kept vertices' sources.
GeometryPointer compacted(const scene::Geometry& geometry, VertexCompaction& compaction,
                          std::vector<std::shared_ptr<scene::GeometryElement>> elements) {
    std::vector<std::shared_ptr<scene::GeometrySource>> sources;
    for (const auto& source : geometry.sources())
        sources.push_back(compaction.compacted(source));
    GeometryPointer made = scene::Geometry::create(std::move(sources), std::move(elements));
    made->setName(geometry.name());
    made->setMaterials(geometry.materials());
    made->setMaterialVariants(geometry.materialVariants());
    return made;
}

// The simplified geometry on every node drawing it, with its morph targets and skins.
void replace(const Mesh& mesh) {
    VertexCompaction compaction(vertexCountOf(*mesh.geometry), mesh.simplified->elements);
    const GeometryPointer geometry = compacted(
        *mesh.geometry, compaction, elementsOf(*mesh.geometry, *mesh.simplified, compaction));
    std::map<const scene::Geometry*, GeometryPointer> targets;
    std::map<const scene::Skinner*, std::shared_ptr<scene::Skinner>> skinners;
    for (scene::Node* node : mesh.nodes) {
        node->setGeometry(geometry);
        if (const auto& morpher = node->morpher()) {
            std::vector<GeometryPointer> compactedTargets;
            for (const auto& target : morpher->targets()) {
                auto [made, added] = targets.try_emplace(target.get());
                if (added)
                    made->second = compacted(*target, compaction, {});
                compactedTargets.push_back(made->second);
            }
            morpher->setTargets(std::move(compactedTargets));
        }
        if (const auto skinner = node->skinner()) {
            auto [made, added] = skinners.try_emplace(skinner.get());
            if (added) {
                made->second = scene::Skinner::create(geometry, skinner->bones(),
                                                      skinner->boneInverseBindTransforms(),
                                                      compaction.compacted(skinner->boneWeights()),
                                                      compaction.compacted(skinner->boneIndices()));
                made->second->setSkeleton(skinner->skeleton());
            }
            node->setSkinner(made->second);
        }
    }
}

void noteReached(const std::vector<Mesh>& meshes, std::uint64_t before, std::uint64_t maxTriangles,
                 Notes& notes) {
    const std::uint64_t after = drawnTriangles(meshes);
    std::string note = "The meshes were simplified from " + std::to_string(before) + " to " +
                       std::to_string(after) + " triangles (--max-triangles " +
                       std::to_string(maxTriangles) + ")";
    const auto unsimplified = std::ranges::count_if(
        meshes, [](const Mesh& mesh) { return mesh.triangles > 0 && !mesh.simplified; });
    if (after <= maxTriangles)
        note += ".";
    else if (unsimplified > 0)
        note += "; the limit was not reached, as " + std::to_string(unsimplified) +
                " mesh(es) could not be simplified (their indices or vertex arrays do not agree).";
    else
        note += "; the limit was not reached, as the meshes could not lose more triangles "
                "without vanishing (a mesh drawn several times counts each time).";
    notes.push_back(std::move(note));
}

} // namespace

std::shared_ptr<const scene::Scene> sceneWithinTriangles(const scene::Scene& scene,
                                                         std::uint64_t maxTriangles, Notes& notes) {
    const std::shared_ptr<scene::Scene> copy = scene.copy();
    std::vector<Mesh> meshes = meshesOf(*copy->rootNode());
    const std::uint64_t before = drawnTriangles(meshes);
    if (before <= maxTriangles)
        return nullptr;
    simplify(meshes, maxTriangles);
    for (const Mesh& mesh : meshes)
        if (mesh.simplified)
            replace(mesh);
    noteReached(meshes, before, maxTriangles, notes);
    return copy;
}

} // namespace usd::writer
