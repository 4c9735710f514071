#include "PathTable.h"

#include <gtest/gtest.h>

namespace usd::crate {
namespace {

// The tree of /Root with a property and three child prims, one of which has a
// property of its own. Children are visited in path order, which puts
// properties ('.') before child prims ('/').
TEST(PathTree, EncodesPreOrderWithJumpsToNextSiblings) {
    TokenTable tokens;
    PathTable paths(tokens);
    for (const char* path : {"/Root/B.size", "/Root/C", "/Root.xform", "/Root/A"})
        paths.add(Path::fromString(path));

    const EncodedPathTree tree = paths.encodeTree();
    std::vector<std::string> elements;
    for (std::int32_t token : tree.elementTokenIndexes)
        elements.push_back((token < 0 ? "." : "") + tokens.tokens()[std::abs(token)]);

    EXPECT_EQ(elements, (std::vector<std::string>{"", "Root", ".xform", "A", "B", ".size", "C"}));
    // /: children only; /Root: children only; .xform and A: leaves with a
    // sibling next; B: children, and a sibling two nodes on; .size and C: last.
    EXPECT_EQ(tree.jumps, (std::vector<std::int32_t>{-1, -1, 0, 0, 2, -2, -2}));
    EXPECT_EQ(paths.size(), 7u);
    EXPECT_EQ(tree.pathIndexes[0], 0u); // the root was added first, as an ancestor
}

TEST(PathTree, KeepsVariantSelectionsAndTheEmptyPathApart) {
    TokenTable tokens;
    PathTable paths(tokens);
    const auto empty = paths.add(Path());
    paths.add(Path::fromString("/Ball{shade=red}/Inner"));

    const EncodedPathTree tree = paths.encodeTree();
    EXPECT_EQ(paths.size(), 5u);            // empty, /, /Ball, variant, /Inner
    EXPECT_EQ(tree.pathIndexes.size(), 4u); // the empty path is not in the tree
    EXPECT_EQ(empty, 0u);
    EXPECT_EQ(tokens.tokens()[tree.elementTokenIndexes[2]], "{shade=red}");
    EXPECT_EQ(tokens.tokens()[0], ";-)");
}

} // namespace
} // namespace usd::crate
