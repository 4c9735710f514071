// The check of every package against AR Quick Look's rules and budgets: after a conversion, for
// a package opened to view, and of a USDZ source converted to repair it.

#include "WorkflowFixture.h"

#include <gmock/gmock.h>

using namespace brightfold;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

const PackageProblem overTriangles{"triangle-budget", "",
                                   "The package holds 150000 triangles, 50000 more than the "
                                   "budget: simplify the model (--max-triangles 100000)."};
const PackageProblem aLight{"prim-types", "/Model/Sun",
                            "AR Quick Look does not accept prims of type DistantLight."};

TEST_F(WorkflowTest, TheWrittenPackageIsCheckedWithTheConversionsBudget) {
    ConversionOptions options;
    options.textureBudgetBytes = 64 << 20;
    workflow->setConversionOptions(options);
    services->verdict = {{aLight}, {overTriangles}};
    // The writer's self-check already told of the light; the check does not say it twice.
    services->writerNotes = {describeProblem(aLight)};
    const Preview& preview = convertToPreview("big.glb");

    EXPECT_THAT(services->checkedFiles(), ElementsAre(preview.tempURL));
    EXPECT_EQ(preview.verdict, services->verdict);
    EXPECT_EQ(workflow->lastConversion()->verdict, services->verdict);
    EXPECT_THAT(preview.notes,
                ElementsAre(describeProblem(aLight),
                            "Over AR Quick Look's budget: " + overTriangles.message));
}

TEST_F(WorkflowTest, APassingPackageAddsNoNoteAndARuleBrokenUnbeknownToTheWriterDoes) {
    const Preview& passing = convertToPreview("ready.glb");
    EXPECT_THAT(passing.notes, IsEmpty());
    EXPECT_EQ(verdictSummary(passing.verdict), "Ready for AR Quick Look");

    services->verdict = {{aLight}, {}};
    const Preview& preview = convertToPreview("model.glb");
    EXPECT_THAT(preview.notes, ElementsAre("AR Quick Look's rules: /Model/Sun: " + aLight.message));
}

TEST_F(WorkflowTest, APackageOpenedToViewCarriesItsVerdict) {
    services->verdict = {{aLight}, {}};
    workflow->openFiles({folder.write("shop.usdz", "package")});
    finishConversions();
    const auto& viewing = stateCase<Viewing>(workflow->state());
    EXPECT_EQ(viewing.verdict, services->verdict);
    EXPECT_THAT(services->checkedFiles(), ElementsAre(folder.path() / "shop.usdz"));
    EXPECT_EQ(verdictSummary(viewing.verdict), "1 problem for AR Quick Look");
}

TEST_F(WorkflowTest, AUSDZConvertedIsReadWrittenAgainAndSavedBesideItsSource) {
    services->verdict = {{aLight}, {}};
    const auto source = folder.write("shop.usdz", "package");
    workflow->startConversion(source);
    finishConversions();
    const Preview preview = stateCase<Preview>(workflow->state());
    EXPECT_THAT(services->calls(),
                ElementsAre("read shop.usdz", HasSubstr("write"), HasSubstr("read 00000000")));
    EXPECT_THAT(preview.notes,
                Contains(HasSubstr("The source package broke AR Quick Look's rule "
                                   "prim-types, which the new package keeps: /Model/Sun: ")));

    workflow->saveConvertedFile(preview.tempURL, preview.originalURL);
    EXPECT_EQ(stateCase<Success>(workflow->state()).fileURL, folder.path() / "shop-ar.usdz");
    EXPECT_EQ(contentsOf(source), "package") << "the source is left as it was";
}

} // namespace
