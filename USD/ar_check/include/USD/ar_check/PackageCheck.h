#pragma once

#include <USD/ar_check/ARBudgets.h>
#include <USD/ar_check/ARRules.h>
#include <cstdint>
#include <filesystem>
#include <span>

// Checks any USDZ package or crate layer, ours or another tool's, against AR Quick Look's
// rules and budgets, from what its files hold as written (prims, types, shader ids,
// connections, metadata), without building a scene.
namespace usd::ar {

struct PackageVerdict {
    RuleProblems broken;     // rules the package breaks
    RuleProblems overBudget; // budgets it exceeds
    PackageMeasures measures;

    bool passes() const { return broken.empty() && overBudget.empty(); }
    std::size_t problemCount() const { return broken.size() + overBudget.size(); }
};

// Checks a .usdz package, or a bare crate layer (which the viewer does not open: that is a
// broken rule of its own). Never throws for what the file holds: a file that cannot be read
// is a broken rule naming why.
PackageVerdict checkPackageFile(const std::filesystem::path& file, const ARBudgets& budgets = {});

// The same for bytes in memory: a zip archive is checked as a package, anything else as a
// crate layer.
PackageVerdict checkPackageBytes(std::span<const std::uint8_t> bytes,
                                 const ARBudgets& budgets = {});

} // namespace usd::ar
