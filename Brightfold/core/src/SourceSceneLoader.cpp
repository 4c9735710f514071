#include <Brightfold/SourceSceneLoader.h>
#include <algorithm>
#include <cctype>
#include <string>

namespace brightfold {
namespace {

std::string lowerCasedExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    if (!extension.empty()) {
        extension.erase(0, 1);
    }
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

SceneHandle importOrFail(const std::filesystem::path& file, ConversionServices& services) {
    SceneHandle scene = services.importModel(file);
    if (!scene) {
        throw LoadFailure("The model importer returned no scene for \"" + file.filename().string() +
                          "\".");
    }
    return scene;
}

// The importer is the last resort for a glTF file; an empty result from it means nothing
// could be read, and writing it out would pass off an empty package as a conversion.
SceneHandle importFallback(const std::filesystem::path& file, ConversionServices& services) {
    SceneHandle scene = importOrFail(file, services);
    if (!services.hasGeometry(*scene)) {
        throw LoadFailure("No geometry could be read from \"" + file.filename().string() +
                          "\": neither the glTF reader nor the model importer understood it.");
    }
    return scene;
}

SceneHandle loadGLTF(const std::filesystem::path& file, ConversionServices& services) {
    try {
        if (SceneHandle scene = services.loadWithGLTFReader(file)) {
            return scene;
        }
    } catch (...) {
        // Any refusal by the reader sends the file to the importer; the reason is dropped.
    }
    services.printLine(fallbackNotice);
    return importFallback(file, services);
}

} // namespace

SceneHandle loadSourceScene(const std::filesystem::path& file, ConversionServices& services) {
    const std::string extension = lowerCasedExtension(file);
    // A .usd file may hold a crate or a text layer; the importer reads crates and refuses text.
    if (extension == "usdc" || extension == "usd") {
        return importOrFail(file, services);
    }
    // A .vrm avatar is a GLB container.
    if (extension == "gltf" || extension == "glb" || extension == "vrm") {
        return loadGLTF(file, services);
    }
    throw LoadFailure("\"" + file.filename().string() +
                      "\" is not a .usdc, .usd, .gltf, .glb or .vrm file (InvalidFormat error 0).");
}

} // namespace brightfold
