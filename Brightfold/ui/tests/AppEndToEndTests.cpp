// The real window over the real conversion services: a corpus model dropped on it is
// converted, shown in 3D, then saved beside its source or discarded.

#include "AppWindowTest.h"

#include <Brightfold/SceneServices.h>
#include <Brightfold/Ui/PreviewPreparingServices.h>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A small textured model with its image and buffer beside it.
const fs::path corpusModel =
    fs::path(BRIGHTFOLD_SHARED_DIR) / "corpus/gltf/BoxTextured/BoxTextured.gltf";

// Real conversions and the first 3D frame take longer than the scripted ones.
constexpr int conversionTimeout = 60000;

int colourDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

// What the preview's frame shows, compared with the bare card just left of it: the view's
// background is transparent, so only the model may differ from the card.
struct PreviewPicture {
    const QImage& image;
    QRect frame; // inside the rounded corners and the outline

    QRgb card() const { return image.pixel(frame.left() - 28, frame.center().y()); }

    double modelShare() const {
        int differing = 0;
        for (int y = frame.top(); y <= frame.bottom(); ++y) {
            for (int x = frame.left(); x <= frame.right(); ++x) {
                differing += colourDistance(image.pixel(x, y), card()) > 40 ? 1 : 0;
            }
        }
        return double(differing) / (frame.width() * frame.height());
    }

    bool cornersShowTheCard() const {
        const QPoint corners[] = {frame.topLeft(), frame.topRight(), frame.bottomLeft(),
                                  frame.bottomRight()};
        return std::ranges::all_of(corners, [&](QPoint corner) {
            return colourDistance(image.pixel(corner), card()) <= 12;
        });
    }
};

class AppEndToEndTest : public AppWindowTest {
  protected:
    void SetUp() override {
        if (!fs::exists(corpusModel)) {
            GTEST_SKIP() << "../shared not found: " << corpusModel;
        }
        // A copy, so that the saved package lands beside it and not in the corpus.
        fs::copy(corpusModel.parent_path(), folder(), fs::copy_options::recursive);
        openWindow(std::make_shared<brightfold::ui::PreviewPreparingServices>(
                       brightfold::makeSceneServices()),
                   source());
    }

    fs::path folder() const { return folder_.path().toStdString(); }
    fs::path source() const { return folder() / corpusModel.filename(); }
    fs::path temporaryFile() const {
        return std::get<brightfold::Preview>(bridge_->workflow().state()).tempURL;
    }

    // The preview's frame in the grabbed image's pixels, inside its 15-pixel corners.
    QRect previewFrame(const QImage& image) const {
        auto* viewport = currentScreen()->property("viewport").value<QQuickItem*>();
        const QRectF inWindow =
            viewport->mapRectToScene(QRectF(0, 0, viewport->width(), viewport->height()));
        const qreal scale = image.devicePixelRatio();
        const QRectF inImage(inWindow.topLeft() * scale, inWindow.size() * scale);
        return inImage.toRect().adjusted(16, 16, -16, -16);
    }

    // Waits until the model has been drawn (textures and shaders take a few frames).
    QImage grabPreview(const char* name) {
        QImage image = settledGrab(name);
        // The caller judges the picture; a timeout here only ends the waiting.
        static_cast<void>(QTest::qWaitFor(
            [&] {
                image = window_->grabWindow();
                return PreviewPicture{image, previewFrame(image)}.modelShare() > 0.02;
            },
            conversionTimeout));
        image.save(screenshotPath(name));
        return image;
    }

    void dropAndWaitForPreview() {
        sendDrop();
        ASSERT_TRUE(waitForScreen("preview", conversionTimeout))
            << bridge_->message().toStdString();
        ASSERT_TRUE(fs::exists(temporaryFile()));
    }

    QTemporaryDir folder_;
};

TEST_F(AppEndToEndTest, DroppedModelIsShownThenSavedBesideItsSource) {
    ASSERT_NO_FATAL_FAILURE(dropAndWaitForPreview());
    const QImage image = grabPreview("e2e-preview");
    const PreviewPicture preview{image, previewFrame(image)};
    EXPECT_GT(preview.modelShare(), 0.02) << "the model is drawn inside the preview";
    EXPECT_LT(preview.modelShare(), 0.9) << "around the model the card shows through";
    EXPECT_TRUE(preview.cornersShowTheCard()) << "the 3D view's background is transparent";
    EXPECT_LE(qAlpha(image.pixel(0, 0)), 4) << "the margin around the card is see-through";

    const fs::path temporary = temporaryFile();
    ASSERT_TRUE(clickButton("Save USDZ"));
    ASSERT_TRUE(waitForScreen("success"));
    const fs::path saved = fs::path(source()).replace_extension(".usdz");
    EXPECT_TRUE(fs::exists(saved));
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_EQ(bridge_->savedFileName().toStdString(), saved.filename().string());
    const auto* message = currentScreen()->property("messageText").value<QQuickItem*>();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->property("text").toString().toStdString(),
              "Saved Successfully!\n" + saved.filename().string());
    settledGrab("e2e-success");
}

TEST_F(AppEndToEndTest, DiscardedPreviewLeavesNoFileBehind) {
    ASSERT_NO_FATAL_FAILURE(dropAndWaitForPreview());
    const fs::path temporary = temporaryFile();
    ASSERT_TRUE(clickButton("Discard"));
    ASSERT_TRUE(waitForScreen("idle"));
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_FALSE(fs::exists(fs::path(source()).replace_extension(".usdz")));
    settledGrab("e2e-discarded");
}

} // namespace
