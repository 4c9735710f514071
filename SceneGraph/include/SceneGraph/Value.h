#pragma once

#include <SceneGraph/Color.h>
#include <SceneGraph/Transform.h>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace scene {

class Image;
class Node;
class Value;

using ValueArray = std::vector<Value>;
using ValueDictionary = std::map<std::string, Value, std::less<>>;

/// A reference to a node that does not keep it alive (values live on nodes; a strong
/// reference could form a cycle).
struct NodeReference {
    std::weak_ptr<Node> node;

    std::shared_ptr<Node> lock() const { return node.lock(); }
    friend bool operator==(const NodeReference& a, const NodeReference& b) {
        return !a.node.owner_before(b.node) && !b.node.owner_before(a.node);
    }
};

/// Any shared object a module keeps under a key, tagged so that a reader can check what it is
/// before casting (for example the records of an avatar's physics set-up).
struct OpaqueObject {
    std::string typeTag;
    std::shared_ptr<void> object;

    /// The object as T when its tag is `expectedTag`, else null.
    template <class T> std::shared_ptr<T> as(std::string_view expectedTag) const {
        return typeTag == expectedTag ? std::static_pointer_cast<T>(object) : nullptr;
    }
    friend bool operator==(const OpaqueObject&, const OpaqueObject&) = default;
};

/// One dynamically typed value: key-value entries of scenes and nodes, free-key attributes,
/// material named values and animation key values. Values compare by content (images, nodes
/// and opaque objects by identity).
class Value {
  public:
    using Storage =
        std::variant<std::monostate, bool, std::int64_t, double, std::string, glm::dvec2,
                     glm::dvec3, glm::dvec4, Quaternion, Matrix4, Color, ValueArray,
                     ValueDictionary, NodeReference, std::shared_ptr<Image>, OpaqueObject>;

    /// The null value.
    Value() = default;
    Value(bool flag) : storage_(flag) {}
    template <class Integer>
    requires(std::is_integral_v<Integer> && !std::is_same_v<Integer, bool>) Value(Integer number)
        : storage_(static_cast<std::int64_t>(number)) {}
    template <class Real>
    requires std::is_floating_point_v<Real> Value(Real number)
        : storage_(static_cast<double>(number)) {}
    Value(std::string text) : storage_(std::move(text)) {}
    Value(std::string_view text) : storage_(std::string(text)) {}
    Value(const char* text) : storage_(std::string(text)) {}
    Value(const glm::dvec2& vector) : storage_(vector) {}
    Value(const glm::dvec3& vector) : storage_(vector) {}
    Value(const glm::dvec4& vector) : storage_(vector) {}
    Value(const Quaternion& rotation) : storage_(rotation) {}
    Value(const Matrix4& matrix) : storage_(matrix) {}
    Value(const Color& color) : storage_(color) {}
    Value(ValueArray array) : storage_(std::move(array)) {}
    Value(ValueDictionary dictionary) : storage_(std::move(dictionary)) {}
    Value(NodeReference node) : storage_(std::move(node)) {}
    Value(std::shared_ptr<Image> image) : storage_(std::move(image)) {}
    Value(OpaqueObject object) : storage_(std::move(object)) {}

    /// A weak reference to `node`.
    static Value reference(const std::shared_ptr<Node>& node) { return NodeReference{node}; }

    bool isNull() const { return std::holds_alternative<std::monostate>(storage_); }
    template <class T> bool is() const { return std::holds_alternative<T>(storage_); }

    /// The stored T, or null when the value holds another type.
    template <class T> const T* as() const { return std::get_if<T>(&storage_); }

    /// The value as a number when it is an integer or a double (booleans are not numbers).
    std::optional<double> number() const;

    /// The value as text when it holds text.
    std::optional<std::string> text() const;

    /// The referenced node, when the value is a node reference whose node still exists.
    std::shared_ptr<Node> node() const;

    const Storage& storage() const { return storage_; }

    /// A short, one-line description for dumps and messages: numbers in shortest form, texts
    /// quoted, containers summarised by size.
    std::string shortDescription() const;

    /// The name of the stored type ("null", "number", "vector3", "dictionary", …).
    std::string_view typeName() const;

    friend bool operator==(const Value&, const Value&) = default;

  private:
    Storage storage_;
};

/// The value under `key` in `dictionary`, or null.
const Value* findValue(const ValueDictionary& dictionary, std::string_view key);

/// Removes the entry under `key`, if there is one.
void eraseValue(ValueDictionary& dictionary, std::string_view key);

} // namespace scene
