#include "selfcheck/SelfCheckRules.h"

#include <USD/ar_check/ARRules.h>

namespace usd {

std::vector<std::string> checkWrittenLayer(const scene::Scene& scene, const Layer& layer,
                                           const std::vector<PackagedFile>* packaged) {
    std::vector<std::string> packagedNames;
    if (packaged)
        for (const PackagedFile& file : *packaged)
            packagedNames.push_back(file.name);
    writer::Notes notes;
    for (const ar::RuleProblem& problem :
         ar::checkLayerRules(layer, packaged ? &packagedNames : nullptr))
        notes.push_back(ar::describe(problem));
    writer::check::checkShownPrims(layer, notes);
    writer::check::checkHierarchyDepth(layer, notes);
    writer::check::checkPrimvarCounts(layer, notes);
    writer::check::checkSkeletons(layer, notes);
    writer::check::checkLeftOutContent(scene, layer, notes);
    return notes;
}

} // namespace usd
