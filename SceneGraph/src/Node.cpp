#include <SceneGraph/Animation.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <algorithm>
#include <stdexcept>

namespace scene {
namespace {

/// Visits `top`'s subtree in depth-first pre-order without recursion, so that hierarchies
/// of any depth are safe. `visit` returns false to stop.
template <class NodeType, class Visit> void walkPreOrder(NodeType& top, Visit&& visit) {
    std::vector<NodeType*> pending{&top};
    while (!pending.empty()) {
        NodeType* node = pending.back();
        pending.pop_back();
        if (!visit(*node)) {
            return;
        }
        const auto& children = node->childNodes();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            pending.push_back(child->get());
        }
    }
}

} // namespace

Node::Node(std::string name) : name_(std::move(name)) {}

std::shared_ptr<Node> Node::create(std::string name) {
    return std::shared_ptr<Node>(new Node(std::move(name)));
}

Node::~Node() {
    // Releasing a long chain recursively could exhaust the stack; take ownership of the
    // descendants level by level so each one is destroyed without children.
    std::vector<std::shared_ptr<Node>> pending = std::move(children_);
    while (!pending.empty()) {
        std::shared_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        if (node.use_count() == 1) {
            std::move(node->children_.begin(), node->children_.end(), std::back_inserter(pending));
            node->children_.clear();
        }
    }
}

void Node::addChildNode(const std::shared_ptr<Node>& child) {
    if (!child) {
        throw std::invalid_argument("addChildNode: the child is null");
    }
    // Only a node with children can be an ancestor; checking that first keeps building long
    // chains from the top linear.
    if (child.get() == this || (!child->children_.empty() && isDescendantOf(*child))) {
        throw std::invalid_argument("addChildNode: node \"" + child->name() +
                                    "\" cannot become a child of itself or of its own descendant");
    }
    const auto keepAlive = child;
    child->removeFromParentNode();
    children_.push_back(child);
    child->parent_ = weak_from_this();
}

void Node::removeFromParentNode() {
    const auto parent = parent_.lock();
    parent_.reset();
    if (parent) {
        std::erase_if(parent->children_, [this](const auto& child) { return child.get() == this; });
    }
}

bool Node::isDescendantOf(const Node& ancestor) const {
    for (auto node = parentNode(); node; node = node->parentNode()) {
        if (node.get() == &ancestor) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<Node> Node::childNodeWithName(std::string_view name, bool recursively) const {
    if (!recursively) {
        const auto found =
            std::find_if(children_.begin(), children_.end(),
                         [name](const auto& child) { return child->name() == name; });
        return found == children_.end() ? nullptr : *found;
    }
    std::shared_ptr<Node> match;
    for (const auto& child : children_) {
        walkPreOrder(*child, [&](Node& node) {
            if (node.name() == name) {
                match = node.shared_from_this();
            }
            return !match;
        });
        if (match) {
            break;
        }
    }
    return match;
}

std::vector<std::shared_ptr<Node>>
Node::childNodesPassingTest(const std::function<bool(const Node&)>& test) const {
    std::vector<std::shared_ptr<Node>> passing;
    for (const auto& child : children_) {
        walkPreOrder(*child, [&](Node& node) {
            if (test(node)) {
                passing.push_back(node.shared_from_this());
            }
            return true;
        });
    }
    return passing;
}

void Node::enumerateHierarchy(const std::function<void(Node&)>& visit) {
    walkPreOrder(*this, [&](Node& node) {
        visit(node);
        return true;
    });
}

void Node::enumerateHierarchy(const std::function<void(const Node&)>& visit) const {
    walkPreOrder(*this, [&](const Node& node) {
        visit(node);
        return true;
    });
}

std::shared_ptr<Node> Node::shallowCopy() const {
    auto copy = create(name_);
    copy->camera_ = camera_;
    copy->light_ = light_;
    copy->geometry_ = geometry_;
    copy->morpher_ = morpher_ ? std::make_shared<Morpher>(*morpher_) : nullptr;
    copy->skinner_ = skinner_;
    copy->renderingOrder_ = renderingOrder_;
    copy->components_ = components_;
    copy->matrix_ = matrix_;
    copy->values_ = values_;
    copy->generatedAnimationKeys_ = generatedAnimationKeys_;
    for (const auto& entry : animations_) {
        copy->animations_.push_back({entry.key, entry.animation->copy()});
    }
    return copy;
}

std::shared_ptr<Node> Node::clone() const {
    auto top = shallowCopy();
    std::vector<std::pair<const Node*, Node*>> pending{{this, top.get()}};
    while (!pending.empty()) {
        const auto [original, copy] = pending.back();
        pending.pop_back();
        for (const auto& child : original->children_) {
            auto childCopy = child->shallowCopy();
            childCopy->parent_ = copy->weak_from_this();
            copy->children_.push_back(childCopy);
            pending.emplace_back(child.get(), childCopy.get());
        }
    }
    return top;
}

const Value* Node::value(std::string_view key) const {
    return findValue(values_, key);
}

void Node::setValue(std::string key, Value value) {
    values_.insert_or_assign(std::move(key), std::move(value));
}

void Node::removeValue(std::string_view key) {
    eraseValue(values_, key);
}

std::string Node::addAnimation(std::shared_ptr<Animation> animation,
                               std::optional<std::string> key) {
    if (!animation) {
        throw std::invalid_argument("addAnimation: the animation is null");
    }
    std::string usedKey;
    if (key) {
        usedKey = std::move(*key);
        removeAnimation(usedKey);
    } else {
        do {
            usedKey = "animation-" + std::to_string(++generatedAnimationKeys_);
        } while (animationForKey(usedKey));
    }
    animations_.push_back({usedKey, std::move(animation)});
    return usedKey;
}

std::shared_ptr<Animation> Node::animationForKey(std::string_view key) const {
    const auto found = std::find_if(animations_.begin(), animations_.end(),
                                    [key](const auto& entry) { return entry.key == key; });
    return found == animations_.end() ? nullptr : found->animation;
}

void Node::removeAnimation(std::string_view key) {
    std::erase_if(animations_, [key](const auto& entry) { return entry.key == key; });
}

} // namespace scene
