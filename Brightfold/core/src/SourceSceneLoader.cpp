#include <Brightfold/CurrentException.h>
#include <Brightfold/SourceSceneLoader.h>
#include <algorithm>
#include <cctype>
#include <string>

namespace brightfold {

std::string lowerCasedExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    if (!extension.empty()) {
        extension.erase(0, 1);
    }
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

namespace {

SceneHandle importOrFail(const std::filesystem::path& file, ConversionServices& services,
                         std::stop_token stop) {
    SceneHandle scene = services.importModel(file, stop);
    if (!scene) {
        throw LoadFailure("The model importer returned no scene for \"" + file.filename().string() +
                          "\".");
    }
    return scene;
}

// The importer is the last resort for a glTF file; an empty result from it means nothing
// could be read, and writing it out would pass off an empty package as a conversion. The
// reader's refusal is then the likelier explanation, so the user hears it.
SceneHandle importFallback(const std::filesystem::path& file, const std::string& readerReason,
                           ConversionServices& services, std::stop_token stop) {
    SceneHandle scene = importOrFail(file, services, stop);
    if (!services.hasGeometry(*scene)) {
        throw LoadFailure("No geometry could be read from \"" + file.filename().string() +
                          "\": neither the glTF reader nor the model importer understood it. "
                          "The reader said: " +
                          readerReason);
    }
    return scene;
}

// The importer reads fewer glTF features than our reader, so the user hears why it was used.
std::string fallbackNote(const std::string& reason) {
    return "The glTF reader refused this file, so the general model importer read it instead "
           "and glTF features it does not know are missing. The reader said: " +
           reason;
}

LoadedScene loadGLTF(const std::filesystem::path& file, ConversionServices& services,
                     std::stop_token stop) {
    std::string reason = "it returned no scene.";
    try {
        if (SceneHandle scene = services.loadWithGLTFReader(file, stop)) {
            return {std::move(scene), {}};
        }
    } catch (...) {
        // Any refusal by the reader sends the file to the importer.
        reason = describeCurrentException();
    }
    if (stop.stop_requested()) {
        throw LoadFailure("The conversion was cancelled.");
    }
    services.printLine(fallbackNotice);
    return {importFallback(file, reason, services, stop), {fallbackNote(reason)}};
}

// What the loader itself reported is kept beside any note of how the file was read.
LoadedScene withLoadNotes(LoadedScene loaded, ConversionServices& services) {
    for (std::string& note : services.loadNotes(*loaded.scene)) {
        loaded.notes.push_back(std::move(note));
    }
    return loaded;
}

// A package is read as it is, so that writing it again makes it pass the rules it broke; the
// notes say which those were.
LoadedScene loadPackageToRepair(const std::filesystem::path& file, ConversionServices& services) {
    LoadedScene loaded;
    loaded.scene = services.readUSDZ(file, loaded.notes);
    if (!loaded.scene) {
        throw LoadFailure("The USDZ reader returned no scene for \"" + file.filename().string() +
                          "\".");
    }
    for (const PackageProblem& problem : services.checkPackage(file, {}).broken) {
        loaded.notes.push_back("The source package broke AR Quick Look's rule " + problem.rule +
                               ", which the new package keeps: " + describeProblem(problem));
    }
    return loaded;
}

LoadedScene loadByExtension(const std::filesystem::path& file, ConversionServices& services,
                            std::stop_token stop) {
    const std::string extension = lowerCasedExtension(file);
    // A .usd file may hold a crate or a text layer; the importer reads crates and refuses text.
    if (extension == "usdc" || extension == "usd") {
        return {importOrFail(file, services, stop), {}};
    }
    // A .vrm avatar is a GLB container.
    if (extension == "gltf" || extension == "glb" || extension == "vrm") {
        return loadGLTF(file, services, stop);
    }
    if (extension == "usdz") {
        return loadPackageToRepair(file, services);
    }
    throw LoadFailure("\"" + file.filename().string() +
                      "\" is not a .usdz, .usdc, .usd, .gltf, .glb or .vrm file (InvalidFormat "
                      "error 0).");
}

} // namespace

LoadedScene loadSourceScene(const std::filesystem::path& file, ConversionServices& services,
                            std::stop_token stop) {
    return withLoadNotes(loadByExtension(file, services, stop), services);
}

} // namespace brightfold
