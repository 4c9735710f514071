// The file system failing under a conversion with the real services: a full disk where the
// package is saved or written, the destination folder gone by the time of saving, and a
// temporary folder that cannot be written. Each ends in the workflow's error for the user, with
// the file already at the destination left as it was.
//
// Where the process may mount (root with the right to), the faults are real: small tmpfs file
// systems mounted by the test. Everywhere, the same faults are also made without mounting: a
// file-size limit on the process makes writes past it fail as on a full disk, and a folder
// without write permission (which root, too, is made to respect) stands for a read-only one.

#include "ManualMainQueue.h"
#include "TestFolder.h"

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SceneServices.h>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>
#include <linux/capability.h>
#include <memory>
#include <optional>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// One triangle with its positions embedded.
constexpr const char* kTriangle = R"({"asset": {"version": "2.0"},
  "buffers": [{"byteLength": 36,
    "uri": "data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAA"}],
  "bufferViews": [{"buffer": 0, "byteLength": 36}],
  "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
                 "min": [0, 0, 0], "max": [1, 1, 0]}],
  "meshes": [{"primitives": [{"attributes": {"POSITION": 0}}]}],
  "nodes": [{"mesh": 0}], "scenes": [{"nodes": [0]}]})";

constexpr const char* kOldPackage = "the package saved last time";

std::string contentsOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file in `folder` is one of `expected` (by name): a failed write left nothing behind.
void expectOnly(const fs::path& folder, std::initializer_list<std::string> expected) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const bool isExpected = std::find(expected.begin(), expected.end(), name) != expected.end();
        EXPECT_TRUE(isExpected) << "left behind: " << entry.path();
    }
}

// A tmpfs of `kibibytes` mounted on a fresh folder (read-only when asked), unmounted at the end.
class SmallFileSystem {
  public:
    SmallFileSystem(const fs::path& folder, int kibibytes) : folder_(folder) {
        fs::create_directories(folder_);
        const std::string size = "size=" + std::to_string(kibibytes) + "k";
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, size.c_str()) == 0;
    }
    ~SmallFileSystem() {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const fs::path& folder() const { return folder_; }

    // Fills every free byte, so the next write fails for want of space.
    void fill() const {
        std::ofstream filler(folder_ / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
            filler.flush();
    }

    void makeReadOnly() const {
        ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr);
    }

  private:
    fs::path folder_;
    bool mounted_ = false;
};

// Writes by this process past `bytes` into any file fail with EFBIG, as they would on a full
// disk, until the limit goes out of scope. The signal the system sends with the failure would
// end the process, so it is ignored meanwhile.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : savedSignal_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limited{bytes, saved_.rlim_max};
        applied_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool applied() const { return applied_; }

  private:
    rlimit saved_{};
    void (*savedSignal_)(int);
    bool applied_ = false;
};

// Root writes into folders without write permission by its capability to override file
// permissions. The calling thread, and the threads it starts (those of a conversion), give
// that capability up until this goes out of scope; for other users it changes nothing.
class FilePermissionsEnforced {
  public:
    FilePermissionsEnforced() {
        ::syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective &= ~CAP_TO_MASK(CAP_DAC_OVERRIDE);
        ::syscall(SYS_capset, &header_, lowered);
    }
    ~FilePermissionsEnforced() { ::syscall(SYS_capset, &header_, saved_); }
    FilePermissionsEnforced(const FilePermissionsEnforced&) = delete;
    FilePermissionsEnforced& operator=(const FilePermissionsEnforced&) = delete;

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

// A fresh folder on another file system than `other`, removed at the end; none when every usual
// place shares that file system. Saving there copies the package instead of linking it.
class FolderElsewhere {
  public:
    explicit FolderElsewhere(const fs::path& other) {
        struct stat otherStatus {};
        if (::stat(other.c_str(), &otherStatus) != 0)
            return;
        for (const char* candidate : {"/dev/shm", "/var/tmp", BRIGHTFOLD_BINARY_DIR, "/run"}) {
            struct stat status {};
            if (::stat(candidate, &status) != 0 || status.st_dev == otherStatus.st_dev)
                continue;
            std::string pattern = std::string(candidate) + "/brightfold-disk-fault-XXXXXX";
            if (::mkdtemp(pattern.data()) != nullptr) {
                path_ = pattern;
                return;
            }
        }
    }
    ~FolderElsewhere() {
        std::error_code ignored;
        if (path_)
            fs::remove_all(*path_, ignored);
    }
    FolderElsewhere(const FolderElsewhere&) = delete;
    FolderElsewhere& operator=(const FolderElsewhere&) = delete;

    const std::optional<fs::path>& path() const { return path_; }

  private:
    std::optional<fs::path> path_;
};

// Smaller than any package, larger than the few bytes a test writes as an old file.
constexpr rlim_t kFileSizeLimit = 256;

// The workflow of the application over the real services, as the command-line converter
// drives it.
class DiskFaults : public testing::Test {
  protected:
    DiskFaults() { std::ofstream(source_) << kTriangle; }
    ~DiskFaults() override {
        if (!savedTemporaryFolder_.empty())
            ::setenv("TMPDIR", savedTemporaryFolder_.c_str(), 1);
    }

    // A tmpfs under the test's folder, or a skip when this machine does not allow mounting.
    std::unique_ptr<SmallFileSystem> mountSmall(const std::string& name, int kibibytes) {
        auto system = std::make_unique<SmallFileSystem>(scratch_.path() / name, kibibytes);
        if (!system->mounted())
            return nullptr;
        return system;
    }

    // Conversions write their temporary package under TMPDIR.
    void useTemporaryFolder(const fs::path& folder) {
        if (savedTemporaryFolder_.empty())
            savedTemporaryFolder_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
        ::setenv("TMPDIR", folder.c_str(), 1);
    }

