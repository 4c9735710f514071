#include "LayerQueries.h"
#include "SelfCheckRules.h"

#include <USD/FieldNames.h>
#include <algorithm>

namespace usd {
namespace writer::check {
namespace {

bool namesPackagedFile(const std::string& asset, const std::vector<PackagedFile>& packaged) {
    const std::string inside = asset.starts_with("./") ? asset.substr(2) : asset;
    return std::ranges::any_of(packaged, [&](const PackagedFile& f) { return f.name == inside; });
}

} // namespace

void checkLayerMetadata(const Layer& layer, Findings& findings) {
    const Spec* root = layer.pseudoRoot();
    const std::string defaultPrim = root ? tokenOf(root->field(field::kDefaultPrim)) : "";
    if (defaultPrim.empty() || !Path::isValidIdentifier(defaultPrim) ||
        !layer.hasSpec(Path::absoluteRoot().appendChild(defaultPrim)))
        findings.push_back("The layer names no existing default prim.");
    if (!root || tokenOf(root->field(field::kUpAxis)) != "Y")
        findings.push_back("The layer's up axis is not Y.");
    if (!root || root->field(field::kMetersPerUnit) == nullptr)
        findings.push_back("The layer does not say how many metres a unit is.");
}

void checkAssetPaths(const Layer& layer, const std::vector<PackagedFile>* packaged,
                     Findings& findings) {
    for (const auto& [path, spec] : layer.specs()) {
        const Value* value = spec.field(field::kDefault);
        const AssetPath* asset = value ? value->get<AssetPath>() : nullptr;
        if (!asset)
            continue;
        const std::string& name = asset->path;
        if (name.empty() || name.starts_with('/') || name.find("..") != std::string::npos)
            findings.push_back(path.text() + " names a file outside the package: " + name);
        else if (packaged && !namesPackagedFile(name, *packaged))
            findings.push_back(path.text() + " names a file the package lacks: " + name);
    }
}

} // namespace writer::check

std::vector<std::string> checkWrittenLayer(const scene::Scene& scene, const Layer& layer,
                                           const std::vector<PackagedFile>* packaged) {
    writer::Findings findings;
    writer::check::checkLayerMetadata(layer, findings);
    writer::check::checkPrimTypes(layer, findings);
    writer::check::checkHierarchyDepth(layer, findings);
    writer::check::checkShaders(layer, findings);
    writer::check::checkBindings(layer, findings);
    writer::check::checkPrimvarCounts(layer, findings);
    writer::check::checkAssetPaths(layer, packaged, findings);
    writer::check::checkSkeletons(layer, findings);
    writer::check::checkLeftOutContent(scene, layer, findings);
    return findings;
}

} // namespace usd
