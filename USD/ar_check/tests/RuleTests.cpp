// Each rule broken on its own in a small package the writer made: the checker names that rule
// and no other, and the package read and written again for AR Quick Look passes.

#include "PackageFixtures.h"
#include "SceneBuilding.h"

#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/FieldNames.h>
#include <USD/layer/LayerBuilder.h>
#include <USD/package/PackageWriter.h>
#include <functional>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const Path surface = Path::fromString("/Model/Materials/Surface/PreviewSurface");

// The texture node feeding an input of the preview surface.
Path textureFeeding(const Layer& layer, const std::string& input) {
    return Path::fromString(sourceOf(layer, surface.text() + ".inputs:" + input)).primPath();
}

void setDefault(Layer& layer, const Path& attribute, Value value) {
    layer.spec(attribute)->setField(std::string(field::kDefault), std::move(value));
}

struct LayerBreak {
    std::string name;
    std::string rule;
    std::function<void(Layer&)> apply;
};

void PrintTo(const LayerBreak& broken, std::ostream* out) {
    *out << broken.name;
}

std::vector<LayerBreak> layerBreaks() {
    return {
        {"UpAxisZ", "stage-metadata",
         [](Layer& layer) { LayerBuilder(layer).setLayerMetadata(field::kUpAxis, Token{"Z"}); }},
        {"NoDefaultPrim", "stage-metadata",
         [](Layer& layer) { layer.pseudoRoot().fields.erase(std::string(field::kDefaultPrim)); }},
        {"ALight", "prim-types",
         [](Layer& layer) {
             LayerBuilder(layer).definePrim(Path::fromString("/Model/Sun"), "DistantLight");
         }},
        {"AMeshInsideAMesh", "gprim-nesting",
         [](Layer& layer) {
             LayerBuilder(layer).definePrim(Path::fromString("/Model/Shape/Inner"), "Cube");
         }},
        {"AnUnknownShader", "shader-ids",
         [](Layer& layer) {
             LayerBuilder build(layer);
             const Path shader =
                 build.definePrim(Path::fromString("/Model/Materials/Surface/Standard"), "Shader");
             build.addAttribute(shader, "info:id", {"token", Token{"ND_standard_surface"}});
         }},
        {"AnInputOfTheWrongType", "shader-inputs",
         [](Layer& layer) {
             LayerBuilder(layer).addAttribute(surface, "inputs:clearcoat", {"double", 1.0});
         }},
        {"AConnectionToNothing", "connections",
         [](Layer& layer) {
             LayerBuilder build(layer);
             build.setConnections(build.addAttribute(surface, "inputs:occlusion", {"float"}),
                                  {Path::fromString("/Model/Materials/Surface/gone.outputs:r")});
         }},
        {"ABindingWithoutItsAPI", "material-bindings",
         [](Layer& layer) {
             layer.spec(Path::fromString("/Model/Shape"))
                 ->fields.erase(std::string(field::kApiSchemas));
         }},
        {"ANormalMapReadAsColour", "normal-maps",
         [](Layer& layer) {
             const Path node = textureFeeding(layer, "normal");
             setDefault(layer, node.appendProperty("inputs:sourceColorSpace"), Token{"sRGB"});
             setDefault(layer, node.appendProperty("inputs:scale"), Vec4f{1, 1, 1, 1});
         }},
        {"ATextureOutsideThePackage", "asset-paths",
         [](Layer& layer) {
             setDefault(layer, textureFeeding(layer, "diffuseColor").appendProperty("inputs:file"),
                        AssetPath{"/home/someone/wood.png"});
         }},
    };
}

class BrokenLayer : public ::testing::TestWithParam<LayerBreak> {};

