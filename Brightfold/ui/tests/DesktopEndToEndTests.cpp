// The window over the real conversion services, as a desktop user meets it: a file named on
// the command line, the notes of a conversion that loses something, Cancel during a slow
// conversion, and a USDZ package opened only to look at it. Each step leaves a screenshot.

#include "AppWindowTest.h"

#include <Brightfold/ForwardingServices.h>
#include <Brightfold/SceneServices.h>
#include <Brightfold/Ui/CommandLine.h>
#include <Brightfold/Ui/PreviewPreparingServices.h>
#include <QElapsedTimer>
#include <QFile>
#include <QJSValue>
#include <QProcess>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using brightfold::ui::parseCommandLine;

const fs::path shared = BRIGHTFOLD_SHARED_DIR;
const fs::path generator = shared / "tools/peers/gen-large.mjs";
constexpr int conversionTimeout = 60000;

// A QML list of strings, whether it arrives as a script value or a string list.
QStringList stringsOf(const QVariant& value) {
    return value.canConvert<QJSValue>() ? value.value<QJSValue>().toVariant().toStringList()
                                        : value.toStringList();
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// The real services, noting whether any package was written to its end: a conversion that
// was stopped never gets that far.
class WriteWatchingServices final : public brightfold::ForwardingServices {
  public:
    using ForwardingServices::ForwardingServices;

    brightfold::USDZWriteResult writeUSDZ(const scene::Scene& scene, const fs::path& destination,
                                          const std::string& packageName,
                                          const brightfold::ConversionOptions& options,
                                          const brightfold::ProgressHandler& progress,
                                          std::stop_token stop) override {
        brightfold::USDZWriteResult result =
            ForwardingServices::writeUSDZ(scene, destination, packageName, options, progress, stop);
        if (result.succeeded) {
            wrotePackage = true;
        }
        return result;
    }

    std::atomic<bool> wrotePackage = false;
};

class DesktopEndToEndTest : public AppWindowTest {
  protected:
    void SetUp() override {
        if (!fs::exists(generator)) {
            GTEST_SKIP() << "../shared not found: " << generator;
        }
        fs::create_directory(temporary());
        openWindow(services_, folder() / "unused.glb");
    }

    fs::path folder() const { return folder_.path().toStdString(); }
    fs::path temporary() const { return folder() / "tmp"; }

    // A model made by the shared generator; false (with the reason printed) when it cannot run.
    bool generate(const fs::path& output, const QStringList& options) {
        QProcess node;
        node.start(QStringLiteral("node"), QStringList{QString::fromStdString(generator.string()),
                                                       QString::fromStdString(output.string())} +
                                               options);
        const bool made = node.waitForFinished(conversionTimeout) && node.exitCode() == 0;
        if (!made) {
            std::cerr << "node could not generate the model: "
                      << node.readAllStandardError().toStdString()
                      << node.errorString().toStdString() << '\n';
        }
        return made;
    }

    // The program's own path from its arguments to the window.
    void startAsIf(const QStringList& arguments) {
        const auto command =
            parseCommandLine(QStringList{QStringLiteral("brightfold")} + arguments);
        bridge_->openFiles(command.files, command.mode);
    }

    QQuickItem* screenItem(const char* name) const {
        return currentScreen()->property(name).value<QQuickItem*>();
    }

    void click(QQuickItem* item) {
        const QPointF centre = item->mapToScene({item->width() / 2, item->height() / 2});
        QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

    QTemporaryDir folder_;
    // After the folder, whose path it takes.
    const std::shared_ptr<WriteWatchingServices> services_ =
        std::make_shared<WriteWatchingServices>(
            std::make_shared<brightfold::ui::PreviewPreparingServices>(
                brightfold::makeSceneServices(temporary())));
};

TEST_F(DesktopEndToEndTest, FileNamedOnTheCommandLineReachesThePreview) {
    const fs::path model = folder() / "Sphere Model.glb";
    ASSERT_TRUE(generate(model, {"--triangles", "20000", "--texture", "256"}));
    startAsIf({QString::fromStdString(model.string())});
    ASSERT_TRUE(waitForScreen("preview", conversionTimeout)) << bridge_->message().toStdString();
    EXPECT_TRUE(bridge_->notes().isEmpty()) << bridge_->notes().join('\n').toStdString();
    settledGrab("desktop-command-line-preview");
}

// A triangle carrying an application-specific attribute, which the reader leaves out and says
// so: a loss the conversion must report on screen.
void writeTriangleWithItsOwnAttribute(const fs::path& file) {
    const float values[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 7, 8, 9};
    const QByteArray bytes(reinterpret_cast<const char*>(values), sizeof values);
    const QString document = QStringLiteral(R"({"asset": {"version": "2.0"}, "scene": 0,
        "scenes": [{"nodes": [0]}], "nodes": [{"mesh": 0}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "_TEMPERATURE": 1}}]}],
        "accessors": [
          {"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
           "min": [0, 0, 0], "max": [1, 1, 0]},
          {"bufferView": 0, "byteOffset": 36, "componentType": 5126, "count": 3, "type": "SCALAR"}],
        "bufferViews": [{"buffer": 0, "byteLength": 48}],
        "buffers": [{"byteLength": 48, "uri": "data:application/octet-stream;base64,%1"}]})")
                                 .arg(QString::fromLatin1(bytes.toBase64()));
    QFile out(QString::fromStdString(file.string()));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(document.toUtf8());
}

