#include "ConversionFolder.h"
#include "TestApplication.h"

#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/MakerPages.h>
#include <Brightfold/Ui/QtMainQueue.h>
#include <QCoreApplication>
#include <QTest>
#include <QThread>
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
