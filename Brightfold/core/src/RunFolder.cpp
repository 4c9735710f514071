#include <Brightfold/RunFolder.h>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace brightfold {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view runPrefix = "run-";

// The folder shared by this user's runs. Others may write to the parent (it is usually
// /tmp), so a folder already there must be this user's own and not a link elsewhere.
fs::path userFolder(const fs::path& parent) {
    const fs::path folder = parent / ("brightfold-" + std::to_string(::getuid()));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        throw fs::filesystem_error("cannot create the temporary folder", folder,
                                   std::error_code(errno, std::generic_category()));
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::getuid()) {
        throw fs::filesystem_error("the temporary folder is not this user's own folder", folder,
                                   std::make_error_code(std::errc::permission_denied));
    }
    return folder;
}

bool processIsGone(pid_t process) {
    return ::kill(process, 0) != 0 && errno == ESRCH;
}

// A run folder whose process no longer exists.
bool isLeftover(const fs::path& entry) {
    const std::string name = entry.filename().string();
    if (!name.starts_with(runPrefix)) {
        return false;
    }
    pid_t process = 0;
    const char* first = name.data() + runPrefix.size();
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, process);
    return error == std::errc() && end == last && process > 0 && processIsGone(process);
}

void removeLeftovers(const fs::path& folder) {
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored)) {
        if (isLeftover(entry.path())) {
            fs::remove_all(entry.path(), ignored);
        }
    }
}

} // namespace

RunFolder::RunFolder(const fs::path& parent) {
    const fs::path folder = userFolder(parent);
    removeLeftovers(folder);
    path_ = folder / (std::string(runPrefix) + std::to_string(::getpid()));
    fs::create_directories(path_);
}

RunFolder::~RunFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

} // namespace brightfold