TEST_P(BrokenLayer, BreaksThatRuleAloneAndIsRepairedByConversion) {
    SceneLayer built = writtenQuad();
    GetParam().apply(built.layer);
    const auto package = packaged(built, GetParam().name + ".usdz");
    const ar::PackageVerdict verdict = ar::checkPackageFile(package);
    EXPECT_THAT(rulesOf(verdict.broken), Each(GetParam().rule));
    EXPECT_THAT(verdict.broken, Not(IsEmpty()));
    EXPECT_THAT(verdict.overBudget, IsEmpty());
    const ar::PackageVerdict repaired = repairedAndChecked(package);
    EXPECT_TRUE(repaired.passes()) << ::testing::PrintToString(rulesOf(repaired.broken));
}

INSTANTIATE_TEST_SUITE_P(OneRuleEach, BrokenLayer, ::testing::ValuesIn(layerBreaks()),
                         [](const auto& info) { return info.param.name; });

TEST(PackageCheck, TheWritersOwnPackagePassesAndIsMeasured) {
    const ar::PackageVerdict verdict = ar::checkPackageFile(packaged(writtenQuad(), "good.usdz"));
    EXPECT_TRUE(verdict.passes()) << ::testing::PrintToString(rulesOf(verdict.broken));
    EXPECT_EQ(verdict.measures.triangles, 2u);
    EXPECT_EQ(verdict.measures.textures.size(), 2u);
    EXPECT_EQ(verdict.measures.textureBytes, 2 * ar::heldTextureBytes(2, 2));
}

TEST(PackageCheck, InputsOfTheRightValueTypeInAnotherRoleOrAnOlderSpellingPass) {
    SceneLayer built = writtenQuad();
    LayerBuilder build(built.layer);
    build.addAttribute(surface, "inputs:diffuseColor", {"float3", Vec3f{1, 1, 1}});
    const Path reader = Path::fromString("/Model/Materials/Surface/uvReader_st");
    build.addAttribute(reader, "inputs:varname", {"token", Token{"st"}});
    EXPECT_TRUE(ar::checkPackageFile(packaged(built, "older.usdz")).passes());
}

TEST(PackageCheck, EachProblemNamesWhereAndWhatToDo) {
    SceneLayer built = writtenQuad();
    LayerBuilder(built.layer).definePrim(Path::fromString("/Model/Sun"), "SphereLight");
    const ar::PackageVerdict verdict = ar::checkPackageFile(packaged(built, "lit.usdz"));
    ASSERT_EQ(verdict.broken.size(), 1u);
    EXPECT_EQ(verdict.broken[0].where, "/Model/Sun");
    EXPECT_THAT(ar::describe(verdict.broken[0]),
                HasSubstr("/Model/Sun: AR Quick Look does not accept prims of type SphereLight: "
                          "the viewer lights the model itself; leave the light out."));
}

// The files of the writer's quad, the root layer first.
std::vector<ArchiveFile> quadFiles() {
    const SceneLayer built = writtenQuad();
    std::vector<ArchiveFile> files{{"Model.usdc", writeCrate(built.layer)}};
    for (const PackagedFile& file : built.files)
        files.push_back({file.name, {file.bytes->begin(), file.bytes->end()}});
    return files;
}

TEST(PackageCheck, AHandMadeAlignedArchiveIsAsGoodAsTheWritersOwn) {
    const auto package = savedAs(handMadeArchive(quadFiles()), "hand-made.usdz");
    EXPECT_TRUE(ar::checkPackageFile(package).passes());
}

TEST(PackageCheck, AssetPathsAreTakenFromTheRootLayersOwnFolder) {
    std::vector<ArchiveFile> files = quadFiles();
    for (ArchiveFile& file : files)
        file.name = "model/" + file.name;
    EXPECT_TRUE(ar::checkPackageFile(savedAs(handMadeArchive(files), "in-a-folder.usdz")).passes());
    files.erase(files.begin() + 1);
    const auto verdict = ar::checkPackageFile(savedAs(handMadeArchive(files), "lacking.usdz"));
    EXPECT_THAT(rulesOf(verdict.broken), ElementsAre("asset-paths"));
}

