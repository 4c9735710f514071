#include "ConversionFolder.h"
#include "TestApplication.h"

#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/MakerPages.h>
#include <Brightfold/Ui/QtMainQueue.h>
#include <QCoreApplication>
#include <QSettings>
#include <QTest>
#include <QThread>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

using brightfold::ui::AppBridge;
using brightfold::ui::MakerPages;
namespace fs = std::filesystem;

QCoreApplication& application() {
    return testApplication();
}

QUrl urlOf(const fs::path& file) {
    return QUrl::fromLocalFile(QString::fromStdString(file));
}

// Settings go to the test's own folder, so a remembered choice does not leak between tests.
bool keepSettingsIn(const fs::path& folder) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(folder / "settings"));
    return true;
}

class AppBridgeTest : public testing::Test {
  protected:
    bool waitForScreen(const char* screen) {
        return QTest::qWaitFor([&] { return bridge_->screen() == QLatin1String(screen); }, 5000);
    }
    fs::path temporaryFile() const {
        return std::get<brightfold::Preview>(bridge_->workflow().state()).tempURL;
    }

    // First, as the bridge posts its news to the application object.
    QCoreApplication& application_ = application();
    ConversionFolder folder_;
    const fs::path& source_ = folder_.source();
    ScriptedServices& services_ = *folder_.services();
    const bool settingsKept_ = keepSettingsIn(folder_.root());
    // Declared last: it goes first, finishing its conversions while the folder still exists.
    std::unique_ptr<AppBridge> bridge_ = std::make_unique<AppBridge>(folder_.services());
};

TEST_F(AppBridgeTest, DroppedFileIsPreviewedThenSavedBesideItsSource) {
    EXPECT_EQ(bridge_->screen(), "idle");
    EXPECT_TRUE(bridge_->dropUrls({urlOf(source_)}));
    ASSERT_TRUE(waitForScreen("preview"));
    const auto shown = bridge_->previewScene().value<brightfold::SceneHandle>();
    EXPECT_EQ(shown, services_.readBackScene()) << "the preview shows the read-back scene";

    bridge_->saveConvertedFile();
    EXPECT_EQ(bridge_->screen(), "success");
    EXPECT_EQ(bridge_->savedFileName(), "model.usdz");
    EXPECT_TRUE(fs::exists(folder_.root() / "model.usdz"));
    EXPECT_FALSE(bridge_->previewScene().value<brightfold::SceneHandle>())
        << "leaving the preview releases its scene";

    bridge_->resetToIdle();
    EXPECT_EQ(bridge_->screen(), "idle");
}

TEST_F(AppBridgeTest, DiscardRemovesTheTemporaryFile) {
    bridge_->convertFile(urlOf(source_));
    ASSERT_TRUE(waitForScreen("preview"));
    const fs::path temporary = temporaryFile();
    ASSERT_TRUE(fs::exists(temporary));
    bridge_->discardPreview();
    EXPECT_EQ(bridge_->screen(), "idle");
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_FALSE(fs::exists(folder_.root() / "model.usdz"));
}

TEST_F(AppBridgeTest, ProgressShowsWhileConvertingAndDropsAreIgnored) {
    services_.holdWrites();
    bridge_->dropUrls({urlOf(source_)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return bridge_->progress() == 0.5; }, 5000));
    EXPECT_EQ(bridge_->screen(), "converting");

    EXPECT_TRUE(bridge_->dropUrls({urlOf(folder_.root() / "other.glb")}))
        << "accepted, yet ignored";
    services_.releaseWrites();
    ASSERT_TRUE(waitForScreen("preview"));
    EXPECT_EQ(std::get<brightfold::Preview>(bridge_->workflow().state()).originalURL, source_);
}

TEST_F(AppBridgeTest, FailuresShowTheWorkflowsMessage) {
    services_.writeSucceeds = false;
    bridge_->convertFile(urlOf(source_));
    ASSERT_TRUE(waitForScreen("error"));
    EXPECT_EQ(bridge_->message(), "Export failed during temp compilation.");

    bridge_->resetToIdle();
    bridge_->convertFile(urlOf(folder_.root() / "model.obj"));
    ASSERT_TRUE(waitForScreen("error"));
    EXPECT_TRUE(bridge_->message().startsWith("Failed to parse 3D data: \n"));
}

TEST_F(AppBridgeTest, TheClipsAreListedAndChoosingOneConvertsAgainWithIt) {
    services_.clips = {{{0, ""}, {1, ""}, {2, ""}}, {0}};
    bridge_->convertFile(urlOf(source_));
    ASSERT_TRUE(waitForScreen("preview"));
    EXPECT_EQ(bridge_->animationClips(),
              QStringList({"Animation 0", "Animation 1", "Animation 2"}));
    EXPECT_EQ(bridge_->playedClip(), 0);

    bridge_->chooseAnimationClip(2);
    EXPECT_EQ(bridge_->screen(), "converting");
    ASSERT_TRUE(waitForScreen("preview"));
    EXPECT_EQ(services_.lastAnimation(), "2");
    EXPECT_EQ(bridge_->playedClip(), 2);

    bridge_->chooseAnimationClip(7);
    EXPECT_EQ(bridge_->screen(), "preview") << "no such clip";
}