    const brightfold::AppState& convert() {
        workflow_.startConversion(source_);
        workflow_.waitForBackgroundWork();
        queue_.drain();
        return workflow_.state();
    }

    // Converts to the preview and saves to `destination`; the temporary package it leaves.
    fs::path convertAndSave(const fs::path& destination, const std::function<void()>& meanwhile) {
        const auto* preview = std::get_if<brightfold::Preview>(&convert());
        if (preview == nullptr) {
            ADD_FAILURE() << "the conversion did not reach the preview";
            return {};
        }
        const fs::path temporary = preview->tempURL;
        meanwhile();
        workflow_.saveConvertedFileAs(temporary, destination);
        queue_.drain();
        return temporary;
    }

    std::string errorShown() const {
        const auto* error = std::get_if<brightfold::Error>(&workflow_.state());
        return error ? error->message : "no error";
    }

    TestFolder scratch_;
    fs::path source_ = scratch_.path() / "model.gltf";
    std::string savedTemporaryFolder_;
    std::shared_ptr<brightfold::ConversionServices> services_ = brightfold::makeSceneServices();
    ManualMainQueue queue_;
    brightfold::ConversionWorkflow workflow_{services_, queue_.poster()};
};

#define SKIP_WITHOUT(system)                                                                       \
    if (!(system))                                                                                 \
    GTEST_SKIP() << "this machine does not let the test mount a small tmpfs (needs root)"

TEST_F(DiskFaults, SavingToAFullFileSystemKeepsTheOldFileAndThePackage) {
    const auto destination = mountSmall("full", 256);
    SKIP_WITHOUT(destination);
    const fs::path saved = destination->folder() / "model.usdz";
    std::ofstream(saved) << kOldPackage;
    destination->fill();

    const fs::path temporary = convertAndSave(saved, [] {});
    EXPECT_EQ(errorShown(), "Could not save file to destination.");
    EXPECT_EQ(contentsOf(saved), kOldPackage);
    EXPECT_TRUE(fs::exists(temporary)) << "the package is kept for another try";
    expectOnly(destination->folder(), {"model.usdz", "filler"});
}

TEST_F(DiskFaults, SavingPastTheFileSizeLimitKeepsTheOldFileAndThePackage) {
    const FolderElsewhere destination(fs::temp_directory_path());
    if (!destination.path())
        GTEST_SKIP() << "every folder tried shares the temporary folder's file system, where "
                        "saving links the package instead of writing it";
    const fs::path saved = *destination.path() / "model.usdz";
    std::ofstream(saved) << kOldPackage;

    std::optional<FileSizeLimit> full;
    const fs::path temporary = convertAndSave(saved, [&] { full.emplace(kFileSizeLimit); });
    const bool limited = full && full->applied();
    full.reset();
    ASSERT_TRUE(limited) << "the file-size limit could not be set";
    ASSERT_GT(fs::file_size(temporary), kFileSizeLimit);
    EXPECT_EQ(errorShown(), "Could not save file to destination.");
    EXPECT_EQ(contentsOf(saved), kOldPackage);
    EXPECT_TRUE(fs::exists(temporary)) << "the package is kept for another try";
    expectOnly(*destination.path(), {"model.usdz"});
}

TEST_F(DiskFaults, ADestinationFolderRemovedDuringTheConversionIsReported) {
    const fs::path folder = scratch_.path() / "out";
    fs::create_directories(folder);
    const fs::path temporary =
        convertAndSave(folder / "model.usdz", [&] { fs::remove_all(folder); });
    EXPECT_EQ(errorShown(), "Could not save file to destination.");
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(temporary));
}

TEST_F(DiskFaults, AFullOrReadOnlyTemporaryFolderFailsTheConversionLeavingNothing) {
    const fs::path besideSource = scratch_.path() / "model.usdz";
    std::ofstream(besideSource) << kOldPackage;
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        const auto temporary = mountSmall(readOnly ? "read-only" : "full-tmp", 64);
        SKIP_WITHOUT(temporary);
        if (readOnly)
            temporary->makeReadOnly();
        else
            temporary->fill();
        useTemporaryFolder(temporary->folder());
        convert();
        EXPECT_EQ(errorShown(), "Export failed during temp compilation.");
        EXPECT_EQ(contentsOf(besideSource), kOldPackage);
        expectOnly(temporary->folder(), {"filler"});
        workflow_.resetToIdle();
    }
}

TEST_F(DiskFaults, AFullOrReadOnlyTemporaryFolderFailsTheConversionWithoutMounting) {
    const fs::path besideSource = scratch_.path() / "model.usdz";
    std::ofstream(besideSource) << kOldPackage;
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        const fs::path temporary = scratch_.path() / (readOnly ? "read-only" : "full-tmp");
        fs::create_directories(temporary);
        useTemporaryFolder(temporary);
        if (readOnly) {
            fs::permissions(temporary,
                            fs::perms::owner_write | fs::perms::group_write |
                                fs::perms::others_write,
                            fs::perm_options::remove);
            const FilePermissionsEnforced enforced;
            convert();
        } else {
            const FileSizeLimit full(kFileSizeLimit);
            ASSERT_TRUE(full.applied()) << "the file-size limit could not be set";
            convert();
        }
        fs::permissions(temporary, fs::perms::owner_all, fs::perm_options::add);
        EXPECT_EQ(errorShown(), "Export failed during temp compilation.");
        EXPECT_EQ(contentsOf(besideSource), kOldPackage);
        expectOnly(temporary, {});
        workflow_.resetToIdle();
    }
}

} // namespace
