#pragma once

#include <cstdint>
#include <simdjson.h>

namespace modelimporter {

// How the nodes of a glTF document hang together. Assimp walks them recursively and copies a
// node shared by several parents under each of them, so a hostile file can overflow its stack
// or unfold into billions of nodes; this is measured first, without recursion.
struct NodeGraphShape {
    std::uint64_t nodeCount = 0;
    // Nodes on the longest chain from a parent to its descendants.
    std::uint64_t deepestLevel = 0;
    // Nodes once every shared node is copied under each parent (stops counting at the limit).
    std::uint64_t unfoldedNodes = 0;
    // Some node is its own descendant.
    bool hasLoop = false;
};

// The shape of the document's "nodes"; children that name no node are left to the importer.
NodeGraphShape measureNodeGraph(simdjson::dom::element document);

} // namespace modelimporter
