// Files made to exhaust the scene reader: prims whose references lead back to themselves or to
// an ancestor (an endless tree if followed), and a package whose entries share their bytes.
// Each ends at once, with notes or a SceneReadError, in bounded memory.

#include "SceneReaderTestSupport.h"

#include <BoundedRun.h>
#include <USD/layer/LayerBuilder.h>
#include <algorithm>
#include <array>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace usd::test {
namespace {

using ::testing::HasSubstr;

void referenceWithinTheLayer(LayerBuilder& build, const Path& prim, const Path& target) {
    Reference reference;
    reference.primPath = target;
    build.setMetadata(prim, "references", ReferenceListOp::makePrepended({reference}));
}

template <typename Work> void expectBounded(Work&& work) {
    const auto run = brightfold::testing::measureBounded(work);
    EXPECT_LT(run.processorTime.count(), 1.0);
    EXPECT_LT(run.peakMemoryGrowthMiB, 64.0);
}

TEST(HostileLayers, PrimsReferringToThemselvesOrAnAncestorAreFollowedOnce) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path root = build.definePrim(Path::fromString("/Root"), "Xform");
    const Path child = build.definePrim(Path::fromString("/Root/Child"), "Xform");
    referenceWithinTheLayer(build, root, root);
    referenceWithinTheLayer(build, child, root);
    build.setLayerMetadata("defaultPrim", Token{"Root"});
    ReadResult result;
    expectBounded([&] { result = readLayer(layer); });
    ASSERT_NE(result.scene, nullptr);
    EXPECT_THAT(::testing::PrintToString(result.notes), HasSubstr("leads back to itself"));
}

TEST(HostileLayers, APackageWhoseEntriesOverlapIsRefused) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    defineQuad(build, "/Quad");
    const auto path = writeTestPackage({crateFile("scene.usdc", layer), {"b.png", {1, 2, 3}}});
    auto bytes = readFile(path);
    // The first entry's sizes, in its local header and in the central directory, grow to take
    // in the second entry's header.
    const std::uint32_t swallowing = static_cast<std::uint32_t>(bytes.size() / 2);
    const std::array<std::uint8_t, 4> central{'P', 'K', 1, 2};
    const auto record = std::search(bytes.begin(), bytes.end(), central.begin(), central.end());
    ASSERT_NE(record, bytes.end());
    const auto centralAt = static_cast<std::size_t>(record - bytes.begin());
    for (const std::size_t field :
         {std::size_t{18}, std::size_t{22}, centralAt + 20, centralAt + 24})
        std::memcpy(bytes.data() + field, &swallowing, sizeof swallowing);
    writeFile(path, bytes);
    std::string failure;
    expectBounded([&] {
        try {
            readUSDZ(path);
        } catch (const SceneReadError& error) {
            failure = error.what();
        }
    });
    EXPECT_THAT(failure, HasSubstr("not a valid USDZ package"));
}

} // namespace
} // namespace usd::test
