#include "PathTable.h"

#include "DecodeBudget.h"

#include <USD/codec/CompressedIntegers.h>
#include <cstdlib>
#include <stack>

namespace usd::crate {

namespace {

constexpr Version kCompressedPathsVersion{0, 4, 0};
constexpr Version kUnpaddedHeadersVersion{0, 1, 0};

// Header bits of the uncompressed tree.
constexpr std::uint8_t kHasChild = 0x01;
constexpr std::uint8_t kHasSibling = 0x02;
constexpr std::uint8_t kIsProperty = 0x04;

// Builds one node's path from its parent. Returns the empty path for element forms we do
// not keep (targets of relationships and their properties).
Path childPath(const Path& parent, const std::string& element, bool isProperty) {
    if (parent.isEmpty()) {
        return Path();
    }
    if (isProperty) {
        return parent.appendProperty(element);
    }
    if (element.starts_with('[') || element.starts_with('.')) {
        return Path();
    }
    if (element.starts_with('{') && element.ends_with('}')) {
        const auto equals = element.find('=');
        if (equals == std::string::npos) {
            throw FormatError("malformed variant selection element \"" + element + "\"");
        }
        return parent.appendVariantSelection(
            element.substr(1, equals - 1), element.substr(equals + 1, element.size() - equals - 2));
    }
    return parent.appendChild(element);
}

// Each path holds its whole text, so a chain of prims costs the square of its depth: the
// texts the table builds are charged to a budget, which bounds its memory and time.
class PathTableBuilder {
  public:
    PathTableBuilder(std::uint64_t tableSize, const std::vector<std::string>& tokens,
                     std::uint64_t sectionSize)
        : paths_(tableSize), tokens_(tokens), budget_(DecodeBudget::forFileSize(sectionSize)) {}

    // Stores the node's path and returns it; the first node of a tree is the root.
    Path addNode(const Path* parent, std::uint64_t pathIndex, std::int64_t element,
                 bool isProperty) {
        if (pathIndex >= paths_.size()) {
            throw FormatError("path index " + std::to_string(pathIndex) + " is out of range (" +
                              std::to_string(paths_.size()) + " paths)");
        }
        Path path = parent == nullptr ? Path::absoluteRoot()
                                      : childPath(*parent, token(element), isProperty);
        budget_.charge(sizeof(Path) + path.text().size());
        paths_[pathIndex] = path;
        return path;
    }

    std::vector<Path> take() { return std::move(paths_); }

  private:
    const std::string& token(std::int64_t index) const {
        if (index < 0 || static_cast<std::uint64_t>(index) >= tokens_.size()) {
            throw FormatError("path element token " + std::to_string(index) + " is out of range (" +
                              std::to_string(tokens_.size()) + " tokens)");
        }
        return tokens_[static_cast<std::size_t>(index)];
    }

