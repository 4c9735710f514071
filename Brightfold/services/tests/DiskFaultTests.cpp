// The file system failing under a conversion with the real services: a full disk where the
// package is saved or written, the destination folder gone by the time of saving, and a
// temporary folder that cannot be written. Each ends in the workflow's error for the user, with
// the file already at the destination left as it was.
//
// The faults are real: small tmpfs file systems mounted by the test. Where the process may not
// mount (not root, or in a container without the right), the tests skip and say so.

#include "ManualMainQueue.h"
#include "TestFolder.h"

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SceneServices.h>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>
#include <sys/mount.h>

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
    for (const auto& entry : fs::directory_iterator(destination->folder()))
        EXPECT_TRUE(entry.path() == saved || entry.path().filename() == "filler")
            << "left behind: " << entry.path();
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
        for (const auto& entry : fs::directory_iterator(temporary->folder()))
            EXPECT_EQ(entry.path().filename(), "filler") << "left behind: " << entry.path();
        workflow_.resetToIdle();
    }
}

} // namespace
