#include "DocumentRecords.h"
#include "LoadStopping.h"
#include "extensions/EXTMeshGpuInstancing.h"

#include <GLTFReader/DocumentLimits.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Morpher.h>
#include <algorithm>
#include <array>
#include <string>

namespace {

const GLTFNode& nodeRecord(const GLTFGlTF& document, std::int64_t index) {
    return gltf::documentRecord(document.nodes, index, "loadNode: nodes is not defined");
}

// The leading `N` numbers of a node's transform member, widened; a shorter array cannot mean
// a transform.
template <std::size_t N>
std::array<double, N> leadingNumbers(const std::vector<float>& numbers, std::string_view member) {
    if (numbers.size() < N) {
        throw GLTFUnarchiveError::dataInconsistent("loadNode: " + std::string(member) +
                                                   " must have at least " + std::to_string(N) +
                                                   " numbers: " + std::to_string(numbers.size()));
    }
    std::array<double, N> leading{};
    std::copy_n(numbers.begin(), N, leading.begin());
    return leading;
}

glm::dvec3 vectorOf(const std::array<double, 3>& xyz) {
    return {xyz[0], xyz[1], xyz[2]};
}

void setLocalTransform(const GLTFNode& record, scene::Node& node) {
    if (record._matrix) {
        if (record._rotation || record._scale || record._translation) {
            throw GLTFUnarchiveError::dataInconsistent(
                "loadNode: both matrix and rotation/scale/translation are defined");
        }
        node.setTransform(scene::matrixFromElements(leadingNumbers<16>(*record._matrix, "matrix")));
        return;
    }
    const auto rotation = record._rotation ? leadingNumbers<4>(*record._rotation, "rotation")
                                           : std::array<double, 4>{0, 0, 0, 1};
    node.setOrientation(
        scene::quaternionFromXYZW(rotation[0], rotation[1], rotation[2], rotation[3]));
    node.setScale(record._scale ? vectorOf(leadingNumbers<3>(*record._scale, "scale"))
                                : glm::dvec3(1.0));
    node.setPosition(record._translation
                         ? vectorOf(leadingNumbers<3>(*record._translation, "translation"))
                         : glm::dvec3(0.0));
}

// One key path per morph weight below the mesh node, relative to the node that holds the mesh
// as child 0 (behind `prefix`, the way from the animated node to that one); weight animations
// address the weights through these paths.
scene::ValueArray weightPathsOf(const scene::Node& meshNode, const std::string& prefix = "") {
    scene::ValueArray paths;
    const std::vector<std::shared_ptr<scene::Node>>& primitives = meshNode.childNodes();
    for (std::size_t primitive = 0; primitive < primitives.size(); ++primitive) {
        const std::shared_ptr<scene::Morpher>& morpher = primitives[primitive]->morpher();
        const std::size_t targetCount = morpher ? morpher->targets().size() : 0;
        for (std::size_t target = 0; target < targetCount; ++target) {
            paths.emplace_back(prefix + "childNodes[0].childNodes[" + std::to_string(primitive) +
                               "].morpher.weights[" + std::to_string(target) + "]");
        }
    }
    return paths;
}

// Nodes that are no other node's child, in document order.
std::vector<std::int64_t> rootNodesOf(const GLTFGlTF& document) {
    const std::vector<GLTFNode> none;
    const std::vector<GLTFNode>& nodes = document.nodes ? *document.nodes : none;
    std::vector<bool> isChild(nodes.size(), false);
    for (const GLTFNode& node : nodes) {
        for (const std::int64_t child : node.children.value_or(std::vector<std::int64_t>{})) {
            if (child >= 0 && static_cast<std::uint64_t>(child) < nodes.size()) {
                isChild[static_cast<std::size_t>(child)] = true;
            }
        }
    }
    std::vector<std::int64_t> roots;
    for (std::size_t node = 0; node < nodes.size(); ++node) {
        if (!isChild[node]) {
            roots.push_back(static_cast<std::int64_t>(node));
        }
    }
    return roots;
}

std::shared_ptr<scene::Node> topmostAncestor(std::shared_ptr<scene::Node> node) {
    while (std::shared_ptr<scene::Node> parent = node->parentNode()) {
        node = std::move(parent);
    }
    return node;
}

// Counts a node as built again on every way out of its loading, thrown or returned.
struct NestingLevel {
    int& nodesBeingBuilt;
    ~NestingLevel() { --nodesBeingBuilt; }
};

} // namespace

std::shared_ptr<scene::Scene> GLTFUnarchiver::loadScene(std::int64_t index) {
    const auto record = [&]() -> const GLTFScene& {
        return gltf::documentRecord(json_.scenes, index, "loadScene: scenes is not defined");
    };
    return caches_.scenes.load(
        index, "loadScene", [&] { return buildScene(record()); },
        [&](const std::shared_ptr<scene::Scene>& scene) {
            gltf::onLoaded(record(), scene, *this);
            gltf::onLoaded(json_, scene, *this);
        });
}

