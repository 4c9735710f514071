#include "SceneReaderTestSupport.h"

#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <USD/crate_writer/CrateWriter.h>
#include <USD/package/PackageWriter.h>
#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace usd::test {

std::filesystem::path scratchFolder() {
    static std::atomic<int> counter = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name =
        std::string(test ? test->name() : "scratch") + "_" + std::to_string(counter++);
    const auto folder = std::filesystem::path(::testing::TempDir()) / "scene_reader" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

TestFile crateFile(std::string name, const Layer& layer) {
    return {std::move(name), writeCrate(layer)};
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

ReadResult readLayerFiles(const std::vector<TestFile>& files) {
    const auto folder = scratchFolder();
    for (const TestFile& file : files) {
        writeFile(folder / file.name, file.bytes);
    }
    ReadResult result;
    result.scene = readUSDLayerFile(folder / files.front().name, result.notes);
    return result;
}

ReadResult readLayer(const Layer& layer) {
    return readLayerFiles({crateFile("scene.usdc", layer)});
}

std::filesystem::path writeTestPackage(const std::vector<TestFile>& files) {
    const auto package = scratchFolder() / "scene.usdz";
    std::vector<PackageEntry> entries;
    for (const TestFile& file : files) {
        entries.push_back({file.name, file.bytes});
    }
    writePackage(package, entries);
    return package;
}

ReadResult readPackage(const std::vector<TestFile>& files) {
    ReadResult result;
    result.scene = readUSDZ(writeTestPackage(files), result.notes);
    return result;
}

Layer metreLayer() {
    Layer layer;
    LayerBuilder build(layer);
    build.setLayerMetadata("upAxis", Token{"Y"});
    build.setLayerMetadata("metersPerUnit", 1.0);
    return layer;
}

Path defineMesh(LayerBuilder& build, const std::string& path, std::vector<Vec3f> points,
                std::vector<std::int32_t> counts, std::vector<std::int32_t> indices) {
    const Path mesh = build.definePrim(Path::fromString(path), "Mesh");
    build.addAttribute(mesh, "points", {"point3f[]", Array<Vec3f>(std::move(points))});
    build.addAttribute(mesh, "faceVertexCounts", {"int[]", Array<std::int32_t>(std::move(counts))});
    build.addAttribute(mesh, "faceVertexIndices",
                       {"int[]", Array<std::int32_t>(std::move(indices))});
    return mesh;
}

Path defineQuad(LayerBuilder& build, const std::string& path) {
    return defineMesh(build, path, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {4}, {0, 1, 2, 3});
}

std::shared_ptr<scene::Node> findNode(const scene::Scene& scene, const std::string& name) {
    if (scene.rootNode()->name() == name) {
        return scene.rootNode();
    }
    return scene.rootNode()->childNodeWithName(name, true);
}

std::size_t triangleCount(const scene::Geometry& geometry) {
    std::size_t count = 0;
    for (const auto& element : geometry.elements()) {
        count += element->primitiveCount();
    }
    return count;
}

std::vector<glm::dvec3> trianglePositions(const scene::Geometry& geometry, std::size_t element) {
    const auto positions = geometry.firstSource(scene::GeometrySemantic::vertex);
    const auto& indices = *geometry.elements().at(element);
    std::vector<glm::dvec3> corners;
    for (std::size_t i = 0; i < indices.indexCount(); ++i) {
        corners.emplace_back(positions->vector(indices.index(i)));
    }
    return corners;
}

} // namespace usd::test
