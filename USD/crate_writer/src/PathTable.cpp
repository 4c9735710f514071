#include "PathTable.h"

#include <algorithm>

namespace usd::crate {
namespace {

// The text a path element is stored as: the plain name for properties and
// prims, "{set=variant}" for variant selections.
std::string elementText(const Path& path) {
    if (path.isVariantSelectionPath())
        return "{" + std::string(path.name()) + "}";
    return std::string(path.name());
}

} // namespace

std::uint32_t PathTable::add(const Path& path) {
    if (const auto found = indexes_.find(path); found != indexes_.end())
        return found->second;
    if (!path.isEmpty() && !path.isAbsoluteRoot()) {
        const Path parent = path.parent();
        add(parent);
        children_[parent].push_back(path);
    }
    if (!path.isEmpty()) {
        const auto token = static_cast<std::int32_t>(tokens_.add(elementText(path)));
        elementTokens_.emplace(path, path.isPropertyPath() ? -token : token);
    }
    const auto index = static_cast<std::uint32_t>(indexes_.size());
    indexes_.emplace(path, index);
    return index;
}

std::int32_t PathTable::elementToken(const Path& path) const {
    return elementTokens_.at(path);
}

EncodedPathTree PathTable::encodeTree() const {
    EncodedPathTree tree;
    if (indexes_.contains(Path::absoluteRoot()))
        encodeSubtree(Path::absoluteRoot(), false, tree);
    return tree;
}

void PathTable::encodeSubtree(const Path& path, bool hasNextSibling, EncodedPathTree& tree) const {
    const std::size_t node = tree.pathIndexes.size();
    tree.pathIndexes.push_back(indexes_.at(path));
    tree.elementTokenIndexes.push_back(elementToken(path));
    tree.jumps.push_back(0);
    const auto found = children_.find(path);
    const bool hasChildren = found != children_.end();
    if (hasChildren) {
        std::vector<Path> children = found->second;
        std::ranges::sort(children);
        for (std::size_t i = 0; i < children.size(); ++i)
            encodeSubtree(children[i], i + 1 < children.size(), tree);
    }
    // -2: leaf, last sibling; -1: children only; 0: sibling only (it follows
    // at once); otherwise the distance to the sibling after the subtree.
    if (hasChildren && hasNextSibling)
        tree.jumps[node] = static_cast<std::int32_t>(tree.pathIndexes.size() - node);
    else if (hasChildren)
        tree.jumps[node] = -1;
    else if (!hasNextSibling)
        tree.jumps[node] = -2;
}

} // namespace usd::crate