TEST(PackageCheck, EntriesOffTheirAlignmentBreakTheLayoutAndAreRepaired) {
    const auto package =
        savedAs(handMadeArchive(quadFiles(), {.aligned = false, .method = 0}), "unaligned.usdz");
    const ar::PackageVerdict verdict = ar::checkPackageFile(package);
    EXPECT_THAT(rulesOf(verdict.broken),
                ElementsAre("package-layout", "package-layout", "package-layout"));
    EXPECT_THAT(verdict.broken[0].message, HasSubstr("not on a multiple of 64"));
    EXPECT_TRUE(repairedAndChecked(package).passes());
}

TEST(PackageCheck, ARootLayerAfterAnImageBreaksTheLayout) {
    std::vector<ArchiveFile> files = quadFiles();
    std::swap(files[0], files[1]);
    const ar::PackageVerdict verdict =
        ar::checkPackageFile(savedAs(handMadeArchive(files), "image-first.usdz"));
    ASSERT_THAT(rulesOf(verdict.broken), ElementsAre("package-layout"));
    EXPECT_THAT(verdict.broken[0].message, HasSubstr("does not start with its root layer"));
}

TEST(PackageCheck, CompressedEntriesBreakTheLayout) {
    const ar::PackageVerdict verdict = ar::checkPackageFile(
        savedAs(handMadeArchive(quadFiles(), {.aligned = true, .method = 8}), "deflated.usdz"));
    ASSERT_THAT(rulesOf(verdict.broken), ElementsAre("package-layout"));
    EXPECT_THAT(verdict.broken[0].message, HasSubstr("compressed"));
}

TEST(PackageCheck, FilesOtherThanLayersAndImagesAreNamedAndLeftOutByConversion) {
    const SceneLayer built = writtenQuad();
    const std::vector<std::uint8_t> crate = writeCrate(built.layer);
    const std::vector<std::uint8_t> text{'h', 'i'};
    std::vector<PackageEntry> entries{{"Model.usdc", crate}, {"notes.txt", text}};
    for (const PackagedFile& file : built.files)
        entries.push_back({file.name, file.bytes->span()});
    const auto package = savedAs({}, "with-notes.usdz");
    writePackage(package, entries);
    const ar::PackageVerdict verdict = ar::checkPackageFile(package);
    ASSERT_THAT(rulesOf(verdict.broken), ElementsAre("package-files"));
    EXPECT_EQ(verdict.broken[0].where, "notes.txt");
    EXPECT_TRUE(repairedAndChecked(package).passes());
}

TEST(PackageCheck, ABareLayerIsNoPackage) {
    const ar::PackageVerdict verdict =
        ar::checkPackageFile(savedAs(writeCrate(writtenQuad().layer), "bare.usdc"));
    ASSERT_THAT(rulesOf(verdict.broken), ElementsAre("package-layout"));
    EXPECT_THAT(verdict.broken[0].message, HasSubstr("not a USDZ package"));
}

TEST(PackageCheck, WhatCannotBeReadIsABrokenRuleNotAnException) {
    for (const auto& [name, bytes] :
         {std::pair{"garbage.usdz", std::vector<std::uint8_t>{'P', 'K', 3, 4, 0, 0}},
          std::pair{"garbage.usdc", std::vector<std::uint8_t>{'n', 'o', 'p', 'e'}}}) {
        SCOPED_TRACE(name);
        const ar::PackageVerdict verdict = ar::checkPackageFile(savedAs(bytes, name));
        EXPECT_FALSE(verdict.passes());
        EXPECT_THAT(verdict.broken, Not(IsEmpty()));
    }
    const ar::PackageVerdict missing = ar::checkPackageFile("/no/such/file.usdz");
    EXPECT_THAT(rulesOf(missing.broken), ElementsAre("readable"));
}

} // namespace
} // namespace usd::test
