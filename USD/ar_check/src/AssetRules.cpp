#include "RuleParts.h"

#include <USD/layer/FieldNames.h>
#include <algorithm>
#include <filesystem>
#include <optional>

namespace usd::ar {
namespace {

// A file the layer names, and where it names it.
struct NamedFile {
    Path where;
    std::string name;
};

void addAssetsOf(const Value& value, const Path& where, std::vector<NamedFile>& named) {
    if (const auto* asset = value.get<AssetPath>())
        named.push_back({where, asset->path});
    else if (const auto* assets = value.get<Array<AssetPath>>())
        for (const AssetPath& each : *assets)
            named.push_back({where, each.path});
    else if (const auto* samples = value.get<TimeSamples>())
        for (const Value& sample : samples->values)
            addAssetsOf(sample, where, named);
}

template <typename Item, typename Name>
void addListItems(const ListOp<Item>& list, const Path& where, Name nameOf,
                  std::vector<NamedFile>& named) {
    for (const auto* items :
         {&list.explicitItems, &list.addedItems, &list.prependedItems, &list.appendedItems})
        for (const Item& item : *items)
            if (!nameOf(item).empty())
                named.push_back({where, nameOf(item)});
}

// References and payloads to other layers, and sublayers.
void addCompositionArcs(const Spec& spec, const Path& where, std::vector<NamedFile>& named) {
    if (const Value* refs = spec.field(field::kReferences))
        if (const auto* list = refs->get<ReferenceListOp>())
            addListItems(
                *list, where, [](const Reference& r) { return r.assetPath; }, named);
    if (const Value* payload = spec.field(field::kPayload)) {
        if (const auto* list = payload->get<PayloadListOp>())
            addListItems(
                *list, where, [](const Payload& p) { return p.assetPath; }, named);
        else if (const auto* one = payload->get<Payload>(); one && !one->assetPath.empty())
            named.push_back({where, one->assetPath});
    }
    if (const Value* sublayers = spec.field("subLayers"))
        if (const auto* names = sublayers->get<StringVector>())
            for (const std::string& name : names->items)
                named.push_back({where, name});
}

std::vector<NamedFile> filesNamedIn(const Layer& layer) {
    std::vector<NamedFile> named;
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type == SpecType::Attribute) {
            for (const std::string_view name : {field::kDefault, field::kTimeSamples})
                if (const Value* value = spec.field(name))
                    addAssetsOf(*value, path, named);
        } else {
            addCompositionArcs(spec, path, named);
        }
    }
    return named;
}

// The file inside the package that a layer in `layerFolder` names, or nothing when the name
// leads out of the package (an absolute path, a URL or drive, or up past its top).
std::optional<std::string> fileInPackage(const std::string& name, const std::string& layerFolder) {
    if (name.starts_with('/') || name.find(':') != std::string::npos ||
        name.find('\\') != std::string::npos)
        return std::nullopt;
    const std::string inside =
        (std::filesystem::path(layerFolder) / name).lexically_normal().generic_string();
    if (inside.empty() || inside.starts_with(".."))
        return std::nullopt;
    return inside;
}

} // namespace

void checkAssetPaths(const Layer& layer, const std::vector<std::string>* packagedFiles,
                     const std::string& layerFolder, RuleProblems& problems) {
    for (const auto& [where, name] : filesNamedIn(layer)) {
        if (name.empty())
            continue;
        const std::optional<std::string> inside = fileInPackage(name, layerFolder);
        if (!inside)
            addProblem(problems, rule::assetPaths, where,
                       "names a file outside the package: " + name +
                           "; put the file in the package and name it by a relative path.");
        else if (packagedFiles &&
                 std::ranges::find(*packagedFiles, *inside) == packagedFiles->end())
            addProblem(problems, rule::assetPaths, where,
                       "names a file the package lacks: " + name +
                           "; add the file or remove what names it.");
    }
}

} // namespace usd::ar
