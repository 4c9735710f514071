#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brightfold {

// One thing a package check found: the rule or budget (by name), where in the package (a prim
// path or a file; empty for the whole package), and what is wrong with what to do about it.
struct PackageProblem {
    std::string rule;
    std::string where;
    std::string message;
    friend bool operator==(const PackageProblem&, const PackageProblem&) = default;
};

// How a package stands against AR Quick Look's rules and budgets.
struct PackageVerdict {
    std::vector<PackageProblem> broken;     // rules the viewer holds every package to
    std::vector<PackageProblem> overBudget; // what a phone cannot hold comfortably

    bool passes() const { return broken.empty() && overBudget.empty(); }
    std::size_t problemCount() const { return broken.size() + overBudget.size(); }
    friend bool operator==(const PackageVerdict&, const PackageVerdict&) = default;
};

// "where: message", or the message alone for the whole package.
std::string describeProblem(const PackageProblem& problem);

// "Ready for AR Quick Look", or how many problems keep the package from it.
std::string verdictSummary(const PackageVerdict& verdict);

// The notes a verdict adds to what the user was already told: every budget exceeded, and any
// broken rule not said already (the writer's self-check says most).
std::vector<std::string> verdictNotes(const PackageVerdict& verdict,
                                      const std::vector<std::string>& alreadySaid);

} // namespace brightfold
