// Linked into every test program: before any test runs, the program gets a temporary folder of
// its own, named in TMPDIR and TEST_TMPDIR, and removes it with everything in it when it ends.
// CTest runs the cases of one program as separate processes at once, so a fixed file name
// under the shared temporary folder would otherwise be written by two cases together.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

class PrivateTemporaryFolder {
  public:
    PrivateTemporaryFolder() : owner_(::getpid()) {
        const char* shared = std::getenv("TMPDIR");
        std::string pattern =
            std::string(shared && *shared ? shared : "/tmp") + "/brightfold-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            return; // the shared folder stays in use, as before
        path_ = pattern;
        ::setenv("TMPDIR", path_.c_str(), 1);
        ::setenv("TEST_TMPDIR", path_.c_str(), 1);
    }
    ~PrivateTemporaryFolder() {
        // A forked child that exits normally must leave its parent's folder alone.
        if (path_.empty() || ::getpid() != owner_)
            return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateTemporaryFolder(const PrivateTemporaryFolder&) = delete;
    PrivateTemporaryFolder& operator=(const PrivateTemporaryFolder&) = delete;

  private:
    pid_t owner_;
    std::string path_;
};

const PrivateTemporaryFolder folder;

} // namespace
