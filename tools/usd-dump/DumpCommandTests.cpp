#include "DumpCommand.h"

#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/LayerBuilder.h>
#include <USD/package/PackageWriter.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <sstream>

namespace usd::dump {
namespace {

using ::testing::HasSubstr;

struct Outcome {
    int status;
    std::string out;
    std::string errors;
};

Outcome run(std::vector<std::string> arguments) {
    std::ostringstream out, errors;
    const int status = runDumpCommand(arguments, out, errors);
    return {status, out.str(), errors.str()};
}

std::filesystem::path scratch(const std::string& name) {
    return std::filesystem::path(::testing::TempDir()) / name;
}

std::vector<std::uint8_t> sceneCrate() {
    Layer layer;
    LayerBuilder build(layer);
    build.setLayerMetadata("upAxis", Token{"Y"});
    build.definePrim(Path::fromString("/Root"), "Xform");
    return writeCrate(layer);
}

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

TEST(UsdDump, PrintsCrateFilesAndPackageEntriesAsText) {
    const auto crate = sceneCrate();
    const auto crateFile = scratch("scene.usdc");
    writeFile(crateFile, crate);
    const auto texture = std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'};
    const auto text = std::string("#usda 1.0\ndef \"Extra\" {}\n");
    const std::vector<std::uint8_t> textBytes(text.begin(), text.end());
    const auto package = scratch("scene.usdz");
    const PackageEntry entries[] = {
        {"scene.usdc", crate}, {"extra.usda", textBytes}, {"a.png", texture}};
    writePackage(package, entries);

    const Outcome crateRun = run({crateFile.string()});
    EXPECT_EQ(crateRun.status, 0) << crateRun.errors;
    EXPECT_THAT(crateRun.out, HasSubstr("upAxis = \"Y\""));
    EXPECT_THAT(crateRun.out, HasSubstr("def Xform \"Root\""));
    EXPECT_EQ(run({package.string()}).out, crateRun.out); // the root layer by default
    EXPECT_EQ(run({package.string(), "--entry", "extra.usda"}).out, text);
}

std::vector<std::uint8_t> triangleCrate() {
    Layer layer;
    LayerBuilder build(layer);
    build.setLayerMetadata("metersPerUnit", 1.0);
    const Path mesh = build.definePrim(Path::fromString("/Triangle"), "Mesh");
    build.addAttribute(mesh, "points",
                       {"point3f[]", Array<Vec3f>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}});
    build.addAttribute(mesh, "faceVertexCounts", {"int[]", Array<std::int32_t>{3}});
    build.addAttribute(mesh, "faceVertexIndices", {"int[]", Array<std::int32_t>{0, 1, 2}});
    return writeCrate(layer);
}

TEST(UsdDump, PrintsTheSceneAFileReadsInto) {
    const auto crate = triangleCrate();
    const auto crateFile = scratch("triangle.usdc");
    writeFile(crateFile, crate);
    const auto package = scratch("triangle.usdz");
    const PackageEntry entries[] = {{"triangle.usdc", crate}};
    writePackage(package, entries);

    const Outcome layerRun = run({crateFile.string(), "--scene"});
    EXPECT_EQ(layerRun.status, 0) << layerRun.errors;
    EXPECT_THAT(layerRun.out, HasSubstr("Triangle"));
    EXPECT_THAT(layerRun.out, HasSubstr("triangles"));
    EXPECT_EQ(run({"--scene", package.string()}).out, layerRun.out);
    EXPECT_EQ(run({package.string(), "--scene", "--entry", "triangle.usdc"}).status, 2);

    const Outcome broken = run({scratch("absent.usdz").string(), "--scene"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(std::ranges::count(broken.errors, '\n'), 1) << broken.errors;
}

TEST(UsdDump, ExplainsEveryFailureOnOneLine) {
    const auto package = scratch("textured.usdz");
    const auto crate = sceneCrate();
    const auto texture = std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'};
    const PackageEntry entries[] = {{"scene.usdc", crate}, {"a.png", texture}};
    writePackage(package, entries);
    const auto truncated = scratch("truncated.usdc");
    writeFile(truncated, std::span(crate).first(crate.size() / 2));

    const std::pair<std::vector<std::string>, std::string> failures[] = {
        {{package.string(), "--entry", "missing.usdc"}, "has no entry 'missing.usdc'"},
        {{package.string(), "--entry", "a.png"}, "a.png]' is not a USD layer"},
        {{truncated.string(), "--entry", "x"}, "is not a USDZ package; --entry needs one"},
        {{truncated.string()}, "usd-dump: '" + truncated.string() + "': "},
        {{scratch("absent.usdc").string()}, "Cannot open"},
    };
    for (const auto& [arguments, message] : failures) {
        const Outcome failed = run(arguments);
        EXPECT_EQ(failed.status, 1) << message;
        EXPECT_THAT(failed.errors, HasSubstr(message));
        EXPECT_EQ(std::ranges::count(failed.errors, '\n'), 1) << failed.errors;
    }
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"a.usdc", "b.usdc"}).status, 2);
    EXPECT_EQ(run({"a.usdc", "--entry"}).status, 2);
}

} // namespace
} // namespace usd::dump
