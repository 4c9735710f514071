// The desktop-facing pieces without a window: the command line, what the open panel asks,
// the issue report's details, and the bridge's cancel and save-elsewhere.

#include "ConversionFolder.h"
#include "TestApplication.h"

#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/CommandLine.h>
#include <Brightfold/Ui/FileChooser.h>
#include <Brightfold/Ui/HelpPages.h>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using brightfold::OpenMode;
using brightfold::ui::CommandLine;
using brightfold::ui::FileChooser;
using brightfold::ui::parseCommandLine;
namespace fs = std::filesystem;

CommandLine parse(const QStringList& arguments) {
    return parseCommandLine(QStringList{QStringLiteral("brightfold")} + arguments);
}

TEST(CommandLine, HelpAndVersionAnswerWithoutOpeningAWindow) {
    for (const char* option : {"--help", "-h"}) {
        const CommandLine command = parse({option});
        EXPECT_EQ(command.action, CommandLine::Action::PrintHelp);
        EXPECT_TRUE(command.text.startsWith("Usage: brightfold")) << option;
    }
    const CommandLine version = parse({"--version", "model.glb"});
    EXPECT_EQ(version.action, CommandLine::Action::PrintVersion);
    EXPECT_EQ(version.text, "Brightfold 1.0\n");

    const CommandLine unknown = parse({"--frobnicate"});
    EXPECT_EQ(unknown.action, CommandLine::Action::Refuse);
    EXPECT_TRUE(unknown.text.contains("frobnicate"));
}

TEST(CommandLine, FilesAreMadeAbsoluteAndFileURLsAccepted) {
    const CommandLine command =
        parse({"model.glb", "/data/My%20Model.glb", "file:///data/My%20Model.glb"});
    EXPECT_EQ(command.action, CommandLine::Action::OpenWindow);
    EXPECT_EQ(command.mode, OpenMode::ByExtension);
    ASSERT_EQ(command.files.size(), 3u);
    EXPECT_EQ(command.files[0], fs::current_path() / "model.glb");
    EXPECT_EQ(command.files[1], fs::path("/data/My%20Model.glb")) << "a path is not decoded";
    EXPECT_EQ(command.files[2], fs::path("/data/My Model.glb"));

    EXPECT_EQ(parse({"--view", "layer.usdc"}).mode, OpenMode::View);
    EXPECT_TRUE(parse({}).files.empty());
}

TEST(FileChooser, TypedPathsNameAFolderToShowOrAFileToTake) {
    QTemporaryDir root;
    const QString folder = root.path();
    QDir(folder).mkpath("sub folder");
    QFile(folder + "/Model.GlB").open(QIODevice::WriteOnly);
    const QUrl shown = QUrl::fromLocalFile(folder);

    const auto resolve = [&](const QString& typed, bool saving = false) {
        return FileChooser::resolveTypedPath(shown, typed, saving);
    };
    EXPECT_EQ(resolve("sub folder").value("folder").toUrl(),
              QUrl::fromLocalFile(folder + "/sub folder"));
    EXPECT_EQ(resolve(" Model.GlB ").value("file").toUrl(),
              QUrl::fromLocalFile(folder + "/Model.GlB"));
    EXPECT_EQ(resolve(folder + "/sub folder/../Model.GlB").value("file").toUrl(),
              QUrl::fromLocalFile(folder + "/Model.GlB"));
    EXPECT_EQ(resolve(QUrl::fromLocalFile(folder + "/Model.GlB").toString()).value("file").toUrl(),
              QUrl::fromLocalFile(folder + "/Model.GlB"));
    EXPECT_EQ(resolve("~").value("folder").toUrl(), QUrl::fromLocalFile(QDir::homePath()));
    EXPECT_TRUE(resolve("missing.glb").contains("error"));
    EXPECT_TRUE(resolve("").contains("error"));

    EXPECT_EQ(resolve("new.usdz", true).value("file").toUrl(),
              QUrl::fromLocalFile(folder + "/new.usdz"));
    EXPECT_TRUE(resolve("no folder/new.usdz", true).contains("error"));
}

TEST(FileChooser, StartsAtHomeThenWhereTheLastFileWasChosen) {
    FileChooser chooser;
    EXPECT_EQ(chooser.startFolder(), QUrl::fromLocalFile(QDir::homePath()));
    chooser.rememberChoice(QUrl::fromLocalFile("/data/models/box.glb"));
    EXPECT_EQ(chooser.startFolder(), QUrl::fromLocalFile("/data/models"));
    chooser.rememberChoice(QUrl("https://example.com/box.glb"));
    EXPECT_EQ(chooser.startFolder(), QUrl::fromLocalFile("/data/models"));
}

TEST(FileChooser, DesktopChooserPatternsMatchEveryLetterCase) {
    const QString models = FileChooser::desktopNameFilters().first();
    EXPECT_TRUE(models.contains("*.[gG][lL][bB]"));
    EXPECT_TRUE(models.contains("*.[uU][sS][dD][zZ]"));
    EXPECT_TRUE(FileChooser::modelPatterns().contains("*.gltf"));
}

