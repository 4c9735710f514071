#include "PreviewSceneContent.h"

#include "IndexPacking.h"
#include "MaterialBuilder.h"
#include "PreparedScene.h"
#include "PreviewGeometry.h"
#include "PreviewLights.h"
#include "QuickObjectFactory.h"
#include "VertexPacking.h"

#include <QMatrix4x4>
#include <QQuaternion>
#include <QVector3D>
#include <QtQuick3D/QQuick3DObject>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/Skinner.h>

namespace brightfold::preview {
namespace {

scene::TransformComponents componentsOf(const scene::Node& node) {
    return node.hasMatrixTransform() ? scene::decomposeTransform(node.transform())
                                     : node.transformComponents();
}

void showTransform(QQuick3DObject& item, const scene::TransformComponents& components) {
    const glm::dvec3& p = components.position;
    const scene::Quaternion& q = components.orientation;
    const glm::dvec3& s = components.scale;
    item.setProperty("position", QVector3D(p.x, p.y, p.z));
    item.setProperty("rotation", QQuaternion(q.w, q.x, q.y, q.z));
    item.setProperty("scale", QVector3D(s.x, s.y, s.z));
}

QMatrix4x4 qtMatrixOf(const scene::Matrix4& matrix) {
    QMatrix4x4 converted;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            converted(row, column) = static_cast<float>(matrix[column][row]);
        }
    }
    return converted;
}

Bounds boundsOf(const PackedVertices& vertices) {
    Bounds box;
    const auto toGlm = [](const QVector3D& v) { return glm::dvec3(v.x(), v.y(), v.z()); };
    box.add(toGlm(vertices.boundsMin));
    box.add(toGlm(vertices.boundsMax));
    return box;
}

} // namespace

PreviewSceneContent::PreviewSceneContent(const scene::Scene& scene, QuickObjectFactory& factory,
                                         QQuick3DObject& parent,
                                         std::shared_ptr<PreparedScene> prepared)
    : factory_(factory),
      prepared_(prepared ? std::move(prepared) : std::make_shared<PreparedScene>()),
      root_(factory.create(QuickObjectFactory::Kind::node, parent)),
      copy_(scene.rootNode()->clone()), animator_(copy_) {
    addNode(*scene.rootNode(), copy_, *root_);
    MaterialBuilder materials(factory_, *root_, problems_, prepared_->textures);
    for (const ShownNode& shown : nodes_) {
        if (shown.node->geometry()) {
            addMesh(shown, materials);
        }
    }
    prepared_.reset(); // the renderer's objects share the buffers they need
}

PreviewSceneContent::~PreviewSceneContent() {
    delete root_.data();
}

// The copy has the original's shape, so walking both side by side pairs each original node
// (which skins refer to) with the copy that animations move.
void PreviewSceneContent::addNode(const scene::Node& original,
                                  const std::shared_ptr<scene::Node>& copy,
                                  QQuick3DObject& parent) {
    QQuick3DObject* item = factory_.create(QuickObjectFactory::Kind::node, parent);
    item->setObjectName(QString::fromStdString(copy->name()));
    const scene::TransformComponents components = componentsOf(*copy);
    showTransform(*item, components);
    nodes_.push_back({&original, copy, item, components});
    itemsByNode_[&original] = item;
    itemsByNode_[copy.get()] = item;
    if (copy->light()) {
        addPreviewLight(*copy->light(), factory_, *item);
        hasLights_ = true;
    }
    for (std::size_t child = 0; child < copy->childNodes().size(); ++child) {
        addNode(*original.childNodes()[child], copy->childNodes()[child], *item);
    }
}

// Prepared meshes are moved out, so their buffers are shared by the renderer alone.
PreparedMesh PreviewSceneContent::takeMesh(const ShownNode& shown) {
    const auto found = prepared_->meshes.find(shown.original);
    if (found == prepared_->meshes.end()) {
        return prepareMesh(*shown.node);
    }
    PreparedMesh mesh = std::move(found->second);
    prepared_->meshes.erase(found);
    return mesh;
}

