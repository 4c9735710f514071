#include "ImportNotes.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <USD/scene_reader/SceneReader.h>
#include <algorithm>
#include <cctype>
#include <string>

namespace modelimporter {
namespace {

// A .usd file holds either kind of layer; the USD reader refuses a text one with its reason.
bool hasUsdExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".usdc" || extension == ".usd";
}

std::shared_ptr<scene::Scene> importUsdc(const std::filesystem::path& file) {
    try {
        // What the reader leaves out or changes reaches the user like any importer's notes.
        usd::SceneReadNotes notes;
        auto scene = usd::readUSDLayerFile(file, notes);
        scene::addNotes(*scene, notes);
        return scene;
    } catch (const usd::SceneReadError& error) {
        throw ImportError(error.what());
    }
}

} // namespace

std::shared_ptr<scene::Scene> importModel(const std::filesystem::path& file, std::stop_token stop) {
    return hasUsdExtension(file) ? importUsdc(file) : importWithAssimp(file, std::move(stop));
}

bool hasGeometry(const scene::Scene& scene) {
    bool found = false;
    scene.rootNode()->enumerateHierarchy([&found](const scene::Node& node) {
        const auto& geometry = node.geometry();
        if (geometry == nullptr) {
            return;
        }
        const auto vertices = geometry->firstSource(scene::GeometrySemantic::vertex);
        found = found || (vertices != nullptr && vertices->vectorCount() > 0);
    });
    return found;
}

} // namespace modelimporter
