// Sublayers, references, payloads, variants and what is left out of the scene.

#include "SceneReaderTestSupport.h"

#include <algorithm>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::HasSubstr;

Layer layerWithQuad(const std::string& prim) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    defineQuad(build, prim);
    build.setLayerMetadata("defaultPrim", Token{prim.substr(1)});
    return layer;
}

void addReference(LayerBuilder& build, const Path& prim, std::string asset, Path target = {}) {
    Reference reference;
    reference.assetPath = std::move(asset);
    reference.primPath = std::move(target);
    build.setMetadata(prim, "references", ReferenceListOp::makePrepended({reference}));
}

std::size_t meshCount(const scene::Scene& scene) {
    return scene.rootNode()
        ->childNodesPassingTest([](const scene::Node& node) { return node.geometry() != nullptr; })
        .size();
}

TEST(Composition, ReferencesAndPayloadsResolveInsideThePackageAndBesideTheFile) {
    Layer root = metreLayer();
    LayerBuilder build(root);
    // Typeless, so the referenced prim's type applies.
    addReference(build, build.definePrim(Path::fromString("/Inside")), "parts/part.usdc");
    const Path beside = build.definePrim(Path::fromString("/Lazy"));
    build.setMetadata(
        beside, "payload",
        PayloadListOp::makePrepended({Payload{"other.usdc", Path::fromString("/Q"), {}}}));
    const std::vector<TestFile> files{crateFile("scene.usdc", root),
                                      crateFile("parts/part.usdc", layerWithQuad("/Part")),
                                      crateFile("other.usdc", layerWithQuad("/Q"))};
    for (const ReadResult& result : {readPackage(files), readLayerFiles(files)}) {
        EXPECT_EQ(meshCount(*result.scene), 2u);
        // The referenced prim's contents arrive under the referencing prim's name.
        ASSERT_NE(findNode(*result.scene, "Inside"), nullptr);
        EXPECT_NE(findNode(*result.scene, "Inside")->geometry(), nullptr);
    }
}

TEST(Composition, SublayersOversAndInternalReferencesMerge) {
    Layer strong = metreLayer();
    LayerBuilder build(strong);
    build.setLayerMetadata("subLayers", StringVector{{"weak.usdc"}});
    // An over that only moves the mesh the weaker layer defines.
    const Path over = build.definePrim(Path::fromString("/Quad"), "", Specifier::Over);
    build.addAttribute(over, "xformOp:translate", {"double3", Vec3d{0, 5, 0}});
    build.addAttribute(over, "xformOpOrder",
                       {"token[]", Array<Token>{{"xformOp:translate"}}, Variability::Uniform});
    addReference(build, build.definePrim(Path::fromString("/Copy")), "", Path::fromString("/Quad"));
    const Path orphan = build.definePrim(Path::fromString("/OnlyOver"), "Xform", Specifier::Over);
    defineQuad(build, orphan.appendChild("Hidden").text());
    const ReadResult result = readLayerFiles(
        {crateFile("scene.usdc", strong), crateFile("weak.usdc", layerWithQuad("/Quad"))});
    const auto quad = findNode(*result.scene, "Quad");
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(quad->position(), glm::dvec3(0, 5, 0));
    EXPECT_NE(findNode(*result.scene, "Copy")->geometry(), nullptr);
    EXPECT_EQ(findNode(*result.scene, "OnlyOver"), nullptr);
}

TEST(Composition, VariantsUseTheSelectionElseTheFirstVariant) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    for (const char* prim : {"/Chosen", "/Default"}) {
        const Path path = build.definePrim(Path::fromString(prim), "Xform");
        build.setMetadata(path, "variantSetChildren", TokenVector{{{"look"}}});
        const Path set = path.appendVariantSelection("look", "");
        layer.createSpec(set, SpecType::VariantSet)
            .setField("variantChildren", TokenVector{{{"plain"}, {"fancy"}}});
        for (const char* variant : {"plain", "fancy"}) {
            const Path selection = path.appendVariantSelection("look", variant);
            layer.createSpec(selection, SpecType::Variant);
            build.definePrim(selection.appendChild(std::string(variant) + "Part"), "Xform");
        }
    }
    build.setMetadata(Path::fromString("/Chosen"), "variantSelection",
                      VariantSelectionMap{{"look", "fancy"}});
    const auto scene = readLayer(layer).scene;
    EXPECT_NE(findNode(*scene, "Chosen")->childNodeWithName("fancyPart", false), nullptr);
    EXPECT_EQ(findNode(*scene, "Chosen")->childNodeWithName("plainPart", false), nullptr);
    EXPECT_NE(findNode(*scene, "Default")->childNodeWithName("plainPart", false), nullptr);
}

