#pragma once

#include "TokenTables.h"

#include <USD/layer/Path.h>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace usd::crate {

// The path tree as files store it: nodes in depth-first pre-order, each with
// its table index, its element token (negated for properties) and a jump
// saying where its children and next sibling are.
struct EncodedPathTree {
    std::vector<std::uint32_t> pathIndexes;
    std::vector<std::int32_t> elementTokenIndexes;
    std::vector<std::int32_t> jumps;
};

// Every path the file refers to, each with its ancestors, indexed in the order
// first added. The empty path gets an index too (values may refer to it) but
// is not part of the tree.
class PathTable {
  public:
    explicit PathTable(TokenTable& tokens) : tokens_(tokens) {}

    std::uint32_t add(const Path& path);
    std::size_t size() const { return indexes_.size(); }
    EncodedPathTree encodeTree() const;

  private:
    void encodeSubtree(const Path& path, bool hasNextSibling, EncodedPathTree& tree) const;
    std::int32_t elementToken(const Path& path) const;

    TokenTable& tokens_;
    std::unordered_map<Path, std::uint32_t> indexes_;
    // Sorted by path text when encoding, so the tree does not depend on the
    // order paths were added in.
    std::unordered_map<Path, std::vector<Path>> children_;
    std::unordered_map<Path, std::int32_t> elementTokens_;
};

} // namespace usd::crate
