#include "selfcheck/SelfCheckRules.h"

#include <USD/ar_check/ARRules.h>

namespace usd {

std::vector<std::string> checkWrittenLayer(const scene::Scene& scene, const Layer& layer,
                                           const std::vector<PackagedFile>* packaged) {
    std::vector<std::string> packagedNames;
    if (packaged)
        for (const PackagedFile& file : *packaged)
            packagedNames.push_back(file.name);
    writer::Findings findings;
    for (const ar::RuleProblem& problem :
         ar::checkLayerRules(layer, packaged ? &packagedNames : nullptr))
        findings.push_back(ar::describe(problem));
    writer::check::checkShownPrims(layer, findings);
    writer::check::checkHierarchyDepth(layer, findings);
    writer::check::checkPrimvarCounts(layer, findings);
    writer::check::checkSkeletons(layer, findings);
    writer::check::checkLeftOutContent(scene, layer, findings);
    return findings;
}

} // namespace usd
