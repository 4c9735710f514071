#include "SkinBinding.h"

#include "NumberArrays.h"
#include "ValueReading.h"

#include <SceneGraph/Bytes.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Skinner.h>
#include <algorithm>
#include <array>
#include <cmath>

namespace usd::reader {
namespace {

constexpr std::string_view kJointIndices = "primvars:skel:jointIndices";
constexpr std::string_view kJointWeights = "primvars:skel:jointWeights";
constexpr int kInfluencesPerVertex = 4;

// The skinner's bones: the mesh's own joint order when it has one, else the skeleton's.
struct JointOrder {
    std::vector<std::shared_ptr<scene::Node>> bones;
    std::vector<scene::Matrix4> bindTransforms;
};

std::optional<JointOrder> jointOrder(const ComposedPrim& mesh, const SkeletonBones& skeleton,
                                     SceneReadNotes& notes) {
    const std::vector<std::string> tokens = readTextArray(mesh.attributeValue("skel:joints"));
    if (tokens.empty()) {
        return JointOrder{skeleton.bones, skeleton.bindTransforms};
    }
    JointOrder order;
    for (const std::string& token : tokens) {
        const std::optional<std::size_t> joint = skeleton.jointIndex(token);
        if (!joint) {
            notes.push_back("The mesh " + mesh.path().text() + " names the joint " + token +
                            ", which its skeleton lacks; it is shown unskinned.");
            return std::nullopt;
        }
        order.bones.push_back(skeleton.bones[*joint]);
        order.bindTransforms.push_back(skeleton.bindTransforms[*joint]);
    }
    return order;
}

// Joint indices and weights, `size` per row, one row for every point (or one for all).
struct Influences {
    IntegerArray indices;
    VectorArray weights;
    std::size_t size = 0;
    bool constant = false;
};

std::size_t elementSizeOf(const ComposedPrim& mesh, std::string_view attribute) {
    const double size = readNumber(mesh.propertyField(attribute, "elementSize")).value_or(1);
    return size >= 1 && size <= 1 << 16 ? static_cast<std::size_t>(size) : 0;
}

std::optional<Influences> readInfluences(const ComposedPrim& mesh, std::size_t pointCount,
                                         SceneReadNotes& notes) {
    std::optional<IntegerArray> indices = readIntegerArray(mesh.attributeValue(kJointIndices));
    VectorArray weights = readVectorArray(mesh.attributeValue(kJointWeights));
    const std::size_t size = elementSizeOf(mesh, kJointIndices);
    const bool constant =
        readText(mesh.propertyField(kJointIndices, "interpolation")).value_or("") == "constant";
    const std::size_t rows = constant ? 1 : pointCount;
    if (!indices || weights.components() != 1 || size == 0 ||
        size != elementSizeOf(mesh, kJointWeights) || indices->size() != rows * size ||
        weights.size() != rows * size) {
        notes.push_back("The joint indices and weights of " + mesh.path().text() +
                        " do not fit its points; it is shown unskinned.");
        return std::nullopt;
    }
    return Influences{std::move(*indices), std::move(weights), size, constant};
}

struct VertexInfluence {
    std::array<std::uint32_t, kInfluencesPerVertex> joints{};
    glm::vec4 weights{0.0f};
};

// Keeps the strongest influences seen so far, strongest first.
void keepIfStrong(VertexInfluence& influence, std::uint32_t joint, float weight) {
    int slot = kInfluencesPerVertex;
    while (slot > 0 && weight > influence.weights[slot - 1]) {
        --slot;
    }
    if (slot == kInfluencesPerVertex) {
        return;
    }
    for (int later = kInfluencesPerVertex - 1; later > slot; --later) {
        influence.weights[later] = influence.weights[later - 1];
        influence.joints[later] = influence.joints[later - 1];
    }
    influence.weights[slot] = weight;
    influence.joints[slot] = joint;
}

// The strongest influences of one row, normalised. Joints outside the bones count for
// nothing; a row left with no weight follows the first bone rigidly rather than collapsing to
// the skeleton's origin.
VertexInfluence strongestInfluences(const Influences& influences, std::size_t row,
                                    std::size_t boneCount, bool& unweighted) {
    VertexInfluence influence;
    for (std::size_t k = row * influences.size; k < (row + 1) * influences.size; ++k) {
        const std::int32_t joint = influences.indices[k];
        const float weight = influences.weights.floats()[k];
        if (joint >= 0 && static_cast<std::size_t>(joint) < boneCount && weight > 0 &&
            std::isfinite(weight)) {
            keepIfStrong(influence, static_cast<std::uint32_t>(joint), weight);
        }
    }
    const float total =
        influence.weights.x + influence.weights.y + influence.weights.z + influence.weights.w;
    if (!(total > 0) || !std::isfinite(total)) {
        unweighted = true;
        return {{0, 0, 0, 0}, {1, 0, 0, 0}};
    }
    influence.weights /= total;
    return influence;
}

struct BoneSources {
    std::shared_ptr<scene::GeometrySource> weights;
    std::shared_ptr<scene::GeometrySource> indices;
};

BoneSources boneSources(const BoundMesh& mesh, const Influences& influences, std::size_t boneCount,
                        std::size_t vertexCount, SceneReadNotes& notes) {
    // Every row is written below, so the blocks are not zeroed first; the sources take them
    // over as they are.
    const auto weights = scene::makeUnsetBlock<glm::vec4>(vertexCount);
    const auto joints = scene::makeUnsetBlock<decltype(VertexInfluence::joints)>(vertexCount);
    bool unweighted = false;
    for (std::size_t v = 0; v < vertexCount; ++v) {
        const std::size_t point = mesh.vertexPoints.empty() ? v : mesh.vertexPoints[v];
        const VertexInfluence influence =
            strongestInfluences(influences, influences.constant ? 0 : point, boneCount, unweighted);
        weights.first[v] = influence.weights;
        joints.first[v] = influence.joints;
    }
    if (unweighted) {
        notes.push_back("Some points of " + mesh.prim.path().text() +
                        " have no joint weight; they follow its first joint.");
    }
    if (influences.size > kInfluencesPerVertex) {
        notes.push_back("The points of " + mesh.prim.path().text() + " have up to " +
                        std::to_string(influences.size) +
                        " joint influences; the four strongest are kept.");
    }
    scene::SourceLayout layout;
    layout.vectorCount = vertexCount;
    layout.usesFloatComponents = false;
    layout.componentsPerVector = kInfluencesPerVertex;
    layout.bytesPerComponent = sizeof(std::uint32_t);
    layout.dataStride = sizeof(VertexInfluence::joints);
    return {
        scene::GeometrySource::fromPackedFloats(scene::GeometrySemantic::boneWeights, weights.bytes,
                                                kInfluencesPerVertex),
        scene::GeometrySource::create(joints.bytes, scene::GeometrySemantic::boneIndices, layout)};
}

// The mesh's geometry with the bone sources added.
std::shared_ptr<scene::Geometry> withBoneSources(const scene::Geometry& geometry,
                                                 const BoneSources& bones) {
    std::vector<std::shared_ptr<scene::GeometrySource>> sources = geometry.sources();
    sources.push_back(bones.weights);
    sources.push_back(bones.indices);
    auto skinned = scene::Geometry::create(std::move(sources), geometry.elements());
    skinned->setName(geometry.name());
    skinned->setMaterials(geometry.materials());
    return skinned;
}

} // namespace

void bindSkin(const BoundMesh& mesh, const SkeletonBones& skeleton, SceneReadNotes& notes) {
    const std::shared_ptr<scene::Geometry>& geometry = mesh.node.geometry();
    const std::optional<JointOrder> order = jointOrder(mesh.prim, skeleton, notes);
    if (!geometry || !order || order->bones.empty()) {
        return;
    }
    const std::size_t pointCount = readVectorArray(mesh.prim.attributeValue("points")).size();
    const std::optional<Influences> influences = readInfluences(mesh.prim, pointCount, notes);
    const auto vertexSource = geometry->firstSource(scene::GeometrySemantic::vertex);
    if (!influences || !vertexSource) {
        return;
    }
    const BoneSources bones =
        boneSources(mesh, *influences, order->bones.size(), vertexSource->vectorCount(), notes);
    // Points are bound where geomBindTransform puts them, then follow their joints from the
    // joints' bind poses.
    const scene::Matrix4 geomBind =
        readMatrix(mesh.prim.attributeValue("primvars:skel:geomBindTransform"))
            .value_or(scene::Matrix4(1.0));
    std::vector<scene::Matrix4> inverseBinds;
    for (const scene::Matrix4& bind : order->bindTransforms) {
        inverseBinds.push_back(glm::inverse(bind) * geomBind);
    }
    const std::shared_ptr<scene::Geometry> skinned = withBoneSources(*geometry, bones);
    auto skinner = scene::Skinner::create(skinned, order->bones, std::move(inverseBinds),
                                          bones.weights, bones.indices);
    skinner->setSkeleton(skeleton.skeleton);
    mesh.node.setGeometry(skinned);
    mesh.node.setSkinner(std::move(skinner));
    mesh.node.setWorldTransform(skeleton.skeleton->worldTransform());
}

} // namespace usd::reader
