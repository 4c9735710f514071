#include "CorpusFiles.h"

#include <simdjson.h>

namespace brightfold::testing {

std::vector<std::string> corpusDocumentPaths() {
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

} // namespace brightfold::testing
