#include "StaticCorpus.h"

#include <algorithm>
#include <cctype>
#include <simdjson.h>

namespace usd::test {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus";

bool isStatic(simdjson::dom::object model) {
    simdjson::dom::array features;
    if (model["features"].get(features) != simdjson::SUCCESS)
        return true;
    return std::ranges::none_of(features, [](simdjson::dom::element feature) {
        const std::string_view text = feature.get_string().value_unsafe();
        return text.starts_with("skinning") || text.starts_with("morph targets") ||
               text.starts_with("animations");
    });
}

// The manifest's models of the kinds given that pass `wanted`, in manifest order.
template <typename Wanted>
std::vector<CorpusModel> corpusModels(std::initializer_list<std::string_view> kinds,
                                      Wanted wanted) {
    const auto manifest = kCorpus / "manifest.json";
    if (!std::filesystem::exists(manifest))
        return {};
    simdjson::dom::parser parser;
    std::vector<CorpusModel> models;
    for (simdjson::dom::object model : parser.load(manifest.string())["models"].get_array()) {
        const std::string_view kind = model["kind"].get_string().value_unsafe();
        if (std::ranges::find(kinds, kind) == kinds.end() || !wanted(model))
            continue;
        const std::filesystem::path file =
            kCorpus / std::string(model["path"].get_string().value_unsafe());
        const std::string_view id = model["id"].get_string().value_unsafe();
        models.push_back({testNameFrom(std::string(id)), file});
    }
    return models;
}

} // namespace

std::string testNameFrom(std::string text) {
    std::ranges::replace_if(
        text, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return text;
}

std::vector<CorpusModel> staticCorpusModels() {
    return corpusModels({"gltf", "glb"}, isStatic);
}

std::vector<CorpusModel> movingCorpusModels() {
    return corpusModels({"gltf", "glb", "vrm"}, [](simdjson::dom::object model) {
        const std::string_view kind = model["kind"].get_string().value_unsafe();
        return kind == "vrm" || !isStatic(model);
    });
}

} // namespace usd::test
