#include "PathTable.h"

#include "ByteBuilder.h"

#include <USD/codec/CompressedIntegers.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace usd;
using namespace usd::crate;
using testing::HasSubstr;

namespace {

const std::vector<std::string> kTokens{"", "A", "x", "{v=s}", "B", "C", "bad name", "[/T]"};

// The tree  /  ->  /A (children .x, {v=s}, /B; sibling /C). Slots 4 and 7 stay empty.
struct TreeNode {
    std::uint32_t pathIndex;
    std::int32_t element; // negative: property name token
    std::int32_t jump;
};
const std::vector<TreeNode> kTree{
    {0, 0, -1}, {1, 1, 4}, {2, -2, 0}, {3, 3, 0}, {5, 4, -2}, {6, 5, -2},
};

std::vector<Path> expectedTable() {
    return {Path::fromString("/"),
            Path::fromString("/A"),
            Path::fromString("/A.x"),
            Path::fromString("/A{v=s}"),
            Path(),
            Path::fromString("/A/B"),
            Path::fromString("/C"),
            Path()};
}

std::vector<std::uint8_t> compressedTree(const std::vector<TreeNode>& nodes,
                                         std::uint64_t tableSize = 8) {
    std::vector<std::uint32_t> indexes;
    std::vector<std::int32_t> elements;
    std::vector<std::int32_t> jumps;
    for (const TreeNode& node : nodes) {
        indexes.push_back(node.pathIndex);
        elements.push_back(node.element);
        jumps.push_back(node.jump);
    }
    ByteBuilder section;
    section.append(tableSize);
    section.append(std::uint64_t{nodes.size()});
    section.appendBytes(compressIntegerBlock<std::uint32_t>(indexes));
    section.appendBytes(compressIntegerBlock<std::int32_t>(elements));
    section.appendBytes(compressIntegerBlock<std::int32_t>(jumps));
    return section.bytes;
}

// The same tree as 12-byte (or padded 16-byte) node headers, the form of files before 0.4.0.
std::vector<std::uint8_t> headerTree(bool padded) {
    struct Header {
        std::uint32_t pathIndex;
        std::uint32_t element;
        std::uint8_t bits; // 1 child, 2 sibling, 4 property
    };
    const Header headers[] = {{0, 0, 1}, {1, 1, 3}, {2, 2, 6}, {3, 3, 2}, {5, 4, 0}, {6, 5, 0}};
    ByteBuilder section;
    section.append(std::uint64_t{8});
    std::size_t siblingSlot = 0;
    for (const Header& header : headers) {
        if (header.pathIndex == 6) {
            section.patch(siblingSlot, static_cast<std::int64_t>(section.bytes.size()));
        }
        if (padded) {
            section.append(std::uint32_t{0});
        }
        section.append(header.pathIndex);
        section.append(header.element);
        section.append(std::array<std::uint8_t, 4>{header.bits, 0, 0, 0});
        if (header.bits == 3) {
            siblingSlot = section.append(std::int64_t{0});
        }
    }
    return section.bytes;
}

std::string readError(const std::vector<std::uint8_t>& section) {
    try {
        readPathTable(ByteReader(section), {0, 8, 0}, kTokens);
    } catch (const FormatError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(PathTable, DecodesTheCompressedTree) {
    EXPECT_EQ(readPathTable(ByteReader(compressedTree(kTree)), {0, 8, 0}, kTokens),
              expectedTable());
}

TEST(PathTable, DecodesTheHeaderTreesOfOldVersions) {
    EXPECT_EQ(readPathTable(ByteReader(headerTree(false)), {0, 1, 0}, kTokens), expectedTable());
    EXPECT_EQ(readPathTable(ByteReader(headerTree(true)), {0, 0, 1}, kTokens), expectedTable());
}

TEST(PathTable, LeavesRelationshipTargetsAndTheirSubtreesEmpty) {
    const std::vector<TreeNode> tree{{0, 0, -1}, {1, 1, -1}, {2, -2, -1}, {3, 7, -1}, {4, -2, -2}};
    const std::vector<Path> paths =
        readPathTable(ByteReader(compressedTree(tree, 5)), {0, 8, 0}, kTokens);
    EXPECT_EQ(paths[2].text(), "/A.x");
    EXPECT_TRUE(paths[3].isEmpty());
    EXPECT_TRUE(paths[4].isEmpty());
}

TEST(PathTable, RefusesMalformedTrees) {
    auto cyclic = kTree;
    cyclic[4].jump = -1;
    cyclic[5].jump = -1; // the last node claims a child beyond the end
    EXPECT_THAT(readError(compressedTree(cyclic)), HasSubstr("out of range or reached twice"));

    auto looping = kTree;
    looping[2].jump = 0;
    looping[1].jump = 1; // sibling is its own first child
    EXPECT_THAT(readError(compressedTree(looping)), HasSubstr("reached twice"));

    auto badIndex = kTree;
    badIndex[3].pathIndex = 8;
    EXPECT_THAT(readError(compressedTree(badIndex)), HasSubstr("path index 8 is out of range"));

    auto badToken = kTree;
    badToken[2].element = -80;
    EXPECT_THAT(readError(compressedTree(badToken)), HasSubstr("token 80 is out of range"));

    auto badName = kTree;
    badName[4].element = 6;
    EXPECT_THAT(readError(compressedTree(badName)), HasSubstr("invalid path element"));

    auto badJump = kTree;
    badJump[5].jump = -3;
    EXPECT_THAT(readError(compressedTree(badJump)), HasSubstr("jump -3"));

    EXPECT_THAT(readError(compressedTree(kTree, 1ull << 40)),
                HasSubstr("exceeds what the file size and its 6 tree nodes can fill"));
}

// The root, then prims named by token 1, each the only child of the one before.
std::vector<TreeNode> chainOfDepth(std::uint32_t depth) {
    std::vector<TreeNode> chain{{0, 0, -1}};
    for (std::uint32_t i = 1; i < depth; ++i)
        chain.push_back({i, 1, i + 1 < depth ? -1 : -2});
    return chain;
}

// A deep chain of prims compresses to far fewer bytes than it has paths; the table is still
// read whole.
TEST(PathTable, ACompressedChainWithMorePathsThanBytesIsRead) {
    constexpr std::uint32_t depth = 3000;
    const auto section = compressedTree(chainOfDepth(depth), depth);
    ASSERT_LT(section.size(), depth);
    const auto table = readPathTable(ByteReader(section), Version{0, 8, 0}, kTokens);
    ASSERT_EQ(table.size(), depth);
    EXPECT_EQ(table[3], Path::fromString("/A/A/A"));
    EXPECT_EQ(table[depth - 1].text().size(), 2 * (depth - 1));
}

// The same chain with a long prim name would need hundreds of gigabytes of path text.
TEST(PathTable, AChainWhosePathTextsWouldExhaustMemoryIsRefused) {
    constexpr std::uint32_t depth = 3000;
    const std::vector<std::string> tokens{"", std::string(1 << 16, 'a')};
    try {
        readPathTable(ByteReader(compressedTree(chainOfDepth(depth), depth)), Version{0, 8, 0},
                      tokens);
        ADD_FAILURE() << "the chain was read";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), HasSubstr("MiB"));
    }
}