TEST(Composition, InactiveInvisibleGuideAndClassPrimsAreLeftOut) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    build.definePrim(Path::fromString("/Shown"), "Xform");
    build.setMetadata(build.definePrim(Path::fromString("/Inactive"), "Xform"), "active", false);
    build.addAttribute(build.definePrim(Path::fromString("/Invisible"), "Xform"), "visibility",
                       {"token", Token{"invisible"}});
    build.definePrim(Path::fromString("/Invisible/Child"), "Xform");
    build.addAttribute(build.definePrim(Path::fromString("/Guide"), "Xform"), "purpose",
                       {"token", Token{"guide"}, Variability::Uniform});
    build.definePrim(Path::fromString("/Template"), "Xform", Specifier::Class);
    const auto scene = readLayer(layer).scene;
    EXPECT_EQ(scene->rootNode()->name(), "Shown");
    EXPECT_TRUE(scene->rootNode()->childNodes().empty());
}

TEST(Composition, CyclesAndMissingTargetsAreReportedNotFollowed) {
    Layer a = metreLayer();
    LayerBuilder buildA(a);
    addReference(buildA, buildA.definePrim(Path::fromString("/A"), "Xform"), "b.usdc");
    buildA.definePrim(Path::fromString("/Lost"), "Xform");
    addReference(buildA, Path::fromString("/Lost"), "missing.usdc");
    buildA.setLayerMetadata("defaultPrim", Token{"A"});
    buildA.setLayerMetadata("subLayers", StringVector{{"scene.usdc"}});
    Layer b = metreLayer();
    LayerBuilder buildB(b);
    addReference(buildB, buildB.definePrim(Path::fromString("/B"), "Xform"), "scene.usdc");
    buildB.setLayerMetadata("defaultPrim", Token{"B"});
    const ReadResult result = readLayerFiles({crateFile("scene.usdc", a), crateFile("b.usdc", b)});
    EXPECT_NE(findNode(*result.scene, "A"), nullptr);
    const std::string all = ::testing::PrintToString(result.notes);
    EXPECT_THAT(all, HasSubstr("leads back to itself"));
    EXPECT_THAT(all, HasSubstr("@missing.usdc@"));
    EXPECT_THAT(all, HasSubstr("includes itself"));
}

TEST(Composition, UnreadableFilesFailWithAClearMessage) {
    const auto folder = scratchFolder();
    const auto expectFailure = [](auto read, const std::string& message) {
        try {
            read();
            ADD_FAILURE() << "no error for " << message;
        } catch (const SceneReadError& error) {
            EXPECT_THAT(error.what(), HasSubstr(message));
        }
    };
    expectFailure([&] { readUSDLayerFile(folder / "absent.usdc"); },
                  "absent.usdc cannot be opened");
    expectFailure([&] { readUSDZ(folder / "absent.usdz"); }, "absent.usdz");
    const std::string text = "#usda 1.0\n";
    expectFailure(
        [&] {
            readPackage({{"scene.usda", {text.begin(), text.end()}}});
        },
        "text (.usda) layer");
    // The package's checksums are checked while its layer is read: a corrupt entry is named
    // whether it broke the layer's decoding or lay in a texture.
    const TestFile layer = crateFile("scene.usdc", layerWithQuad("/Q"));
    const std::string texture = "pretend texture bytes";
    for (const std::string& target : {std::string("PXR-USDC"), texture}) {
        const auto package =
            writeTestPackage({layer, {"tex/a.png", {texture.begin(), texture.end()}}});
        std::vector<std::uint8_t> bytes = readFile(package);
        std::search(bytes.begin(), bytes.end(), target.begin(), target.end())[2] ^= 0x20;
        writeFile(package, bytes);
        expectFailure([&] { readUSDZ(package); }, "is corrupt (CRC-32 mismatch)");
    }
    std::vector<std::uint8_t> truncated = crateFile("x", layerWithQuad("/Q")).bytes;
    truncated.resize(truncated.size() / 2);
    expectFailure(
        [&] {
            readLayerFiles({{"broken.usdc", truncated}});
        },
        "broken.usdc cannot be read");
}

} // namespace
} // namespace usd::test
