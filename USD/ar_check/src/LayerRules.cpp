#include "RuleParts.h"

namespace usd::ar {

void addProblem(RuleProblems& problems, std::string_view rule, const Path& where,
                std::string message) {
    problems.push_back(
        {std::string(rule), where.isEmpty() ? "" : where.text(), std::move(message)});
}

RuleProblems checkLayerRules(const Layer& layer, const std::vector<std::string>* packagedFiles,
                             const std::string& layerFolder) {
    RuleProblems problems;
    checkStageMetadata(layer, problems);
    checkPrimTypes(layer, problems);
    checkShaders(layer, problems);
    checkMaterialBindings(layer, problems);
    checkAssetPaths(layer, packagedFiles, layerFolder, problems);
    return problems;
}

std::string describe(const RuleProblem& problem) {
    return problem.where.empty() ? problem.message : problem.where + ": " + problem.message;
}

} // namespace usd::ar
