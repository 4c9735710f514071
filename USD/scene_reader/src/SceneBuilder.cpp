#include "SceneBuilder.h"

#include "AnimationTimeline.h"
#include "CameraBuilder.h"
#include "LightBuilder.h"
#include "MeshBuilder.h"
#include "OriginalName.h"
#include "PointsAndCurves.h"
#include "PrimFilter.h"
#include "SkelBindings.h"
#include "ValueReading.h"
#include "XformAnimation.h"
#include "XformStack.h"

#include <SceneGraph/Node.h>
#include <USD/layer/FieldNames.h>
#include <glm/gtc/matrix_transform.hpp>
#include <map>

namespace usd::reader {
namespace {

// Y-up metres: a Z-up stage turns -90° about X, other units scale by metres per unit
// (unauthored means centimetres).
scene::Matrix4 stageFrame(const Stage& stage) {
    scene::Matrix4 frame(1.0);
    if (readText(stage.layerMetadata(field::kUpAxis)).value_or("Y") == "Z") {
        frame = glm::rotate(frame, glm::radians(-90.0), glm::dvec3(1, 0, 0));
    }
    const double metersPerUnit =
        readNumber(stage.layerMetadata(field::kMetersPerUnit)).value_or(0.01);
    if (metersPerUnit > 0 && metersPerUnit != 1) {
        frame = glm::scale(scene::Matrix4(1.0), glm::dvec3(metersPerUnit)) * frame;
    }
    return frame;
}

bool isLeftOutPrimType(const std::string& type) {
    for (const char* unsupported :
         {"Cube", "Sphere", "Cylinder", "Cone", "Capsule", "Plane", "NurbsPatch", "NurbsCurves",
          "HermiteCurves", "TetMesh", "Volume", "RectLight", "DiskLight", "CylinderLight",
          "DomeLight"}) {
        if (type == unsupported) {
            return true;
        }
    }
    return false;
}

void applyLocalTransform(scene::Node& node, const LocalTransform& local) {
    if (local.components) {
        node.setPosition(local.components->position);
        node.setOrientation(local.components->orientation);
        node.setScale(local.components->scale);
    } else {
        node.setTransform(local.matrix);
    }
}

class SceneAssembly {
  public:
    SceneAssembly(const Stage& stage, MaterialResolver& materials,
                  const std::shared_ptr<const void>& layerKeeper, SceneReadNotes& notes)
        : stage_(stage), materials_(materials), layerKeeper_(layerKeeper), notes_(notes),
          scene_(scene::Scene::create()), frame_(stageFrame(stage)), timeline_(stage),
          skelBindings_(stage, timeline_, notes) {}

    std::shared_ptr<scene::Scene> build() {
        scene::Node& root = *scene_->rootNode();
        const ComposedPrim* single = singleRootPrim();
        if (single != nullptr) {
            root.setName(originalName(*single));
            nodesByPrim_[single] = scene_->rootNode();
            const LocalTransform local = evaluateXformStack(*single, notes_);
            if (frame_ == scene::Matrix4(1.0)) {
                applyLocalTransform(root, local);
                addXformAnimation(*single, scene_->rootNode(), timeline_, notes_);
            } else {
                root.setTransform(frame_ * local.matrix);
            }
            addChildren(*single, root);
        } else {
            root.setTransform(frame_);
            for (const auto& prim : stage_.rootPrims()) {
                addPrim(*prim, root);
            }
        }
        moveResetNodes();
        skelBindings_.bind([this](const ComposedPrim& prim) { return nearestNode(prim); });
        timeline_.finish(notes_);
        return scene_;
    }

  private:
    // A lone plain root prim (our writer's root Xform) stands for the scene's root node.
    const ComposedPrim* singleRootPrim() const {
        const ComposedPrim* single = nullptr;
        for (const auto& prim : stage_.rootPrims()) {
            if (!isShownInScene(*prim) || holdsNoNodes(*prim)) {
                continue;
            }
            if (single != nullptr) {
                return nullptr;
            }
            single = prim.get();
        }
        if (single == nullptr) {
            return nullptr;
        }
        const std::string type = single->typeName();
        const bool plain = type == "Xform" || type == "Scope" || type.empty();
        // The root node cannot both move and carry the stage frame.
        const bool framed = frame_ != scene::Matrix4(1.0) && hasXformAnimation(*single);
        return plain && !framed ? single : nullptr;
    }

