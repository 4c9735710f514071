#pragma once

#include <USD/ar_check/ARRules.h>

// The parts of the layer rules, one file each. Each adds a problem per break it finds.
namespace usd::ar {

// defaultPrim names a root prim; upAxis is Y; metersPerUnit is authored.
void checkStageMetadata(const Layer& layer, RuleProblems& problems);
// Prim types the viewer accepts; no gprim inside a gprim.
void checkPrimTypes(const Layer& layer, RuleProblems& problems);
// Shader ids, input types, shaders inside materials, one existing source per connection,
// normal-map texture settings.
void checkShaders(const Layer& layer, RuleProblems& problems);
// Binding targets exist and are materials; bound prims apply the binding API.
void checkMaterialBindings(const Layer& layer, RuleProblems& problems);
// Asset paths (attribute values, references, payloads, sublayers) are relative, stay inside
// the package and, with `packagedFiles`, name one of its files, taken from `layerFolder`.
void checkAssetPaths(const Layer& layer, const std::vector<std::string>* packagedFiles,
                     const std::string& layerFolder, RuleProblems& problems);

// Adds a problem of `rule` at `where`.
void addProblem(RuleProblems& problems, std::string_view rule, const Path& where,
                std::string message);

} // namespace usd::ar
