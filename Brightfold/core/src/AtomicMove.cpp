#include <Brightfold/AtomicMove.h>
#include <Brightfold/Identifier.h>
#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace brightfold {
namespace fs = std::filesystem;

namespace {

fs::path stagingPathBeside(const fs::path& destination) {
    const std::string hiddenName =
        "." + destination.filename().string() + "." + makeUpperCaseUUID() + ".saving";
    return destination.parent_path() / hiddenName;
}

// Flushes the staged file to disk before it replaces the old one, so a crash right after the
// rename cannot leave an empty file where the user's file used to be.
void syncToDisk(const fs::path& file) {
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throw fs::filesystem_error("cannot open staged file", file,
                                   std::error_code(errno, std::generic_category()));
    }
    const bool synced = ::fsync(descriptor) == 0;
    const int syncError = errno;
    ::close(descriptor);
    if (!synced) {
        throw fs::filesystem_error("cannot flush staged file", file,
                                   std::error_code(syncError, std::generic_category()));
    }
}

// A hard link costs nothing when both paths share a file system; otherwise copy the bytes.
// Either way `from` stays in place until the whole save has succeeded.
void stage(const fs::path& from, const fs::path& staging) {
    std::error_code linkError;
    fs::create_hard_link(from, staging, linkError);
    if (linkError) {
        fs::copy_file(from, staging, fs::copy_options::none);
    }
}

} // namespace

void moveFileAtomically(const fs::path& from, const fs::path& to) {
    // The staging name is random, so whatever sits there after a failure is our own leftover.
    const fs::path staging = stagingPathBeside(to);
    try {
        stage(from, staging);
        syncToDisk(staging);
        fs::rename(staging, to);
    } catch (...) {
        std::error_code ignored;
        fs::remove(staging, ignored);
        throw;
    }
    std::error_code ignored;
    fs::remove(from, ignored);
}

} // namespace brightfold
