#include <Brightfold/AtomicMove.h>
#include <Brightfold/Identifier.h>
#include <Brightfold/SystemServices.h>
#include <iostream>
#include <string>

namespace brightfold {

std::filesystem::path SystemServices::temporaryDirectory() {
    return temporaryDirectory_.empty() ? std::filesystem::temp_directory_path()
                                       : temporaryDirectory_;
}

std::string SystemServices::makeIdentifier() {
    return makeUpperCaseUUID();
}

void SystemServices::moveReplacing(const std::filesystem::path& from,
                                   const std::filesystem::path& to) {
    moveFileAtomically(from, to);
}

void SystemServices::removeFileQuietly(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

void SystemServices::printLine(std::string_view line) {
    // One write per line, so lines from concurrent conversions never interleave mid-line.
    std::cout << (std::string(line) + '\n') << std::flush;
}

} // namespace brightfold