std::shared_ptr<scene::Scene> GLTFUnarchiver::loadRootNodesScene() {
    if (!rootNodesScene_) {
        GLTFScene roots;
        roots.nodes = rootNodesOf(json_);
        // Nodes that are all some node's child can only be joined in a loop.
        if (roots.nodes->empty() && json_.nodes && !json_.nodes->empty()) {
            throw GLTFUnarchiveError::dataInconsistent(
                "loadScene: every node is another node's child, so the nodes form a loop");
        }
        rootNodesScene_ = buildScene(roots);
        gltf::onLoaded(json_, rootNodesScene_, *this);
    }
    return rootNodesScene_;
}

std::shared_ptr<scene::Scene> GLTFUnarchiver::buildScene(const GLTFScene& record) {
    const std::shared_ptr<scene::Scene> scene = scene::Scene::create();
    sceneRootNode_ = scene->rootNode().get();
    // Every animation's length is known before the first node, so a broken sampler fails the
    // scene even where no channel uses it.
    getMaxAnimationDuration();
    if (record.name) {
        scene->setValue("name", *record.name);
    }
    std::vector<std::shared_ptr<scene::Node>> rootsWithParents;
    for (const std::int64_t root : record.nodes.value_or(std::vector<std::int64_t>{})) {
        const std::shared_ptr<scene::Node> node = loadNode(root);
        if (!node->parentNode()) {
            scene->rootNode()->addChildNode(node);
        } else {
            rootsWithParents.push_back(node);
        }
    }
    // A root that is also another node's child stays below that node, with its transform; a
    // parent the scene does not list comes in with it.
    for (const std::shared_ptr<scene::Node>& node : rootsWithParents) {
        const std::shared_ptr<scene::Node> top = topmostAncestor(node);
        if (top != scene->rootNode()) {
            scene->rootNode()->addChildNode(top);
        }
    }
    return scene;
}

// A child reached again while its own subtree is being built would make the node its own
// ancestor, which no scene graph can hold. A child that already has another node for parent
// cannot follow both; one listed as a scene root moves below its node.
void GLTFUnarchiver::attachChild(scene::Node& node, const std::shared_ptr<scene::Node>& child,
                                 std::int64_t childIndex) const {
    if (child.get() == &node || node.isDescendantOf(*child)) {
        throw GLTFUnarchiveError::dataInconsistent("loadNode: node " + std::to_string(childIndex) +
                                                   " is its own descendant");
    }
    const std::shared_ptr<scene::Node> parent = child->parentNode();
    if (parent && parent.get() != &node && parent.get() != sceneRootNode_) {
        throw GLTFUnarchiveError::dataInconsistent("loadNode: node " + std::to_string(childIndex) +
                                                   " is the child of more than one node");
    }
    node.addChildNode(child);
}

std::shared_ptr<scene::Node> GLTFUnarchiver::loadNode(std::int64_t index) {
    gltf::throwIfLoadStopRequested();
    // Stored before it is built: a skin, an animation or a repeated child that asks for this
    // index meanwhile gets this same node.
    bool created = false;
    const std::shared_ptr<scene::Node> node = caches_.nodes.load(
        index, "loadNode", [] { return scene::Node::create(); },
        [&](const std::shared_ptr<scene::Node>&) { created = true; });
    if (created) {
        if (nodesBeingBuilt_ >= gltf::kMaxNodeNesting) {
            throw GLTFUnarchiveError::dataInconsistent("loadNode: nodes nest more than " +
                                                       std::to_string(gltf::kMaxNodeNesting) +
                                                       " levels deep");
        }
        ++nodesBeingBuilt_;
        const NestingLevel leave{nodesBeingBuilt_};
        buildNode(index, node);
    }
    return node;
}

// The order is fixed: camera, mesh (with its skin), transform, children, then the animations,
// whose key paths may reach into the children, and the hook last.
void GLTFUnarchiver::buildNode(std::int64_t index, const std::shared_ptr<scene::Node>& node) {
    const GLTFNode& record = nodeRecord(json_, index);
    if (record.name) {
        node->setName(*record.name);
    }
    if (record.camera) {
        node->setCamera(loadCamera(*record.camera));
    }
    if (record.mesh) {
        attachMesh(record, *node);
    }
    setLocalTransform(record, *node);
    for (const std::int64_t child : record.children.value_or(std::vector<std::int64_t>{})) {
        attachChild(*node, loadNode(child), child);
    }
    loadNodeAnimations(index);
    gltf::onLoaded(record, node, *this);
}

// A skin without a mesh has nothing to bind and is ignored. An instanced mesh hangs below one
// child per instance, each with morph weights of its own: weight animations reach the first.
void GLTFUnarchiver::attachMesh(const GLTFNode& record, scene::Node& node) {
    const auto instances = gltf::extensions::attachMeshInstances(*this, record, node);
    if (!instances.empty()) {
        scene::ValueArray paths =
            weightPathsOf(*instances.front()->childNodes().front(), "childNodes[0].");
        if (!paths.empty() && instances.size() > 1) {
            noteOnce("loadNode: animated morph weights of an instanced mesh move its first "
                     "instance only");
        }
        scene::setWeightPaths(node, std::move(paths));
        return;
    }
    const std::shared_ptr<scene::Node> meshNode = loadMesh(*record.mesh);
    node.addChildNode(meshNode);
    scene::setWeightPaths(node, weightPathsOf(*meshNode));
    if (record.skin) {
        loadSkin(*record.skin, meshNode);
    }
}
