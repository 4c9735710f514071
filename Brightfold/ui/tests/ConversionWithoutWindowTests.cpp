// brightfold --convert: the command line that asks for it, the conversions saved beside their
// sources, and what the notification says about them.

#include "ConversionFolder.h"
#include "TestApplication.h"

#include <Brightfold/Ui/CommandLine.h>
#include <Brightfold/Ui/ConversionWithoutWindow.h>
#include <gtest/gtest.h>

namespace {

using brightfold::ui::BesideResult;
using brightfold::ui::CommandLine;
using brightfold::ui::convertBeside;
using brightfold::ui::notificationFor;
using brightfold::ui::parseCommandLine;

TEST(ConvertWithoutWindow, IsAskedForWithFilesNeverWithViewAndWithoutFilesOpensTheWindow) {
    const CommandLine command =
        parseCommandLine({QStringLiteral("brightfold"), QStringLiteral("--convert"),
                          QStringLiteral("a.glb"), QStringLiteral("b.vrm")});
    EXPECT_EQ(command.action, CommandLine::Action::ConvertWithoutWindow);
    EXPECT_EQ(command.files.size(), 2u);
    EXPECT_EQ(parseCommandLine({QStringLiteral("brightfold"), QStringLiteral("--convert")}).action,
              CommandLine::Action::OpenWindow);
    EXPECT_EQ(parseCommandLine({QStringLiteral("brightfold"), QStringLiteral("--convert"),
                                QStringLiteral("--view"), QStringLiteral("a")})
                  .action,
              CommandLine::Action::Refuse);
}

TEST(ConvertWithoutWindow, SavesBesideTheSourceOrSaysWhyNot) {
    testApplication();
    ConversionFolder folder;
    const std::vector<BesideResult> converted =
        convertBeside({folder.source()}, folder.services(), &testApplication());
    ASSERT_EQ(converted.size(), 1u);
    EXPECT_TRUE(converted[0].converted) << converted[0].failure;
    EXPECT_EQ(converted[0].package, folder.root() / "model.usdz");
    EXPECT_TRUE(std::filesystem::exists(folder.root() / "model.usdz"));

    folder.services()->writeSucceeds = false;
    const std::vector<BesideResult> failed =
        convertBeside({folder.source()}, folder.services(), &testApplication());
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_FALSE(failed[0].converted);
    EXPECT_FALSE(failed[0].failure.empty());
}

TEST(ConvertWithoutWindow, TheNotificationCountsNotesAndFailures) {
    const auto converted = [](const char* source, const char* package, std::size_t notes) {
        BesideResult result;
        result.source = source;
        result.converted = true;
        result.package = package;
        result.noteCount = notes;
        return result;
    };
    const BesideResult chair = converted("/m/chair.glb", "/m/chair.usdz", 3);
    const BesideResult lamp = converted("/m/lamp.gltf", "/m/lamp.usdz", 1);
    BesideResult broken;
    broken.source = "/m/broken.glb";
    broken.failure = "The file is damaged.";
    const auto one = notificationFor({chair});
    EXPECT_EQ(one.summary, QStringLiteral("chair.usdz is ready"));
    EXPECT_EQ(one.body, QStringLiteral("Saved beside chair.glb, 3 notes on what it leaves out or "
                                       "approximates."));
    EXPECT_EQ(notificationFor({broken}).body, QStringLiteral("The file is damaged."));
    const auto three = notificationFor({chair, lamp, broken});
    EXPECT_EQ(three.summary, QStringLiteral("2 of 3 models converted to USDZ"));
    EXPECT_EQ(three.body,
              QStringLiteral("chair.glb: 3 notes on what it leaves out or approximates.\n"
                             "lamp.gltf: 1 note on what it leaves out or approximates.\n"
                             "broken.glb failed."));
}

} // namespace