TEST_F(AppBridgeTest, UrlsThatNameNoLocalFileStartNothing) {
    bridge_->dropUrls({QUrl("https://example.com/model.glb"), QUrl()});
    bridge_->convertFile(QUrl("https://example.com/model.glb"));
    QCoreApplication::processEvents();
    EXPECT_EQ(bridge_->screen(), "idle");
}

TEST_F(AppBridgeTest, OperationsOutsideTheirScreenChangeNothing) {
    bridge_->saveConvertedFile();
    bridge_->discardPreview();
    bridge_->openSavedFile();
    bridge_->revealSavedFile();
    EXPECT_EQ(bridge_->screen(), "idle");
}

const brightfold::PackageProblem aLight{"prim-types", "/shop/Sun",
                                        "AR Quick Look does not accept prims of type "
                                        "DistantLight."};

TEST_F(AppBridgeTest, AViewedPackageShowsItsVerdictAndCanBeMadeARReady) {
    services_.verdict = {{aLight}, {}};
    const fs::path package = folder_.root() / "shop.usdz";
    std::ofstream(package) << "another tool's package";
    bridge_->setForUsdTools(true);
    bridge_->dropUrls({urlOf(package)});
    ASSERT_TRUE(waitForScreen("viewing"));
    EXPECT_EQ(bridge_->verdict(), "1 problem for AR Quick Look");
    EXPECT_FALSE(bridge_->readyForAR());
    EXPECT_TRUE(bridge_->notes().contains("AR Quick Look's rules: /shop/Sun: " +
                                          QString::fromStdString(aLight.message)));
    ASSERT_TRUE(bridge_->canMakeARReady());

    services_.verdict = {};
    bridge_->makeARReady();
    ASSERT_TRUE(waitForScreen("preview"));
    EXPECT_EQ(services_.lastWriteProfile(), brightfold::ConversionOptions::Profile::ar)
        << "made for AR Quick Look whatever the menu says";
    EXPECT_TRUE(bridge_->forUsdTools()) << "and the menu's choice is kept";
    EXPECT_EQ(bridge_->verdict(), "Ready for AR Quick Look");
    bridge_->saveConvertedFile();
    EXPECT_EQ(bridge_->savedFileName(), "shop-ar.usdz");
}

TEST_F(AppBridgeTest, ThePackagesProfileIsRememberedAndReachesTheWriter) {
    EXPECT_FALSE(bridge_->forUsdTools()) << "AR Quick Look by default";
    bridge_->setForUsdTools(true);
    bridge_->convertFile(urlOf(source_));
    ASSERT_TRUE(waitForScreen("preview"));
    EXPECT_EQ(services_.lastWriteProfile(), brightfold::ConversionOptions::Profile::usd);

    const AppBridge nextRun(folder_.services());
    EXPECT_TRUE(nextRun.forUsdTools());
    EXPECT_EQ(nextRun.workflow().conversionOptions().profile,
              brightfold::ConversionOptions::Profile::usd);
}

TEST(QtMainQueue, RunsPostedStepsLaterOnTheMainThread) {
    application();
    const auto post = brightfold::ui::makeQtMainQueuePoster(QCoreApplication::instance());
    QThread* ranOn = nullptr;
    std::thread worker([&] { post([&] { ranOn = QThread::currentThread(); }); });
    worker.join();
    EXPECT_EQ(ranOn, nullptr) << "nothing runs before the event loop turns";
    ASSERT_TRUE(QTest::qWaitFor([&] { return ranOn != nullptr; }, 2000));
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}

TEST(MakerPages, AllLinksShareOneSiteAndTheMailHasItsSubject) {
    const QUrl site = MakerPages::address(MakerPages::Website);
    EXPECT_EQ(site.scheme(), "https");
    EXPECT_EQ(MakerPages::address(MakerPages::HowToUse), site.resolved(QUrl("/usdzhelp")));
    EXPECT_EQ(MakerPages::address(MakerPages::SupportedFormats),
              site.resolved(QUrl("/usdzformats")));
    EXPECT_EQ(MakerPages::address(MakerPages::BrowserAR), site.resolved(QUrl("/")));

    const QUrl mail = MakerPages::address(MakerPages::ReportIssue);
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_TRUE(mail.path().endsWith("@" + site.host().section('.', -2)));
    EXPECT_EQ(mail.query(QUrl::FullyEncoded), "subject=Brightfold%20Bug");
}

} // namespace
