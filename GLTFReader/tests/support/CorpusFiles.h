#pragma once

// The shared corpus of real files beside the repository, and the glTF documents its manifest
// lists.

#include <filesystem>
#include <map>
#include <simdjson.h>
#include <string>
#include <vector>

namespace gltf::testing {

inline const std::filesystem::path corpus = std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus";

inline bool corpusMissing() {
    return !std::filesystem::exists(corpus / "manifest.json");
}

// The glTF, GLB and VRM documents the manifest lists, as paths below the corpus folder.
inline std::vector<std::string> corpusDocumentPaths() {
    simdjson::dom::parser parser;
    const simdjson::padded_string manifest =
        simdjson::padded_string::load((corpus / "manifest.json").string());
    std::vector<std::string> paths;
    for (const simdjson::dom::element model : parser.parse(manifest)["models"].get_array()) {
        const std::string_view kind = model["kind"].get_string();
        if (kind == "gltf" || kind == "glb" || kind == "vrm") {
            paths.emplace_back(model["path"].get_string().value());
        }
    }
    return paths;
}

// The failure of a record that leaves out a member its decoder requires.
inline std::string missingKeyFailure(const std::string& path, const std::string& key) {
    return "keyNotFound at " + path + "." + key + ": no value for the required key \"" + key + "\"";
}

// Documents the reader refuses, with the failure each one must report: each needs an extension
// the reader cannot apply. The application hands them to its importer instead.
inline const std::map<std::string, std::string>& refusedCorpusDocuments() {
    static const std::map<std::string, std::string> refusals = {};
    return refusals;
}

} // namespace gltf::testing
