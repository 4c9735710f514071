#include "KeyPathFailure.h"

#include <SceneGraph/KeyPath.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <span>

namespace scene {
namespace {

using detail::failKeyPath;

using Components = std::span<const KeyPathComponent>;

enum class Property { position, orientation, scale, transform, name, morpherWeight, freeKey };

struct PropertyTarget {
    Property property;
    std::string key;
    std::size_t weightIndex = 0;
};

/// The node that a leading "childNodes[i]" or "/Name" step leads to, or null when the step
/// names something else.
const Node* nodeStep(const Node& node, const KeyPathComponent& step, std::string_view keyPath) {
    if (step.searchesDescendants) {
        const auto found = node.childNodeWithName(step.key, true);
        if (!found) {
            failKeyPath(keyPath,
                        "no node named \"" + step.key + "\" below \"" + node.name() + "\"");
        }
        return found.get();
    }
    if (step.key != "childNodes") {
        return nullptr;
    }
    const auto& children = node.childNodes();
    if (!step.index || *step.index >= children.size()) {
        failKeyPath(keyPath, "childNodes needs an index below " + std::to_string(children.size()));
    }
    return children[*step.index].get();
}

/// Follows the node steps of `components`; returns the last node reached and the steps left.
std::pair<const Node*, Components> followNodes(const Node& start, Components components,
                                               std::string_view keyPath) {
    const Node* node = &start;
    while (!components.empty()) {
        const Node* next = nodeStep(*node, components.front(), keyPath);
        if (!next) {
            break;
        }
        node = next;
        components = components.subspan(1);
    }
    return {node, components};
}

PropertyTarget propertyOf(Components rest, std::string_view keyPath) {
    static const std::pair<std::string_view, Property> plainProperties[] = {
        {"position", Property::position},
        {"orientation", Property::orientation},
        {"scale", Property::scale},
        {"transform", Property::transform},
        {"name", Property::name}};
    const auto& first = rest.front();
    if (rest.size() == 2 && first.key == "morpher" && !first.index && rest[1].key == "weights" &&
        rest[1].index) {
        return {Property::morpherWeight, {}, *rest[1].index};
    }
    if (rest.size() != 1 || first.index) {
        failKeyPath(keyPath, "\"" + first.key + "\" does not lead anywhere");
    }
    for (const auto& [key, property] : plainProperties) {
        if (first.key == key) {
            return {property, {}};
        }
    }
    return {Property::freeKey, first.key};
}

Morpher& morpherWithWeight(const Node& node, std::size_t weightIndex, std::string_view keyPath) {
    const auto& morpher = node.morpher();
    if (!morpher) {
        failKeyPath(keyPath, "node \"" + node.name() + "\" has no morpher");
    }
    if (weightIndex >= morpher->weights().size()) {
        failKeyPath(keyPath,
                    "the morpher has " + std::to_string(morpher->weights().size()) + " weights");
    }
    return *morpher;
}

template <class T>
const T& required(const Value& value, std::string_view keyPath, std::string_view expected) {
    const T* typed = value.as<T>();
    if (!typed) {
        failKeyPath(keyPath, "needs a " + std::string(expected) + ", not a " +
                                 std::string(value.typeName()));
    }
    return *typed;
}

Quaternion requiredRotation(const Value& value, std::string_view keyPath) {
    if (const auto* xyzw = value.as<glm::dvec4>()) {
        return quaternionFromXYZW(*xyzw);
    }
    return required<Quaternion>(value, keyPath, "quaternion or vector4");
}

double requiredNumber(const Value& value, std::string_view keyPath) {
    const auto number = value.number();
    if (!number) {
        failKeyPath(keyPath, "needs a number, not a " + std::string(value.typeName()));
    }
    return *number;
}

Value readProperty(const Node& node, const PropertyTarget& target, std::string_view keyPath) {
    switch (target.property) {
    case Property::position:
        return node.position();
    case Property::orientation:
        return node.orientation();
    case Property::scale:
        return node.scale();
    case Property::transform:
        return node.transform();
    case Property::name:
        return node.name();
    case Property::morpherWeight:
        return morpherWithWeight(node, target.weightIndex, keyPath).weight(target.weightIndex);
    case Property::freeKey:
        break;
    }
    const Value* stored = node.value(target.key);
    return stored ? *stored : Value();
}

void writeProperty(Node& node, const PropertyTarget& target, const Value& value,
                   std::string_view keyPath) {
    switch (target.property) {
    case Property::position:
        return node.setPosition(required<glm::dvec3>(value, keyPath, "vector3"));
    case Property::orientation:
        return node.setOrientation(requiredRotation(value, keyPath));
    case Property::scale:
        return node.setScale(required<glm::dvec3>(value, keyPath, "vector3"));
    case Property::transform:
        return node.setTransform(required<Matrix4>(value, keyPath, "matrix"));
    case Property::name:
        return node.setName(required<std::string>(value, keyPath, "text"));
    case Property::morpherWeight:
        return morpherWithWeight(node, target.weightIndex, keyPath)
            .setWeight(target.weightIndex, requiredNumber(value, keyPath));
    case Property::freeKey:
        return node.setValue(target.key, value);
    }
}

} // namespace

Value Node::valueForKeyPath(std::string_view keyPath) const {
    const auto components = parseKeyPath(keyPath);
    const auto [node, rest] = followNodes(*this, components, keyPath);
    if (rest.empty()) {
        return Value::reference(std::const_pointer_cast<Node>(node->shared_from_this()));
    }
    return readProperty(*node, propertyOf(rest, keyPath), keyPath);
}

void Node::setValueForKeyPath(std::string_view keyPath, const Value& value) {
    const auto components = parseKeyPath(keyPath);
    const auto [node, rest] = followNodes(*this, components, keyPath);
    if (rest.empty()) {
        failKeyPath(keyPath, "a node cannot be replaced through a key path");
    }
    // Every node reached from here is owned by this non-const hierarchy.
    writeProperty(const_cast<Node&>(*node), propertyOf(rest, keyPath), value, keyPath);
}

} // namespace scene
