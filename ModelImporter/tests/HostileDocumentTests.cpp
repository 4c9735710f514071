// Documents that would overflow the importer's stack or memory (node hierarchies nested too
// deep or unfolding without end, accessors standing for gigabytes of zeros) are refused at once
// with a clear message; shared nodes of a sane size still import.

#include <ModelImporter/ModelImporter.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <string>
#include <vector>

using namespace modelimporter;
using ::testing::HasSubstr;

namespace {

// One triangle, as a base64 buffer inside the document.
constexpr const char* kTriangleParts =
    R"("meshes": [{"primitives": [{"attributes": {"POSITION": 0}}]}],
  "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
                 "min": [0, 0, 0], "max": [1, 1, 0]}],
  "bufferViews": [{"buffer": 0, "byteLength": 36}],
  "buffers": [{"byteLength": 36, "uri": "data:application/octet-stream;base64,)"
    R"(AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAA"}])";

// `children[i]` lists node i's children; the last node draws the triangle.
std::filesystem::path documentWithNodes(const std::string& name,
                                        const std::vector<std::vector<int>>& children,
                                        const std::vector<int>& roots) {
    std::string nodes;
    for (std::size_t i = 0; i < children.size(); ++i) {
        std::string list;
        for (int child : children[i])
            list += (list.empty() ? "" : ",") + std::to_string(child);
        nodes += std::string(i ? "," : "") + R"({"children": [)" + list + "]" +
                 (i + 1 == children.size() ? R"(, "mesh": 0)" : "") + "}";
    }
    std::string rootList;
    for (int root : roots)
        rootList += (rootList.empty() ? "" : ",") + std::to_string(root);
    const auto file = std::filesystem::temp_directory_path() / name;
    std::ofstream(file) << R"({"asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [)"
                        << rootList << R"(]}], "nodes": [)" << nodes << "], " << kTriangleParts
                        << "}";
    return file;
}

std::vector<std::vector<int>> chain(int levels) {
    std::vector<std::vector<int>> children(static_cast<std::size_t>(levels));
    for (int i = 0; i + 1 < levels; ++i)
        children[static_cast<std::size_t>(i)] = {i + 1};
    return children;
}

// `levels` pairs of nodes, both of each pair parents of both of the next: 2^levels paths.
std::vector<std::vector<int>> diamonds(int levels) {
    std::vector<std::vector<int>> children(static_cast<std::size_t>(2 * levels));
    for (int i = 0; i + 1 < levels; ++i)
        children[2 * i] = children[2 * i + 1] = {2 * i + 2, 2 * i + 3};
    return children;
}

std::string importRefusal(const std::filesystem::path& file) {
    const auto start = std::chrono::steady_clock::now();
    try {
        importWithAssimp(file);
    } catch (const ImportError& error) {
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        return error.what();
    }
    return "imported";
}

TEST(AssimpHostileDocument, HostileHierarchiesAreRefusedBeforeTheImporterWalksThem) {
    EXPECT_THAT(importRefusal(documentWithNodes("deep.gltf", chain(100'000), {0})),
                HasSubstr("\"deep.gltf\": its nodes nest more than 1000 levels deep."));
    EXPECT_THAT(importRefusal(documentWithNodes("shared.gltf", diamonds(40), {0, 1})),
                HasSubstr("would unfold into more than 1000000 nodes."));
    auto looping = chain(5);
    looping[3] = {1, 4};
    EXPECT_THAT(importRefusal(documentWithNodes("loop.gltf", looping, {0})),
                HasSubstr("its nodes form a loop."));
}

// Sparse values over no buffer view are zeros the importer would make: a billion of them from
// a few bytes of JSON are refused.
TEST(AssimpHostileDocument, AccessorsStandingForGigabytesOfZerosAreRefused) {
    const auto file = std::filesystem::temp_directory_path() / "sparse.gltf";
    std::ofstream(file) << R"({"asset": {"version": "2.0"}, "scenes": [{"nodes": [0]}],
        "nodes": [{"mesh": 0}], "meshes": [{"primitives": [{"attributes": {"POSITION": 0}}]}],
        "accessors": [{"componentType": 5126, "count": 1000000000, "type": "VEC3",
                       "min": [0, 0, 0], "max": [1, 1, 0],
                       "sparse": {"count": 1, "indices": {"bufferView": 0, "componentType": 5125},
                                  "values": {"bufferView": 0}}}],
        "bufferViews": [{"buffer": 0, "byteLength": 12}],
        "buffers": [{"byteLength": 12,
                     "uri": "data:application/octet-stream;base64,AAAAAAAAAAAAAAAA"}]})";
    EXPECT_THAT(importRefusal(file),
                HasSubstr("its accessors without buffer data stand for more than 1073741824 "
                          "bytes."));
}

TEST(AssimpHostileDocument, SaneHierarchiesStillImport) {
    EXPECT_TRUE(hasGeometry(*importWithAssimp(documentWithNodes("levels.gltf", chain(1000), {0}))));
    // A few levels of shared nodes unfold into a few copies, as the importer has always done.
    EXPECT_TRUE(hasGeometry(*importWithAssimp(documentWithNodes("few.gltf", diamonds(4), {0, 1}))));
}

} // namespace
