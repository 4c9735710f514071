#include <Brightfold/PackageVerdict.h>
#include <algorithm>

namespace brightfold {

std::string describeProblem(const PackageProblem& problem) {
    return problem.where.empty() ? problem.message : problem.where + ": " + problem.message;
}

std::string verdictSummary(const PackageVerdict& verdict) {
    const std::size_t count = verdict.problemCount();
    if (count == 0) {
        return "Ready for AR Quick Look";
    }
    return std::to_string(count) + (count == 1 ? " problem" : " problems") + " for AR Quick Look";
}

std::vector<std::string> verdictNotes(const PackageVerdict& verdict,
                                      const std::vector<std::string>& alreadySaid) {
    std::vector<std::string> notes;
    for (const PackageProblem& problem : verdict.broken) {
        const std::string line = describeProblem(problem);
        if (std::ranges::find(alreadySaid, line) == alreadySaid.end()) {
            notes.push_back("AR Quick Look's rules: " + line);
        }
    }
    for (const PackageProblem& problem : verdict.overBudget) {
        notes.push_back("Over AR Quick Look's budget: " + describeProblem(problem));
    }
    return notes;
}

} // namespace brightfold
