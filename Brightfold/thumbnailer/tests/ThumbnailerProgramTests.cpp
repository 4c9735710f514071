// Runs the installed-to-be program as a file manager would: no display, a home folder of its
// own, one output name. The pictures are kept under the build folder for looking at.
#include "CorpusFiles.h"
#include "TestFolder.h"

#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path& corpus = brightfold::testing::corpus;
const std::filesystem::path kept = BRIGHTFOLD_BINARY_DIR "/thumbnails";

struct Outcome {
    int status = -1;
    std::string errors;
};

/// The program with nothing of the desktop around it: no display, and home, cache, settings
/// and temporary folders inside `home`, so whatever it writes there is seen. The session's
/// runtime folder is a private one of its own, as a desktop session has.
Outcome runThumbnailer(const QStringList& arguments, const std::filesystem::path& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const QString folder = QString::fromStdString(home.string());
    for (const char* name :
         {"HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"}) {
        environment.insert(QString::fromLatin1(name), folder);
    }
    static const TestFolder runtime;
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                       QString::fromStdString(runtime.path().string()));
    // Under the address sanitizer the graphics driver the program loads is gone from memory by
    // the time leaks are counted, so what it keeps cannot be told from ours: the leak count is
    // left to the in-process tests, every other memory error still stops the program.
    if (environment.contains(QStringLiteral("ASAN_OPTIONS"))) {
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           environment.value(QStringLiteral("ASAN_OPTIONS")) +
                               QStringLiteral(":detect_leaks=0"));
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(BRIGHTFOLD_THUMBNAILER), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError().toStdString()};
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        files.push_back(entry.path());
    }
    return files;
}

bool cornersAreClear(const QImage& picture) {
    const int last = picture.width() - 1;
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)}) {
        if (picture.pixelColor(corner).alpha() != 0) {
            return false;
        }
    }
    return true;
}

int opaquePixels(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            count += picture.pixelColor(x, y).alpha() == 255 ? 1 : 0;
        }
    }
    return count;
}

TEST(Thumbnailer, DrawsEveryKindOfModelWithoutADisplayAndWritesOnlyThePicture) {
    if (!std::filesystem::exists(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    std::filesystem::create_directories(kept);
    for (const char* model :
         {"glb/BoxTextured.glb", "gltf/AnimatedMorphCube/AnimatedMorphCube.gltf",
          "vrm/EmissionMigration_v0.106.0.vrm", "usd/simpleMaterial.usdz",
          "usd/suzanne_blender282.usdc"}) {
        SCOPED_TRACE(model);
        TestFolder home;
        TestFolder out;
        const auto picture = out.path() / "picture.png";
        const Outcome run = runThumbnailer({QStringLiteral("-s"), QStringLiteral("128"),
                                            QString::fromStdString((corpus / model).string()),
                                            QString::fromStdString(picture.string())},
                                           home.path());
        ASSERT_EQ(run.status, 0) << run.errors;
        const QImage image(QString::fromStdString(picture.string()));
        ASSERT_EQ(image.size(), QSize(128, 128));
        EXPECT_TRUE(cornersAreClear(image));
        EXPECT_GT(opaquePixels(image), 128 * 128 / 50) << "hardly anything was drawn";
        EXPECT_EQ(filesIn(out.path()), std::vector{picture});
        EXPECT_TRUE(filesIn(home.path()).empty()) << filesIn(home.path()).front();
        std::filesystem::copy_file(picture,
                                   kept / (std::filesystem::path(model).stem().string() + ".png"),
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

TEST(Thumbnailer, RefusesWithAMessageAndLeavesNoPicture) {
    TestFolder home;
    TestFolder out;
    const auto picture = out.path() / "picture.png";
    const auto huge = out.write("huge.glb", "glTF");
    std::filesystem::resize_file(huge, (std::uintmax_t{100} << 20) + 1);
    const Outcome tooLarge = runThumbnailer({QStringLiteral("-s"), QStringLiteral("128"),
                                             QString::fromStdString(huge.string()),
                                             QString::fromStdString(picture.string())},
                                            home.path());
    EXPECT_EQ(tooLarge.status, 1);
    EXPECT_NE(tooLarge.errors.find("larger than 100 MiB"), std::string::npos) << tooLarge.errors;
    const auto noise = out.write("noise.usdz", "PK\x03\x04 and nothing after");
    const Outcome broken = runThumbnailer({QStringLiteral("-s"), QStringLiteral("128"),
                                           QString::fromStdString(noise.string()),
                                           QString::fromStdString(picture.string())},
                                          home.path());
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.errors.find("brightfold-thumbnailer: "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(picture));
    EXPECT_EQ(runThumbnailer({QStringLiteral("-s"), QStringLiteral("0")}, home.path()).status, 2);
}

TEST(Thumbnailer, DrawsOrRefusesEveryHostileInputOfItsFuzzTargetWithoutCrashing) {
    std::size_t replayed = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(BRIGHTFOLD_THUMBNAIL_REGRESSIONS)) {
        SCOPED_TRACE(entry.path().filename().string());
        TestFolder home;
        TestFolder out;
        const auto picture = out.path() / "picture.png";
        const Outcome run = runThumbnailer({QStringLiteral("-s"), QStringLiteral("64"),
                                            QString::fromStdString(entry.path().string()),
                                            QString::fromStdString(picture.string())},
                                           home.path());
        EXPECT_TRUE(run.status == 0 || run.status == 1) << run.status << run.errors;
        EXPECT_EQ(run.status == 0, std::filesystem::exists(picture)) << run.errors;
        ++replayed;
    }
    EXPECT_GT(replayed, 0u);
}

} // namespace
