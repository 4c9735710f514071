#include "NodeGraphShape.h"

#include "SaturatingCounts.h"

#include <algorithm>
#include <vector>

namespace modelimporter {
namespace {

using ChildLists = std::vector<std::vector<std::uint64_t>>;

ChildLists childListsOf(simdjson::dom::array nodes) {
    ChildLists children(nodes.size());
    std::size_t index = 0;
    for (simdjson::dom::element node : nodes) {
        simdjson::dom::array list;
        if (node["children"].get(list) == simdjson::SUCCESS) {
            for (simdjson::dom::element child : list) {
                std::uint64_t childIndex = 0;
                if (child.get(childIndex) == simdjson::SUCCESS && childIndex < nodes.size())
                    children[index].push_back(childIndex);
            }
        }
        ++index;
    }
    return children;
}

// Depth-first over every node, each finished once its children are: its level count and
// unfolded size follow from theirs.
class NodeGraphWalk {
  public:
    explicit NodeGraphWalk(const ChildLists& children)
        : children_(children), state_(children.size(), State::unseen), levels_(children.size(), 0),
          unfolded_(children.size(), 0) {}

    NodeGraphShape run() {
        for (std::uint64_t node = 0; node < children_.size(); ++node)
            if (state_[node] == State::unseen)
                walkFrom(node);
        NodeGraphShape shape;
        shape.nodeCount = children_.size();
        shape.hasLoop = hasLoop_;
        std::vector<bool> isChild(children_.size(), false);
        for (const auto& list : children_)
            for (std::uint64_t child : list)
                isChild[child] = true;
        for (std::uint64_t node = 0; node < children_.size(); ++node) {
            shape.deepestLevel = std::max(shape.deepestLevel, levels_[node]);
            if (!isChild[node])
                shape.unfoldedNodes = saturatingSum(shape.unfoldedNodes, unfolded_[node]);
        }
        return shape;
    }

  private:
    enum class State : std::uint8_t { unseen, open, finished };
    struct Frame {
        std::uint64_t node;
        std::size_t nextChild;
    };

    void walkFrom(std::uint64_t start) {
        std::vector<Frame> stack{{start, 0}};
        state_[start] = State::open;
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const auto& list = children_[frame.node];
            if (frame.nextChild == list.size()) {
                finish(frame.node);
                stack.pop_back();
                continue;
            }
            const std::uint64_t child = list[frame.nextChild++];
            if (state_[child] == State::open)
                hasLoop_ = true;
            else if (state_[child] == State::unseen) {
                state_[child] = State::open;
                stack.push_back({child, 0});
            }
        }
    }

    void finish(std::uint64_t node) {
        std::uint64_t levels = 0;
        std::uint64_t unfolded = 1;
        for (std::uint64_t child : children_[node]) {
            if (state_[child] != State::finished)
                continue; // an ancestor: the loop is already noted
            levels = std::max(levels, levels_[child]);
            unfolded = saturatingSum(unfolded, unfolded_[child]);
        }
        levels_[node] = levels + 1;
        unfolded_[node] = unfolded;
        state_[node] = State::finished;
    }

    const ChildLists& children_;
    std::vector<State> state_;
    std::vector<std::uint64_t> levels_;
    std::vector<std::uint64_t> unfolded_;
    bool hasLoop_ = false;
};

} // namespace

NodeGraphShape measureNodeGraph(simdjson::dom::element document) {
    simdjson::dom::array nodes;
    if (document["nodes"].get(nodes) != simdjson::SUCCESS)
        return {};
    const ChildLists children = childListsOf(nodes);
    return NodeGraphWalk(children).run();
}

} // namespace modelimporter
