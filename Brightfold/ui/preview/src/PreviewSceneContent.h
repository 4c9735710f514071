#pragma once

#include "Bounds.h"
#include "MorphBlending.h"
#include "SceneAnimator.h"
#include "VertexStreams.h"

#include <QPointer>
#include <QStringList>
#include <SceneGraph/Transform.h>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QQuick3DObject;

namespace scene {
class Node;
class Scene;
} // namespace scene

namespace brightfold::preview {

class MaterialBuilder;
class PreviewGeometry;
class QuickObjectFactory;
struct PreparedMesh;
struct PreparedScene;

/// A scene shown under a renderer node: one renderer node per scene node, models for the
/// meshes, lights for the scene's lights, and the animations playing on a private copy of the
/// hierarchy (the scene itself is never changed).
class PreviewSceneContent {
  public:
    /// Fails with std::runtime_error when the renderer's types cannot be made at all; parts
    /// that cannot be shown are left out and described in `problems`. What `prepared` (if
    /// given, made for this scene) holds is used instead of being made again.
    PreviewSceneContent(const scene::Scene& scene, QuickObjectFactory& factory,
                        QQuick3DObject& parent, std::shared_ptr<PreparedScene> prepared = nullptr);
    ~PreviewSceneContent();
    PreviewSceneContent(const PreviewSceneContent&) = delete;
    PreviewSceneContent& operator=(const PreviewSceneContent&) = delete;

    /// The meshes' bounds in the scene's space, at rest.
    const Bounds& bounds() const { return bounds_; }
    bool isAnimated() const { return !animator_.isEmpty(); }
    /// Whether the scene brings lights of its own, which replace the preview's.
    bool hasLights() const { return hasLights_; }
    const QStringList& problems() const { return problems_; }

    /// Shows the scene `seconds` into its animations. Returns whether new problems appeared.
    bool advance(double seconds);

  private:
    struct ShownNode {
        /// The scene's own node, which prepared data are kept by.
        const scene::Node* original;
        std::shared_ptr<scene::Node> node;
        QQuick3DObject* item;
        scene::TransformComponents shown;
    };
    struct MorphedMesh {
        std::shared_ptr<scene::Node> node;
        VertexStreams base;
        std::vector<MorphOffsets> targets;
        std::vector<double> shownWeights;
        std::vector<PreviewGeometry*> geometries;
    };

    void addNode(const scene::Node& original, const std::shared_ptr<scene::Node>& copy,
                 QQuick3DObject& parent);
    PreparedMesh takeMesh(const ShownNode& shown);
    void addMesh(const ShownNode& shown, MaterialBuilder& materials);
    void addSkin(const scene::Node& node, QQuick3DObject& model);
    void showMorphedShape(MorphedMesh& mesh);

    QuickObjectFactory& factory_;
    std::shared_ptr<PreparedScene> prepared_;
    QPointer<QQuick3DObject> root_;
    std::shared_ptr<scene::Node> copy_;
    std::vector<ShownNode> nodes_;
    /// Renderer nodes by the scene node they show; skins name their joints by scene node.
    std::map<const scene::Node*, QQuick3DObject*> itemsByNode_;
    std::vector<MorphedMesh> morphedMeshes_;
    SceneAnimator animator_;
    Bounds bounds_;
    bool hasLights_ = false;
    QStringList problems_;
};

} // namespace brightfold::preview
