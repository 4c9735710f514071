#include "CheckCommand.h"

namespace brightfold::cli {
namespace {

void printProblems(const std::filesystem::path& file, const std::vector<PackageProblem>& problems,
                   std::ostream& out) {
    for (const PackageProblem& problem : problems) {
        out << file.string() << ": [" << problem.rule << "] " << describeProblem(problem) << '\n';
    }
}

bool checkOne(const std::filesystem::path& file, ConversionServices& services,
              const ConversionOptions& options, std::ostream& out) {
    if (std::filesystem::is_directory(file)) {
        out << file.string() << ": not checked: a folder (name the packages in it)\n";
        return false;
    }
    const PackageVerdict verdict = services.checkPackage(file, options);
    printProblems(file, verdict.broken, out);
    printProblems(file, verdict.overBudget, out);
    out << file.string() << ": " << verdictSummary(verdict) << '\n';
    return verdict.passes();
}

} // namespace

int runCheckCommand(const std::vector<std::filesystem::path>& files, ConversionServices& services,
                    const ConversionOptions& options, std::ostream& out) {
    bool allPass = true;
    for (const std::filesystem::path& file : files) {
        allPass = checkOne(file, services, options, out) && allPass;
    }
    return allPass ? 0 : 1;
}

} // namespace brightfold::cli