    void addChildren(const ComposedPrim& prim, scene::Node& node) {
        for (const auto& child : prim.children()) {
            addPrim(*child, node);
        }
    }

    void addPrim(const ComposedPrim& prim, scene::Node& parent) {
        if (!isShownInScene(prim) || holdsNoNodes(prim) || lightsParent(prim, parent)) {
            return;
        }
        auto node = scene::Node::create(originalName(prim));
        nodesByPrim_[&prim] = node;
        const LocalTransform local = evaluateXformStack(prim, notes_);
        applyLocalTransform(*node, local);
        addXformAnimation(prim, node, timeline_, notes_);
        if (local.resetsXformStack) {
            resetNodes_.push_back({node, local.matrix});
        }
        addContent(prim, *node);
        parent.addChildNode(node);
        addChildren(prim, *node);
    }

    // A light with neither a transform nor children of its own is the light of its parent's
    // node, which is how a node's light is written; it needs no node of its own.
    bool lightsParent(const ComposedPrim& prim, scene::Node& parent) {
        if (!isPunctualLight(prim) || !prim.children().empty() || parent.light() ||
            prim.attributeValue("xformOpOrder") != nullptr) {
            return false;
        }
        parent.setLight(buildLight(prim, notes_));
        return true;
    }

    void addContent(const ComposedPrim& prim, scene::Node& node) {
        const std::string type = prim.typeName();
        if (type == "Mesh") {
            const bool deformed = SkelBindings::isDeformed(prim);
            MeshGeometry mesh = buildMeshGeometry(prim, materials_, layerKeeper_, notes_, deformed);
            node.setGeometry(std::move(mesh.geometry));
            if (deformed && node.geometry()) {
                skelBindings_.addMesh(prim, node.shared_from_this(), std::move(mesh.vertexPoints));
            }
            reportAnimatedPoints(prim);
        } else if (type == "Points") {
            node.setGeometry(buildPointsGeometry(prim, materials_, notes_));
        } else if (type == "BasisCurves") {
            node.setGeometry(buildCurvesGeometry(prim, materials_, notes_));
        } else if (type == "Camera") {
            node.setCamera(buildCamera(prim));
        } else if (isPunctualLight(prim)) {
            node.setLight(buildLight(prim, notes_));
        } else if (isLeftOutPrimType(type)) {
            notes_.push_back("The " + type + " prim " + prim.path().text() +
                             " cannot be shown; it is left out.");
        }
    }

    std::shared_ptr<scene::Node> nearestNode(const ComposedPrim& prim) const {
        for (const ComposedPrim* p = &prim; p != nullptr; p = p->parent()) {
            if (const auto found = nodesByPrim_.find(p); found != nodesByPrim_.end()) {
                return found->second;
            }
        }
        return scene_->rootNode();
    }

    // A shape changing point by point over time cannot be held by a scene graph mesh.
    void reportAnimatedPoints(const ComposedPrim& mesh) {
        const TimeSamples* samples = mesh.attributeTimeSamples("points");
        if (samples != nullptr && samples->values.size() > 1) {
            notes_.push_back("The points of " + mesh.path().text() +
                             " are animated; the mesh is shown still.");
        }
    }

    // Nodes that ignore their ancestors' transforms hang from the root with their own.
    void moveResetNodes() {
        for (const auto& [node, local] : resetNodes_) {
            scene_->rootNode()->addChildNode(node);
            node->setWorldTransform(frame_ * local);
        }
    }

    struct ResetNode {
        std::shared_ptr<scene::Node> node;
        scene::Matrix4 local;
    };

    const Stage& stage_;
    MaterialResolver& materials_;
    std::shared_ptr<const void> layerKeeper_;
    SceneReadNotes& notes_;
    std::shared_ptr<scene::Scene> scene_;
    scene::Matrix4 frame_;
    AnimationTimeline timeline_;
    SkelBindings skelBindings_;
    std::map<const ComposedPrim*, std::shared_ptr<scene::Node>> nodesByPrim_;
    std::vector<ResetNode> resetNodes_;
};

} // namespace

std::shared_ptr<scene::Scene> buildScene(const Stage& stage, MaterialResolver& materials,
                                         const std::shared_ptr<const void>& layerKeeper,
                                         SceneReadNotes& notes) {
    return SceneAssembly(stage, materials, layerKeeper, notes).build();
}

} // namespace usd::reader
