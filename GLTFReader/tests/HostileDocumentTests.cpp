// Documents made to exhaust the reader: sizes that claim far more than the file holds, and node
// hierarchies too deep or looping. Each must be refused with the reader's own error, at once
// and without the memory it claims.

#include "support/TestUnarchiver.h"

#include <BoundedRun.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using gltf::testing::failureOf;
using gltf::testing::GLTFTestDocument;
using gltf::testing::TestBytes;
using testing::HasSubstr;

namespace {

std::string sceneFailure(const std::string& members) {
    return failureOf([&] { GLTFSceneSource(GLTFTestDocument(members).gltf()).sceneWithOptions(); });
}

// The refusal of `members`, checked to take under a second of processor time and to leave the
// process's memory within `memoryMiB` of where it was. A document of 100,000 nodes is 2 MB of
// text, and its decoded records take about forty times that before any node is built.
std::string boundedFailure(const std::string& members, double memoryMiB = 32) {
    std::string failure;
    const auto run = brightfold::testing::measureBounded([&] { failure = sceneFailure(members); });
    EXPECT_LT(run.processorTime.count(), 1.0) << failure;
    EXPECT_LT(run.peakMemoryGrowthMiB, memoryMiB) << failure;
    return failure;
}

// `count` nodes, each the only child of the one before it; the last points back at `loopTo`
// when given.
std::string nodeChain(int count, std::optional<int> loopTo = std::nullopt) {
    std::string nodes = R"("scene": 0, "scenes": [{"nodes": [0]}], "nodes": [)";
    for (int node = 0; node < count; ++node) {
        const std::optional<int> child = node + 1 < count ? std::optional(node + 1) : loopTo;
        nodes += child ? R"({"children": [)" + std::to_string(*child) + "]}," : "{},";
    }
    nodes.back() = ']';
    return nodes;
}

} // namespace

TEST(HostileDocuments, ABillionElementAccessorOverASmallBufferIsRefusedUnread) {
    TestBytes bytes;
    bytes.floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
    const std::string failure = boundedFailure(gltf::testing::embeddedBuffer(bytes) + R"(,
        "bufferViews": [{"buffer": 0, "byteLength": 36}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 1000000000,
                       "type": "VEC3"}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0}}]}],
        "scenes": [{"nodes": [0]}], "nodes": [{"mesh": 0}])");
    EXPECT_THAT(failure, HasSubstr("DataInconsistent"));
}

TEST(HostileDocuments, NodesNestedAHundredThousandLevelsDeepAreRefused) {
    EXPECT_EQ(boundedFailure(nodeChain(100'000), 256),
              "DataInconsistent: loadNode: nodes nest more than 1000 levels deep");
    // Deep but real hierarchies still load.
    EXPECT_EQ(sceneFailure(nodeChain(1000)), "");
}

TEST(HostileDocuments, ALoopThroughManyNodesIsRefused) {
    EXPECT_EQ(boundedFailure(nodeChain(500, 0)),
              "DataInconsistent: loadNode: node 1 is its own descendant");
    EXPECT_THAT(boundedFailure(nodeChain(100'000, 0), 256),
                HasSubstr("DataInconsistent: loadNode"));
    // Without a scene to start from, the loop leaves no node to be a root.
    EXPECT_EQ(sceneFailure(R"("nodes": [{"children": [1]}, {"children": [0]}])"),
              "DataInconsistent: loadScene: every node is another node's child, so the nodes "
              "form a loop");
}
