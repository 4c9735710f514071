// The converter's command line against scripted services: what it prints, where it saves,
// and the exit status a script relies on.
#include "ConvertCommand.h"
#include "FakeServices.h"
#include "TestFolder.h"

#include <gmock/gmock.h>
#include <sstream>

namespace brightfold::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Outcome {
    int status;
    std::string out;
    std::string errors;
};

class ConvertCommand : public ::testing::Test {
  protected:
    Outcome run(const std::vector<std::string>& arguments, bool terminal = false) {
        std::ostringstream out, errors;
        const int status = runConvertCommand(arguments, services, {out, errors, terminal});
        return {status, out.str(), errors.str()};
    }

    std::string readFile(const std::filesystem::path& file) {
        std::ifstream in(file);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TestFolder folder;
    std::shared_ptr<FakeServices> services =
        std::make_shared<FakeServices>(folder.path() / "temporary");

    void SetUp() override { std::filesystem::create_directories(folder.path() / "temporary"); }
};

TEST_F(ConvertCommand, SavesEachFileBesideItsSourceAndSaysWhere) {
    const auto first = folder.write("model.glb", "glb");
    const auto second = folder.write("scene.v2.gltf", "gltf");
    folder.write("model.usdz", "an older conversion");
    services->writerNotes = {"skinning left out:\nnot yet written"};

    const Outcome outcome = run({first.string(), second.string()});

    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(readFile(folder.path() / "model.usdz"), "usdz");
    EXPECT_EQ(readFile(folder.path() / "scene.v2.usdz"), "usdz");
    EXPECT_THAT(outcome.out, HasSubstr(first.string() + " -> " +
                                       (folder.path() / "model.usdz").string() + "\n"));
    EXPECT_THAT(outcome.out, HasSubstr("  note: skinning left out: not yet written\n"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path() / "temporary"));
}

TEST_F(ConvertCommand, OutputOptionNamesTheFileOrAFolder) {
    const auto source = folder.write("model.glb", "glb");
    EXPECT_EQ(run({"-o", (folder.path() / "chosen.usdz").string(), source.string()}).status, 0);
    EXPECT_EQ(readFile(folder.path() / "chosen.usdz"), "usdz");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "model.usdz"));

    std::filesystem::create_directories(folder.path() / "out");
    const auto other = folder.write("other.gltf", "gltf");
    EXPECT_EQ(run({source.string(), other.string(), "-o", (folder.path() / "out").string()}).status,
              0);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out" / "model.usdz"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out" / "other.usdz"));
}

TEST_F(ConvertCommand, AnyFailedFileMakesTheStatusOneAndOthersStillConvert) {
    const auto text = folder.write("notes.txt", "text");
    const auto model = folder.write("model.glb", "glb");

    const Outcome outcome = run({text.string(), model.string()});

    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.out,
                HasSubstr(text.string() +
                          ": failed: Failed to parse 3D data: \"notes.txt\" is not a .usdz, "
                          ".usdc, .usd, .gltf, .glb or .vrm file (InvalidFormat error 0)."));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "model.usdz"));
}

TEST_F(ConvertCommand, ImportFailuresAreShownOnOneLine) {
    const auto model = folder.write("model.glb", "glb");
    services->readerRefuses = true;
    services->importerError = "no meshes\nin this file";

    const Outcome outcome = run({model.string()});

    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.out, HasSubstr(": failed: Failed to parse 3D data:"));
    EXPECT_EQ(std::ranges::count(outcome.out, '\n'), 1) << outcome.out;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "model.usdz"));
}

TEST_F(ConvertCommand, ASaveThatFailsKeepsTheOldFile) {
    const auto model = folder.write("model.glb", "glb");
    const auto destination = folder.path() / "missing-folder" / "model.usdz";

    const Outcome outcome = run({"-o", destination.string(), model.string()});

    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.out, HasSubstr("failed: Could not save file to destination."));
}

TEST_F(ConvertCommand, ProgressBarOnlyOnATerminalAndNotWhenQuiet) {
    const auto model = folder.write("model.glb", "glb");
    EXPECT_THAT(run({model.string()}, true).errors, HasSubstr("100%  model.glb"));
    EXPECT_EQ(run({"--quiet", model.string()}, true).errors, "");
    EXPECT_EQ(run({model.string()}, false).errors, "");
}

