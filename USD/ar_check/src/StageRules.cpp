#include "RuleParts.h"

#include <USD/ar_check/LayerQueries.h>
#include <USD/layer/FieldNames.h>

namespace usd::ar {

void checkStageMetadata(const Layer& layer, RuleProblems& problems) {
    const Spec* root = layer.pseudoRoot();
    const Path whole;
    const std::string defaultPrim = root ? tokenOf(root->field(field::kDefaultPrim)) : "";
    if (defaultPrim.empty())
        addProblem(problems, rule::stageMetadata, whole,
                   "The layer names no default prim: author defaultPrim as the root prim that "
                   "holds the model.");
    else if (!Path::isValidIdentifier(defaultPrim) ||
             !layer.hasSpec(Path::absoluteRoot().appendChild(defaultPrim)))
        addProblem(problems, rule::stageMetadata, whole,
                   "The default prim \"" + defaultPrim +
                       "\" is no root prim of the layer: name an existing one.");
    if (!root || tokenOf(root->field(field::kUpAxis)) != "Y")
        addProblem(problems, rule::stageMetadata, whole,
                   "The layer's up axis is not Y: author upAxis = \"Y\" (and turn the model "
                   "to match).");
    if (!root || root->field(field::kMetersPerUnit) == nullptr)
        addProblem(problems, rule::stageMetadata, whole,
                   "The layer does not say how many metres a unit is: author metersPerUnit.");
}

} // namespace usd::ar