void PreviewSceneContent::addMesh(const ShownNode& shown, MaterialBuilder& materials) {
    const scene::Node& node = *shown.node;
    const scene::Geometry& geometry = *node.geometry();
    PreparedMesh mesh = takeMesh(shown);
    problems_ << mesh.problems;
    if (mesh.vertices.data.isEmpty()) {
        return;
    }
    const PackedVertices& vertices = mesh.vertices;
    bounds_.addTransformed(boundsOf(vertices), node.worldTransform());
    const bool mirrored = glm::determinant(node.worldTransform()) < 0.0;
    MorphedMesh morphed{shown.node, std::move(mesh.streams), {}, {}, {}};
    for (const PackedIndices& part : mesh.parts) {
        QQuick3DObject* model = factory_.create(QuickObjectFactory::Kind::model, *shown.item);
        auto* qtGeometry = new PreviewGeometry(model);
        qtGeometry->setParent(model);
        qtGeometry->setContents(vertices, part);
        setObjectProperty(*model, "geometry", qtGeometry);
        for (const IndexSubset& subset : part.subsets) {
            appendToListProperty(
                *model, "materials",
                materials.materialFor(geometry.materialForElement(subset.elementIndex), mirrored));
        }
        if (node.skinner()) {
            addSkin(node, *model);
        }
        morphed.geometries.push_back(qtGeometry);
    }
    if (node.morpher() && !node.morpher()->targets().empty()) {
        morphed.targets = readMorphOffsets(*node.morpher(), morphed.base, problems_);
        showMorphedShape(morphed);
        morphedMeshes_.push_back(std::move(morphed));
    }
}

// Joints are the renderer nodes of the skinner's bones; a bone that no longer exists binds to
// the scene's root so the joint list keeps its indices.
void PreviewSceneContent::addSkin(const scene::Node& node, QQuick3DObject& model) {
    const scene::Skinner& skinner = *node.skinner();
    QQuick3DObject* skin = factory_.create(QuickObjectFactory::Kind::skin, model);
    QList<QMatrix4x4> inverseBindPoses;
    const auto& inverseBinds = skinner.boneInverseBindTransforms();
    const std::vector<std::shared_ptr<scene::Node>> bones = skinner.bones();
    for (std::size_t bone = 0; bone < bones.size(); ++bone) {
        const auto found = itemsByNode_.find(bones[bone].get());
        appendToListProperty(*skin, "joints",
                             found != itemsByNode_.end() ? found->second : root_.data());
        inverseBindPoses.append(inverseBinds ? qtMatrixOf((*inverseBinds)[bone]) : QMatrix4x4());
    }
    skin->setProperty("inverseBindPoses", QVariant::fromValue(inverseBindPoses));
    setObjectProperty(model, "skin", skin);
}

void PreviewSceneContent::showMorphedShape(MorphedMesh& mesh) {
    const std::vector<double>& weights = mesh.node->morpher()->weights();
    if (weights == mesh.shownWeights) {
        return;
    }
    VertexStreams shape = mesh.base;
    blendMorphTargets(mesh.base, mesh.targets, weights, shape);
    const PackedVertices vertices = packVertices(shape);
    for (PreviewGeometry* geometry : mesh.geometries) {
        geometry->replaceVertices(vertices);
    }
    mesh.shownWeights = weights;
}

bool PreviewSceneContent::advance(double seconds) {
    const qsizetype problemCount = problems_.size();
    animator_.apply(seconds, problems_);
    for (ShownNode& shown : nodes_) {
        const scene::TransformComponents components = componentsOf(*shown.node);
        if (components != shown.shown) {
            showTransform(*shown.item, components);
            shown.shown = components;
        }
    }
    for (MorphedMesh& mesh : morphedMeshes_) {
        showMorphedShape(mesh);
    }
    return problems_.size() != problemCount;
}

} // namespace brightfold::preview