TEST_F(DesktopEndToEndTest, NotesShowTheirCountAndListWhatWasLeftOut) {
    const fs::path model = folder() / "tagged.gltf";
    writeTriangleWithItsOwnAttribute(model);
    startAsIf({QString::fromStdString(model.string())});
    ASSERT_TRUE(waitForScreen("preview", conversionTimeout)) << bridge_->message().toStdString();

    auto* notesButton = screenItem("notesButton");
    ASSERT_NE(notesButton, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notesButton->isVisible(); }, 5000));
    const QStringList shown = stringsOf(currentScreen()->property("allNotes"));
    ASSERT_EQ(shown.size(), 1) << shown.join('\n').toStdString();
    EXPECT_EQ(notesButton->property("text").toString(), QStringLiteral("1 note"));
    EXPECT_TRUE(shown.front().contains(QStringLiteral("_TEMPERATURE")) &&
                shown.front().contains(QStringLiteral("left out")))
        << shown.front().toStdString();
    settledGrab("desktop-notes-indicator");

    click(notesButton);
    auto* panel = currentScreen()->property("notesPanel").value<QObject*>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->property("opened").toBool(); }, 5000));
    EXPECT_EQ(stringsOf(panel->property("notes")), shown);
    settledGrab("desktop-notes-list");
}

TEST_F(DesktopEndToEndTest, CancelDuringASlowConversionReturnsToIdleAndLeavesNoFile) {
    const fs::path model = folder() / "large.glb";
    ASSERT_TRUE(generate(model, {"--triangles", "4000000", "--texture", "0"}));
    startAsIf({QString::fromStdString(model.string())});
    ASSERT_TRUE(waitForScreen("converting"));
    window_->grabWindow().save(screenshotPath("desktop-converting"));
    ASSERT_TRUE(bridge_->workflow().hasBackgroundWork())
        << "the model converted before Cancel could be pressed; make it larger";

    QElapsedTimer sinceCancel;
    sinceCancel.start();
    ASSERT_TRUE(clickButton(QStringLiteral("Cancel")));
    // Cancel returns to the start at once, whatever the work is doing.
    ASSERT_EQ(bridge_->screen(), QStringLiteral("idle"));
    // The work itself ends at its next check; reading the file into memory and writing one
    // mesh's layer are the longest stretches without one. How soon is measured by the
    // benchmarks; here only that it ends.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !bridge_->workflow().hasBackgroundWork(); }, stopTimeout))
        << "the conversion still runs " << sinceCancel.elapsed() << " ms after Cancel";
    std::cout << "the work ended " << sinceCancel.elapsed() << " ms after Cancel\n";
    // Whatever the stopped conversion posted before it ended is delivered now.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(bridge_->screen(), QStringLiteral("idle"));
    EXPECT_EQ(entriesIn(temporary()), 0u) << "no temporary package is left";
    settledGrab("desktop-cancelled");
}

// What the program does when its window closes: the engine, then the bridge and its
// conversions go; a conversion still running must not hold the exit back.
TEST_F(DesktopEndToEndTest, ClosingTheWindowDuringAConversionEndsPromptly) {
    const fs::path model = folder() / "large.glb";
    ASSERT_TRUE(generate(model, {"--triangles", "4000000", "--texture", "0"}));
    startAsIf({QString::fromStdString(model.string())});
    ASSERT_TRUE(waitForScreen("converting"));
    ASSERT_TRUE(bridge_->workflow().hasBackgroundWork());

    QElapsedTimer sinceClose;
    sinceClose.start();
    window_->close();
    engine_.reset();
    bridge_.reset();
    std::cout << "ended " << sinceClose.elapsed() << " ms after the window closed\n";
    // Closing waits for the work to end; the work stopped rather than ran to its end.
    EXPECT_FALSE(services_->wrotePackage) << "the conversion ran on after the window closed";
    EXPECT_EQ(entriesIn(temporary()), 0u);
}

TEST_F(DesktopEndToEndTest, PackageOpenedDirectlyIsShownWithoutWritingAnything) {
    const fs::path package = folder() / "RoughnessTest.usdz";
    fs::copy_file(shared / "corpus/usd/RoughnessTest/RoughnessTest.usdz", package);
    const std::size_t before = entriesIn(folder());
    startAsIf({QString::fromStdString(package.string())});
    ASSERT_TRUE(waitForScreen("viewing", conversionTimeout)) << bridge_->message().toStdString();
    EXPECT_EQ(bridge_->viewedFileName(), QStringLiteral("RoughnessTest.usdz"));
    EXPECT_TRUE(currentScreen()->property("viewOnly").toBool()) << "offers no save";
    settledGrab("desktop-viewing");
    EXPECT_EQ(entriesIn(temporary()), 0u);
    EXPECT_EQ(entriesIn(folder()), before);

    QTest::keyClick(window_, Qt::Key_Escape);
    EXPECT_TRUE(waitForScreen("idle"));
    EXPECT_TRUE(fs::exists(package)) << "closing the view leaves the file alone";
}

} // namespace
