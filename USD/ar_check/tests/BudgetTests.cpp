// The budgets measured on layers and packages made to exceed them, and the margin each names.

#include "PackageFixtures.h"
#include "SceneBuilding.h"

#include <SceneGraph/MaterialProperty.h>
#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/LayerBuilder.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The quad's layer with one more mesh of `faces` faces of `corners` corners each.
SceneLayer withFaces(std::size_t faces, std::int32_t corners) {
    SceneLayer built = writtenQuad();
    LayerBuilder build(built.layer);
    const Path mesh = build.definePrim(Path::fromString("/Model/Many"), "Mesh");
    build.addAttribute(mesh, "faceVertexCounts", {"int[]", Array<std::int32_t>(faces, corners)});
    return built;
}

TEST(Budgets, TrianglesCountEveryFaceFannedAndStopAtTheBudget) {
    // 2 from the quad, and a pentagon is three triangles.
    const auto atBudget = ar::checkPackageFile(packaged(withFaces(33'332, 5), "at.usdz"));
    EXPECT_EQ(atBudget.measures.triangles, 99'998u);
    EXPECT_THAT(atBudget.overBudget, IsEmpty());

    const auto over = ar::checkPackageFile(packaged(withFaces(150'000, 3), "over.usdz"));
    EXPECT_EQ(over.measures.triangles, 150'002u);
    ASSERT_THAT(rulesOf(over.overBudget), ElementsAre("triangle-budget"));
    EXPECT_THAT(over.overBudget[0].message,
                HasSubstr("150002 triangles, 50002 more than AR Quick Look's budget of 100000: "
                          "simplify the model (--max-triangles 100000)"));
    EXPECT_FALSE(over.passes());
}

TEST(Budgets, TexturesLongerThanTheSideAreNamedAndTheirMemoryAddsUp) {
    auto scene = normalMappedQuad();
    const auto material = scene->rootNode()->childNodes()[0]->geometry()->materials()[0];
    material->diffuse() =
        scene::MaterialProperty::withContents(pngImage({1, 2, 3}, 4096, 2, "wide.png"));
    // Kept as it is, as a package another tool made would hold it.
    WriteOptions keep;
    keep.maxTextureSize = 0;
    keep.textureBudgetBytes = 0;
    const SceneLayer built = buildSceneLayer(*scene, "Model", {}, keep);
    const auto verdict = ar::checkPackageFile(packaged(built, "wide.usdz"));
    ASSERT_THAT(rulesOf(verdict.overBudget), ElementsAre("texture-size-budget"));
    EXPECT_EQ(verdict.overBudget[0].where, "textures/wide.png");
    EXPECT_THAT(verdict.overBudget[0].message, HasSubstr("is 4096 x 2 pixels"));
    // Four bytes a pixel, and a third more for the mips.
    EXPECT_EQ(verdict.measures.textureBytes, 4096 * 2 * 4 * 4 / 3 + 2 * 2 * 4 * 4 / 3);

    ar::ARBudgets tight;
    tight.textureSide = 8192;
    tight.textureBytes = ar::heldTextureBytes(4096, 2);
    const auto overMemory = ar::checkPackageFile(packaged(built, "wide.usdz"), tight);
    EXPECT_THAT(rulesOf(overMemory.overBudget), ElementsAre("texture-memory-budget"));
}

// An animated quad of `endCode` codes at 120 a second, with or without the layer's range.
SceneLayer animatedFor(double endCode, bool authorRange) {
    SceneLayer built = writtenQuad();
    LayerBuilder build(built.layer);
    if (authorRange) {
        build.setLayerMetadata("timeCodesPerSecond", 120.0);
        build.setLayerMetadata("startTimeCode", 0.0);
        build.setLayerMetadata("endTimeCode", endCode);
    }
    const Path spin =
        build.addAttribute(Path::fromString("/Model/Shape"), "xformOp:rotateZ", {"float"});
    build.setTimeSamples(spin, {{0.0, endCode}, {Value(0.0f), Value(90.0f)}});
    return built;
}

TEST(Budgets, TheAnimationPlaysFromStartToEndCodeOrOverItsSamples) {
    const auto ranged = ar::checkPackageFile(packaged(animatedFor(1320, true), "long.usdz"));
    EXPECT_DOUBLE_EQ(ranged.measures.animationSeconds, 11);
    ASSERT_THAT(rulesOf(ranged.overBudget), ElementsAre("animation-budget"));
    EXPECT_THAT(ranged.overBudget[0].message, HasSubstr("plays 11.0 s, 1.0 s longer"));

    // Without a range the samples' span counts, at USD's default of 24 codes a second.
    const auto sampled = ar::checkPackageFile(packaged(animatedFor(120, false), "short.usdz"));
    EXPECT_DOUBLE_EQ(sampled.measures.animationSeconds, 5);
    EXPECT_THAT(sampled.overBudget, IsEmpty());
}

} // namespace
} // namespace usd::test