// Each case sets the variables Qt looks at to pick a platform theme.
TEST(FileChooser, KnowsWhenTheDesktopHasItsOwnChooser) {
    const auto withEnvironment = [](const char* theme, const char* desktop) {
        qputenv("QT_QPA_PLATFORMTHEME", theme);
        qputenv("XDG_CURRENT_DESKTOP", desktop);
        qunsetenv("FLATPAK_ID");
        qunsetenv("SNAP");
        const bool available = FileChooser::desktopChooserAvailable();
        qunsetenv("QT_QPA_PLATFORMTHEME");
        qunsetenv("XDG_CURRENT_DESKTOP");
        return available;
    };
    EXPECT_TRUE(withEnvironment("xdgdesktopportal", ""));
    EXPECT_TRUE(withEnvironment("gtk3", "KDE"));
    EXPECT_FALSE(withEnvironment("qt6ct", "GNOME")) << "an asked-for theme wins";
    EXPECT_TRUE(withEnvironment("", "ubuntu:GNOME"));
    EXPECT_FALSE(withEnvironment("", "KDE"));
    EXPECT_FALSE(withEnvironment("", ""));
}

TEST(HelpPages, ReportDetailsNameTheVersionSystemAndAddress) {
    const QString details = brightfold::ui::HelpPages::reportDetails();
    EXPECT_TRUE(details.startsWith("Brightfold 1.0\n"));
    EXPECT_TRUE(details.contains("System: "));
    EXPECT_TRUE(details.contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(details.contains("Report to: support@"));
}

class BridgeDesktopTest : public testing::Test {
  protected:
    bool waitForScreen(const char* screen) {
        return QTest::qWaitFor([&] { return bridge_->screen() == QLatin1String(screen); }, 5000);
    }
    std::size_t temporaryFiles() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_.root() / "tmp"), {}));
    }

    QCoreApplication& application_ = testApplication();
    ConversionFolder folder_;
    ScriptedServices& services_ = *folder_.services();
    std::unique_ptr<brightfold::ui::AppBridge> bridge_ =
        std::make_unique<brightfold::ui::AppBridge>(folder_.services());
};

TEST_F(BridgeDesktopTest, CancelStopsAHeldConversionAndLeavesNoFile) {
    services_.holdWrites();
    bridge_->convertFile(QUrl::fromLocalFile(QString::fromStdString(folder_.source())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bridge_->progress() == 0.5; }, 5000));
    bridge_->cancel();
    EXPECT_EQ(bridge_->screen(), "idle");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bridge_->workflow().hasBackgroundWork(); }, 1000))
        << "the held write gives up once asked to stop";
    QCoreApplication::processEvents();
    EXPECT_EQ(bridge_->screen(), "idle");
    EXPECT_EQ(temporaryFiles(), 0u);
}

TEST_F(BridgeDesktopTest, AFailedSaveCanBeSavedElsewhere) {
    bridge_->convertFile(QUrl::fromLocalFile(QString::fromStdString(folder_.source())));
    ASSERT_TRUE(waitForScreen("preview"));
    fs::create_directory(folder_.root() / "model.usdz"); // a folder in the way of the file
    bridge_->saveConvertedFile();
    ASSERT_EQ(bridge_->screen(), "error");
    EXPECT_TRUE(bridge_->canSaveElsewhere());
    EXPECT_EQ(bridge_->saveElsewhereProposal(),
              QUrl::fromLocalFile(QString::fromStdString(folder_.root() / "model.usdz")));

    const fs::path elsewhere = folder_.root() / "kept.usdz";
    bridge_->saveElsewhere(QUrl::fromLocalFile(QString::fromStdString(elsewhere)));
    EXPECT_EQ(bridge_->screen(), "success");
    EXPECT_EQ(bridge_->savedFileName(), "kept.usdz");
    EXPECT_TRUE(fs::exists(elsewhere));
    EXPECT_EQ(temporaryFiles(), 0u);
}

// Most Linux desktops have no application for USDZ packages but this one.
TEST_F(BridgeDesktopTest, OpenShowsTheSavedPackageHereWhenTheDesktopHasNoOtherViewer) {
    QTemporaryDir tools;
    QFile query(tools.path() + "/xdg-mime");
    ASSERT_TRUE(query.open(QIODevice::WriteOnly));
    query.write("#!/bin/sh\necho brightfold.desktop\n");
    query.close();
    query.setPermissions(query.permissions() | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", tools.path().toLocal8Bit() + ":" + path);

    bridge_->convertFile(QUrl::fromLocalFile(QString::fromStdString(folder_.source())));
    ASSERT_TRUE(waitForScreen("preview"));
    bridge_->saveConvertedFile();
    ASSERT_EQ(bridge_->screen(), "success");
    bridge_->openSavedFile();
    EXPECT_TRUE(waitForScreen("viewing"));
    EXPECT_EQ(bridge_->viewedFileName(), "model.usdz");
    qputenv("PATH", path);
}

} // namespace
