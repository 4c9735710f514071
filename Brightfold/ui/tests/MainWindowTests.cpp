#include "AppWindowTest.h"
#include "ConversionFolder.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// The real window over scripted services.
class MainWindowTest : public AppWindowTest {
  protected:
    void SetUp() override { openWindow(folder_.services(), folder_.source()); }

    ConversionFolder folder_;
};

TEST_F(MainWindowTest, FramelessTransparentWindowShowsOnlyTheCard) {
    EXPECT_TRUE(window_->flags() & Qt::FramelessWindowHint);
    EXPECT_GE(window_->minimumWidth(), 500);
    EXPECT_GE(window_->minimumHeight(), 450);
    const QImage idle = settledGrab("idle");
    // The shadow's faintest tail may reach the corner.
    EXPECT_LE(qAlpha(idle.pixel(0, 0)), 4) << "the margin around the card is see-through";
    EXPECT_GT(qAlpha(idle.pixel(idle.width() / 2, idle.height() / 2)), 0) << "the card is drawn";
}

TEST_F(MainWindowTest, DraggingAFileOverTheWindowTargetsItUntilItLeaves) {
    EXPECT_FALSE(isTargeted());
    sendDragEnter();
    EXPECT_TRUE(isTargeted());
    settledGrab("drag-over");
    sendDragLeave();
    EXPECT_FALSE(isTargeted());
}

TEST_F(MainWindowTest, DroppedFileIsPreviewedAndSavedWithTheKeyboard) {
    sendDrop();
    ASSERT_TRUE(waitForScreen("preview"));
    settledGrab("preview");
    QTest::keyClick(window_, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitForScreen("success"));
    EXPECT_TRUE(fs::exists(folder_.root() / "model.usdz"));
    settledGrab("success");
}

TEST_F(MainWindowTest, EscapeDiscardsThePreview) {
    sendDrop();
    ASSERT_TRUE(waitForScreen("preview"));
    const fs::path temporary = std::get<brightfold::Preview>(bridge_->workflow().state()).tempURL;
    QTest::keyClick(window_, Qt::Key_Escape);
    ASSERT_TRUE(waitForScreen("idle"));
    EXPECT_FALSE(fs::exists(temporary));
}

} // namespace
