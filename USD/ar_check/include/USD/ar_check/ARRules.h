#pragma once

#include <USD/layer/Layer.h>
#include <string>
#include <string_view>
#include <vector>

// The rules AR Quick Look holds a package to, as one definition: the writer checks every
// layer it writes against them, and the package checker checks any package.
namespace usd::ar {

// The rules by name, as problems and the checker's lines name them.
namespace rule {
inline constexpr std::string_view packageLayout = "package-layout"; // stored, aligned, layer first
inline constexpr std::string_view packageFiles = "package-files";   // only layers and PNG/JPEG
inline constexpr std::string_view assetPaths = "asset-paths";       // nothing outside the package
inline constexpr std::string_view stageMetadata =
    "stage-metadata";                                       // upAxis, metersPerUnit, defaultPrim
inline constexpr std::string_view primTypes = "prim-types"; // only the types the viewer knows
inline constexpr std::string_view gprimNesting = "gprim-nesting"; // no geometry inside geometry
inline constexpr std::string_view shaderIds = "shader-ids";       // only the preview shaders
inline constexpr std::string_view shaderInputs = "shader-inputs"; // their inputs, of their types
inline constexpr std::string_view connections = "connections";    // one existing source each
inline constexpr std::string_view materialBindings =
    "material-bindings";                                      // the binding API, a material
inline constexpr std::string_view normalMaps = "normal-maps"; // raw, scale 2 and bias -1
inline constexpr std::string_view readable = "readable";      // the file could be read at all
} // namespace rule

// One broken rule: which, where (a prim or property path, or a file of the package; empty for
// the whole file), and what is wrong, with what to do about it.
struct RuleProblem {
    std::string rule;
    std::string where;
    std::string message;
    friend bool operator==(const RuleProblem&, const RuleProblem&) = default;
};
using RuleProblems = std::vector<RuleProblem>;

// The rules a root layer is held to: stage metadata, prim types, shaders, their inputs and
// connections, material bindings, normal maps and asset paths. With `packagedFiles` (the
// names of the files in the layer's package), every asset path, taken from `layerFolder` (the
// folder of the layer inside the package, "" at its top), must name one.
RuleProblems checkLayerRules(const Layer& layer,
                             const std::vector<std::string>* packagedFiles = nullptr,
                             const std::string& layerFolder = {});

// "where: message", or the message alone for the whole file.
std::string describe(const RuleProblem& problem);

} // namespace usd::ar
