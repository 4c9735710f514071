#pragma once

#include <SceneGraph/Transform.h>
#include <SceneGraph/Value.h>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scene {

class Animation;
struct Camera;
class Geometry;
struct Light;
class Morpher;
class Skinner;

/// An animation registered on a node under a key.
struct AnimationEntry {
    std::string key;
    std::shared_ptr<Animation> animation;
};

/// One node of the scene hierarchy.
///
/// A node owns its children (in insertion order) and knows its parent weakly; a node has at
/// most one parent, and adding it elsewhere moves it. It may carry a camera, a light, a
/// geometry, a morpher and a skinner, values under free keys, and animations.
///
/// The local transform is kept either as a matrix (exactly as set) or as position, orientation
/// and scale; setting one of the three switches to the component form, starting from the
/// decomposition of the current matrix.
///
/// Key paths address values relative to a node; see `valueForKeyPath`.
class Node : public std::enable_shared_from_this<Node> {
  public:
    static std::shared_ptr<Node> create(std::string name = {});
    ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    // Hierarchy -------------------------------------------------------------------------

    /// Appends `child` as the last child, removing it from its previous parent first. Fails
    /// with std::invalid_argument when `child` is null, this node, or an ancestor of it.
    void addChildNode(const std::shared_ptr<Node>& child);

    /// Detaches this node from its parent (nothing happens without one).
    void removeFromParentNode();

    std::shared_ptr<Node> parentNode() const { return parent_.lock(); }
    const std::vector<std::shared_ptr<Node>>& childNodes() const { return children_; }

    /// Whether `ancestor` is this node's parent, grandparent, …
    bool isDescendantOf(const Node& ancestor) const;

    /// The first child named `name`; with `recursively`, the first such node of the subtree
    /// in depth-first pre-order (this node itself is not considered).
    std::shared_ptr<Node> childNodeWithName(std::string_view name, bool recursively) const;

    /// Every node of the subtree below this node (not this node) that passes `test`, in
    /// depth-first pre-order.
    std::vector<std::shared_ptr<Node>>
    childNodesPassingTest(const std::function<bool(const Node&)>& test) const;

    /// Calls `visit` for this node and every node below it, depth-first pre-order. The
    /// callback must not change the hierarchy.
    void enumerateHierarchy(const std::function<void(Node&)>& visit);
    void enumerateHierarchy(const std::function<void(const Node&)>& visit) const;

    /// A copy of this subtree (detached). Geometries, materials, cameras, lights and skinners are
    /// shared with the original; morphers are copied so that each copy has its own weights;
    /// free-key values and animations are copied.
    std::shared_ptr<Node> clone() const;

    // Contents --------------------------------------------------------------------------

    const std::shared_ptr<Camera>& camera() const { return camera_; }
    void setCamera(std::shared_ptr<Camera> camera) { camera_ = std::move(camera); }
    const std::shared_ptr<Light>& light() const { return light_; }
    void setLight(std::shared_ptr<Light> light) { light_ = std::move(light); }
    const std::shared_ptr<Geometry>& geometry() const { return geometry_; }
    void setGeometry(std::shared_ptr<Geometry> geometry) { geometry_ = std::move(geometry); }
    const std::shared_ptr<Morpher>& morpher() const { return morpher_; }
    void setMorpher(std::shared_ptr<Morpher> morpher) { morpher_ = std::move(morpher); }
    const std::shared_ptr<Skinner>& skinner() const { return skinner_; }
    void setSkinner(std::shared_ptr<Skinner> skinner) { skinner_ = std::move(skinner); }

    /// Draw order hint; higher values draw later.
    int renderingOrder() const { return renderingOrder_; }
    void setRenderingOrder(int order) { renderingOrder_ = order; }

    // Local transform -------------------------------------------------------------------