TEST_F(ConvertCommand, BadCommandLinesExitWithTwoAndUsage) {
    const auto model = folder.write("model.glb", "glb");
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"--frobnicate", model.string()},
                                               {model.string(), "-o"},
                                               {"-o", "one.usdz", "a.glb", "b.glb"},
                                               {"--profile", "phone", model.string()},
                                               {"--max-texture-size", "0", model.string()},
                                               {"--texture-budget", "-1", model.string()},
                                               {"--max-triangles", "0", model.string()},
                                               {model.string(), "--animation"}}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_THAT(outcome.errors, HasSubstr("Usage: brightfold-convert"));
        EXPECT_EQ(outcome.out, "");
    }
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: brightfold-convert"));
    EXPECT_THAT(services->calls(), Not(::testing::Contains("reader")));
}

TEST_F(ConvertCommand, PackageOptionsReachTheWriterAndDefaultToTheARViewersBudgets) {
    const auto model = folder.write("model.glb", "glb");

    ASSERT_EQ(run({model.string()}).status, 0);
    const ConversionOptions defaults = services->lastWriteOptions();
    EXPECT_EQ(defaults.profile, ConversionOptions::Profile::ar);
    EXPECT_EQ(defaults.maxTextureSize, 2048u);
    EXPECT_EQ(defaults.textureBudgetBytes, std::uint64_t{160} << 20);
    EXPECT_EQ(defaults.maxTriangles, 0u);
    EXPECT_EQ(defaults.animation, "");

    ASSERT_EQ(run({"--profile", "usd", "--max-texture-size", "keep", "--texture-budget", "64",
                   "--max-triangles", "5000", "--animation", "Walk", model.string()})
                  .status,
              0);
    const ConversionOptions chosen = services->lastWriteOptions();
    EXPECT_EQ(chosen.profile, ConversionOptions::Profile::usd);
    EXPECT_EQ(chosen.maxTextureSize, 0u);
    EXPECT_EQ(chosen.textureBudgetBytes, std::uint64_t{64} << 20);
    EXPECT_EQ(chosen.maxTriangles, 5000u);
    EXPECT_EQ(chosen.animation, "Walk");
}

} // namespace
} // namespace brightfold::cli