    std::vector<Path> paths_;
    const std::vector<std::string>& tokens_;
    DecodeBudget budget_;
};

// Every node of the tree fills one slot of the table; a slot no node fills is referred to
// from somewhere else in the file. Compressed, a node takes less than a byte (a deep chain of
// prims compresses to almost nothing), so the nodes are counted on their own.
std::uint64_t checkedTableSize(std::uint64_t size, std::uint64_t nodeCount,
                               const ByteReader& reader) {
    if (size > reader.size() && size - reader.size() > nodeCount) {
        throw FormatError("path table size " + std::to_string(size) +
                          " exceeds what the file size and its " + std::to_string(nodeCount) +
                          " tree nodes can fill");
    }
    return size;
}

struct PendingNode {
    std::uint64_t node;
    Path parent;
    bool isRoot;
};

std::vector<Path> readCompressedTree(ByteReader& reader, const std::vector<std::string>& tokens) {
    const auto claimedTableSize = reader.read<std::uint64_t>();
    const auto nodeCount = reader.read<std::uint64_t>();
    // Decoding the node arrays first bounds the node count by the bytes that hold them.
    const auto pathIndexes = readCompressedIntegers<std::uint32_t>(reader, nodeCount);
    const auto elements = readCompressedIntegers<std::int32_t>(reader, nodeCount);
    const auto jumps = readCompressedIntegers<std::int32_t>(reader, nodeCount);
    PathTableBuilder table(checkedTableSize(claimedTableSize, nodeCount, reader), tokens,
                           reader.size());

    std::vector<bool> visited(nodeCount, false);
    std::stack<PendingNode> pending;
    if (nodeCount > 0) {
        pending.push({0, Path(), true});
    }
    while (!pending.empty()) {
        auto [node, parent, isRoot] = std::move(pending.top());
        pending.pop();
        while (true) {
            if (node >= nodeCount || visited[node]) {
                throw FormatError("path tree node " + std::to_string(node) +
                                  " is out of range or reached twice");
            }
            visited[node] = true;
            const std::int64_t element = elements[node];
            const Path path = table.addNode(isRoot ? nullptr : &parent, pathIndexes[node],
                                            std::llabs(element), element < 0);
            const std::int32_t jump = jumps[node];
            if (jump < -2) {
                throw FormatError("path tree jump " + std::to_string(jump) + " is invalid");
            }
            if (jump > 0) {
                pending.push({node + static_cast<std::uint64_t>(jump), parent, false});
            }
            if (jump == -2) {
                break;
            }
            if (jump != 0) { // the node has children
                parent = path;
            }
            isRoot = false;
            ++node;
        }
    }
    return table.take();
}

std::vector<Path> readHeaderTree(ByteReader& reader, const std::vector<std::string>& tokens,
                                 bool padded) {
    // Uncompressed, every node takes at least twelve bytes of the file.
    PathTableBuilder table(checkedTableSize(reader.read<std::uint64_t>(), 0, reader), tokens,
                           reader.size());
    std::vector<bool> visited(reader.size(), false);
    std::stack<PendingNode> pending;
    pending.push({reader.position(), Path(), true});
    while (!pending.empty()) {
        auto [offset, parent, isRoot] = std::move(pending.top());
        pending.pop();
        reader.seek(offset);
        while (true) {
            if (visited[reader.position()]) {
                throw FormatError("path tree node at offset " + std::to_string(reader.position()) +
                                  " is reached twice");
            }
            visited[reader.position()] = true;
            if (padded) {
                reader.read<std::uint32_t>();
            }
            const auto pathIndex = reader.read<std::uint32_t>();
            const auto element = reader.read<std::uint32_t>();
            const auto bits = reader.read<std::uint8_t>();
            reader.readBytes(3);
            const Path path =
                table.addNode(isRoot ? nullptr : &parent, pathIndex, element, bits & kIsProperty);
            const bool hasChild = bits & kHasChild;
            const bool hasSibling = bits & kHasSibling;
            if (hasChild && hasSibling) {
                const auto siblingOffset = reader.read<std::int64_t>();
                if (siblingOffset < 0 ||
                    static_cast<std::uint64_t>(siblingOffset) >= reader.size()) {
                    throw FormatError("path tree sibling offset " + std::to_string(siblingOffset) +
                                      " is out of range");
                }
                pending.push({static_cast<std::uint64_t>(siblingOffset), parent, false});
            }
            if (!hasChild && !hasSibling) {
                break;
            }
            if (hasChild) {
                parent = path;
            }
            isRoot = false;
        }
    }
    return table.take();
}

} // namespace

std::vector<Path> readPathTable(ByteReader reader, const Version& version,
                                const std::vector<std::string>& tokens) {
    try {
        if (version >= kCompressedPathsVersion) {
            return readCompressedTree(reader, tokens);
        }
        return readHeaderTree(reader, tokens, version < kUnpaddedHeadersVersion);
    } catch (const PathError& error) {
        throw FormatError(std::string("invalid path element: ") + error.what());
    }
}

} // namespace usd::crate
