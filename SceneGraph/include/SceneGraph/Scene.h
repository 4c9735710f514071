#pragma once

#include <SceneGraph/MaterialProperty.h>
#include <SceneGraph/Value.h>
#include <memory>
#include <string>
#include <string_view>

namespace scene {

class Node;

/// A scene: one root node, a background, and key-value entries ("name", "VRMMeta" …).
class Scene {
  public:
    static std::shared_ptr<Scene> create();

    /// A copy to change without touching this scene: the node hierarchy is cloned (see
    /// Node::clone) and each skinner is remade to bind the cloned bones and skeleton.
    /// Geometries, materials, cameras and lights stay shared with this scene.
    std::shared_ptr<Scene> copy() const;

    /// Never null; created with the scene.
    const std::shared_ptr<Node>& rootNode() const { return rootNode_; }

    /// What is drawn behind the scene; clear its contents for a transparent background.
    MaterialProperty& background() { return background_; }
    const MaterialProperty& background() const { return background_; }

    /// Key-value entries, sorted by key.
    const ValueDictionary& values() const { return values_; }
    /// The value under `key`, or null.
    const Value* value(std::string_view key) const;
    void setValue(std::string key, Value value);
    void removeValue(std::string_view key);

  private:
    Scene();

    std::shared_ptr<Node> rootNode_;
    MaterialProperty background_;
    ValueDictionary values_;
};

} // namespace scene