    Matrix4 transform() const;
    void setTransform(const Matrix4& transform);
    /// Whether the local transform was set as a matrix (and has not been replaced since).
    bool hasMatrixTransform() const { return matrix_.has_value(); }
    /// Whether position, orientation and scale describe the local transform without loss
    /// (false only for a matrix with shear or projective terms).
    bool isTransformDecomposable() const;

    const TransformComponents& transformComponents() const { return components_; }
    glm::dvec3 position() const { return components_.position; }
    void setPosition(const glm::dvec3& position);
    /// (x, y, z, w); not normalised when set.
    Quaternion orientation() const { return components_.orientation; }
    void setOrientation(const Quaternion& orientation);
    glm::dvec3 scale() const { return components_.scale; }
    void setScale(const glm::dvec3& scale);

    // World space -----------------------------------------------------------------------

    /// The product of the local transforms from the top of the hierarchy down to this node.
    Matrix4 worldTransform() const;
    void setWorldTransform(const Matrix4& worldTransform);
    glm::dvec3 worldPosition() const;
    void setWorldPosition(const glm::dvec3& worldPosition);
    Quaternion worldOrientation() const;
    void setWorldOrientation(const Quaternion& worldOrientation);

    /// A point given in `from`'s space (world space when `from` is null) in this node's space.
    glm::dvec3 convertPosition(const glm::dvec3& position, const Node* from) const;
    /// A point given in this node's space in `to`'s space (world space when `to` is null).
    glm::dvec3 convertPositionToNode(const glm::dvec3& position, const Node* to) const;

    // Values under free keys ------------------------------------------------------------

    /// Values kept under keys the node does not itself define ("weightPaths",
    /// "VRMHumanoidBones", …), sorted by key.
    const ValueDictionary& values() const { return values_; }
    /// The value under `key`, or null.
    const Value* value(std::string_view key) const;
    void setValue(std::string key, Value value);
    void removeValue(std::string_view key);

    // Key paths -------------------------------------------------------------------------

    /// The value at a key path relative to this node. Components are separated by ".":
    /// "childNodes[i]" (child i), "/Name" (first descendant named Name), "morpher.weights[k]",
    /// "position" (vector3), "orientation" (quaternion), "scale" (vector3), "transform"
    /// (matrix), "name"; any other last key reads the free-key value (null when absent).
    /// Fails with KeyPathError when a step does not resolve.
    Value valueForKeyPath(std::string_view keyPath) const;

    /// Sets the value at a key path (same paths as `valueForKeyPath`). Positions and scales
    /// take 3-vectors, orientations quaternions or 4-vectors (x, y, z, w), weights numbers;
    /// any other last key stores a free-key value. Fails with KeyPathError when the path does
    /// not resolve or the value does not fit.
    void setValueForKeyPath(std::string_view keyPath, const Value& value);

    // Animations ------------------------------------------------------------------------

    /// Registers `animation`, replacing one registered under the same key. Without a key a
    /// fresh one is made. Returns the key used.
    std::string addAnimation(std::shared_ptr<Animation> animation,
                             std::optional<std::string> key = std::nullopt);
    /// In registration order.
    const std::vector<AnimationEntry>& animations() const { return animations_; }
    std::shared_ptr<Animation> animationForKey(std::string_view key) const;
    void removeAnimation(std::string_view key);

  private:
    explicit Node(std::string name);
    std::shared_ptr<Node> shallowCopy() const;
    void adoptComponents(const TransformComponents& components);

    std::string name_;
    std::weak_ptr<Node> parent_;
    std::vector<std::shared_ptr<Node>> children_;
    std::shared_ptr<Camera> camera_;
    std::shared_ptr<Light> light_;
    std::shared_ptr<Geometry> geometry_;
    std::shared_ptr<Morpher> morpher_;
    std::shared_ptr<Skinner> skinner_;
    int renderingOrder_ = 0;
    TransformComponents components_;
    std::optional<Matrix4> matrix_;
    ValueDictionary values_;
    std::vector<AnimationEntry> animations_;
    std::size_t generatedAnimationKeys_ = 0;
};

} // namespace scene