namespace brightfold::cli {
namespace {

const PackageProblem aLight{"prim-types", "/shop/Sun",
                            "AR Quick Look does not accept prims of type DistantLight."};

TEST_F(ConvertCommand, AUSDZIsWrittenAgainBesideItsSourceSayingWhatItBroke) {
    const auto source = folder.write("shop.usdz", "another tool's package");
    services->verdict = {{aLight}, {}};

    const Outcome outcome = run({source.string()});

    EXPECT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_EQ(readFile(folder.path() / "shop-ar.usdz"), "usdz");
    EXPECT_EQ(readFile(source), "another tool's package");
    EXPECT_THAT(outcome.out, HasSubstr(" -> " + (folder.path() / "shop-ar.usdz").string()));
    EXPECT_THAT(outcome.out, HasSubstr("  note: The source package broke AR Quick Look's rule "
                                       "prim-types, which the new package keeps: /shop/Sun: "));

    // Only a destination named outright replaces the source.
    EXPECT_EQ(run({"-o", source.string(), source.string()}).status, 0);
    EXPECT_EQ(readFile(source), "usdz");
}

TEST_F(ConvertCommand, CheckPrintsEachProblemAndAVerdictPerFile) {
    const auto good = folder.write("good.usdz", "package");
    const Outcome passing = run({"--check", good.string()});
    EXPECT_EQ(passing.status, 0);
    EXPECT_EQ(passing.out, good.string() + ": Ready for AR Quick Look\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "good-ar.usdz")) << "nothing converted";

    services->verdict = {{aLight},
                         {{"triangle-budget", "", "The package holds too many triangles."}}};
    const Outcome failing = run({"--check", "--texture-budget", "64", good.string()});
    EXPECT_EQ(failing.status, 1);
    EXPECT_EQ(failing.out, good.string() + ": [prim-types] /shop/Sun: " + aLight.message + "\n" +
                               good.string() +
                               ": [triangle-budget] The package holds too many triangles.\n" +
                               good.string() + ": 2 problems for AR Quick Look\n");
    EXPECT_EQ(run({"--check", folder.path().string()}).status, 1) << "a folder is no package";
}

class ConvertBatch : public ConvertCommand {
  protected:
    void SetUp() override {
        ConvertCommand::SetUp();
        for (const char* sub : {"models", "models/nested", "models/nested/deeper", "empty"})
            std::filesystem::create_directories(folder.path() / sub);
        folder.write("models/a.glb", "glb");
        folder.write("models/b.GLTF", "gltf");
        folder.write("models/readme.txt", "not a model");
        folder.write("models/nested/c.gltf", "gltf");
        folder.write("models/nested/deeper/d.usdc", "usdc");
    }
    std::filesystem::path models() const { return folder.path() / "models"; }
};

TEST_F(ConvertBatch, AFolderStandsForItsModelFilesAndMinusRForItsSubFolders) {
    const Outcome flat = run({models().string()});
    EXPECT_EQ(flat.status, 0) << flat.out;
    EXPECT_TRUE(std::filesystem::exists(models() / "a.usdz"));
    EXPECT_TRUE(std::filesystem::exists(models() / "b.usdz"));
    EXPECT_FALSE(std::filesystem::exists(models() / "readme.usdz"));
    EXPECT_FALSE(std::filesystem::exists(models() / "nested" / "c.usdz"));
    EXPECT_THAT(flat.out, HasSubstr("2 files: 2 converted, 0 failed\n"));

    const Outcome deep = run({"-r", "-j", "2", models().string()});
    EXPECT_EQ(deep.status, 0) << deep.out;
    EXPECT_TRUE(std::filesystem::exists(models() / "nested" / "c.usdz"));
    EXPECT_TRUE(std::filesystem::exists(models() / "nested" / "deeper" / "d.usdz"));
    EXPECT_THAT(deep.out, HasSubstr("4 files: 4 converted, 0 failed\n"));
    EXPECT_EQ(std::ranges::count(deep.out, '\n'), 5) << deep.out;
}

TEST_F(ConvertBatch, OutputFolderMirrorsTheSubFoldersAndIsMadeWhenMissing) {
    const auto out = folder.path() / "out";
    const Outcome outcome = run({"-r", "-o", out.string(), models().string()});
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_EQ(readFile(out / "a.usdz"), "usdz");
    EXPECT_TRUE(std::filesystem::exists(out / "nested" / "c.usdz"));
    EXPECT_TRUE(std::filesystem::exists(out / "nested" / "deeper" / "d.usdz"));
    EXPECT_FALSE(std::filesystem::exists(models() / "a.usdz"));
}

TEST_F(ConvertBatch, FailuresAreCountedAndNamedInTheSummary) {
    folder.write("models/a.gltf", "gltf"); // would overwrite a.glb's package
    const auto text = folder.write("notes.txt", "text");

    const Outcome outcome =
        run({"-j", "3", models().string(), text.string(), (folder.path() / "empty").string()});

    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.out, HasSubstr("a.gltf: failed: not converted: another input also "
                                       "converts to " +
                                       (models() / "a.usdz").string()));
    EXPECT_THAT(outcome.out,
                HasSubstr("empty: failed: no .gltf, .glb, .vrm, .usdc or .usdz file in it"));
    EXPECT_THAT(outcome.out, HasSubstr("5 files: 2 converted, 3 failed: "));
    EXPECT_THAT(outcome.out, HasSubstr(text.string()));
    EXPECT_EQ(readFile(models() / "a.usdz"), "usdz");
}

TEST_F(ConvertBatch, AFoldersPackagesAreTakenButNotTheConversionsInIt) {
    folder.write("models/shop.usdz", "another tool's package");
    folder.write("models/a.usdz", "the package of a.glb");
    folder.write("models/old-ar.usdz", "a package made AR-ready before");
    const Outcome outcome = run({models().string()});
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_THAT(outcome.out, HasSubstr("3 files: 3 converted, 0 failed\n"));
    EXPECT_TRUE(std::filesystem::exists(models() / "shop-ar.usdz"));
    EXPECT_FALSE(std::filesystem::exists(models() / "a-ar.usdz"));
    EXPECT_FALSE(std::filesystem::exists(models() / "old-ar-ar.usdz"));
}

TEST_F(ConvertBatch, TraceLinesAreShownOnlyWhenVerbose) {
    const auto runRouted = [&](std::vector<std::string> arguments) {
        std::ostringstream out, errors;
        runConvertCommand(arguments, services,
                          {out, errors, false, [&](std::function<void(std::string_view)> writer) {
                               writer("duration: 2.0");
                           }});
        return errors.str();
    };
    const auto model = (models() / "a.glb").string();
    EXPECT_EQ(runRouted({model}), "");
    EXPECT_EQ(runRouted({"--verbose", model}), "duration: 2.0\n");
    for (const char* count : {"0", "two", "-1"})
        EXPECT_EQ(run({"-j", count, model}).status, 2) << count;
}

} // namespace
} // namespace brightfold::cli
