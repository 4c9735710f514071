#pragma once

// Small USD files built in code, written to a scratch folder and read back as scenes.

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <USD/layer/LayerBuilder.h>
#include <USD/scene_reader/SceneReader.h>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace usd::test {

struct ReadResult {
    std::shared_ptr<scene::Scene> scene;
    SceneReadNotes notes;
};

// A file for a package or a scratch folder: its name and bytes.
struct TestFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// A fresh, empty folder for one test.
std::filesystem::path scratchFolder();
// Whole files, with the folders they need.
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readFile(const std::filesystem::path& path);
TestFile crateFile(std::string name, const Layer& layer);

// Writes the files into a fresh folder and reads the first as a bare layer.
ReadResult readLayerFiles(const std::vector<TestFile>& files);
ReadResult readLayer(const Layer& layer);
// Writes the files as a package (the first is its root layer) in a scratch folder.
std::filesystem::path writeTestPackage(const std::vector<TestFile>& files);
// Writes the files as a package and reads it.
ReadResult readPackage(const std::vector<TestFile>& files);

// A layer in metres with Y up, so scenes carry no stage frame.
Layer metreLayer();

// A Mesh prim with points, faceVertexCounts and faceVertexIndices.
Path defineMesh(LayerBuilder& build, const std::string& path, std::vector<Vec3f> points,
                std::vector<std::int32_t> counts, std::vector<std::int32_t> indices);
// A unit quad in the XY plane (one face of four corners).
Path defineQuad(LayerBuilder& build, const std::string& path);

// The first node of that name anywhere below the root.
std::shared_ptr<scene::Node> findNode(const scene::Scene& scene, const std::string& name);
std::size_t triangleCount(const scene::Geometry& geometry);
// The element's triangle corners as vertex positions.
std::vector<glm::dvec3> trianglePositions(const scene::Geometry& geometry, std::size_t element);

} // namespace usd::test
