// A package with a distant, a point and a spot light opened by both independent USD readers:
// each must open it cleanly and see every light prim with its type, and the spot's shaping.

#include "SceneBuilding.h"
#include "WrittenPackageOracle.h"

#include <gmock/gmock.h>
#include <map>
#include <simdjson.h>

namespace usd::test {
namespace {

// Each prim's type and applied schemas as one engine reports them, by path.
std::map<std::string, std::string> primsSeen(simdjson::dom::element engine) {
    std::map<std::string, std::string> seen;
    for (simdjson::dom::object prim : engine["prims"].get_array()) {
        std::string_view path, type;
        if (prim["path"].get(path) != simdjson::SUCCESS)
            continue;
        std::string description =
            prim["type"].get(type) == simdjson::SUCCESS ? std::string(type) : "";
        simdjson::dom::element schemas;
        if (prim["apiSchemas"].get(schemas) == simdjson::SUCCESS)
            description += " " + simdjson::to_string(schemas);
        seen[std::string(path)] = description;
    }
    return seen;
}

TEST(LightOracle, BothEnginesSeeTheLightsAndTheSpotsShaping) {
    const OpenedPackage opened = writeAndOpen(*litScene(), "lights.usdz", usdToolsOptions());
    ASSERT_TRUE(opened.written.succeeded) << opened.written.failure;
    if (!opened.skipReason.empty())
        GTEST_SKIP() << opened.skipReason;
    ASSERT_EQ(opened.exitStatus, 0) << opened.complaint << "\n" << opened.report;
    simdjson::dom::parser parser;
    const simdjson::dom::element report = parser.parse(opened.report);
    for (const char* engine : {"openusd", "tinyusdz"}) {
        SCOPED_TRACE(engine);
        const auto seen = primsSeen(report["engines"][engine]);
        const auto typeAt = [&](const std::string& path) {
            const auto found = seen.find("/lights/Rig/" + path);
            return found != seen.end() ? found->second : "(missing)";
        };
        EXPECT_EQ(typeAt("Sun/SunLight"), "DistantLight");
        EXPECT_EQ(typeAt("Bulb/BulbLight"), "SphereLight");
        EXPECT_THAT(typeAt("Lamp/LampLight"), ::testing::StartsWith("SphereLight "));
        EXPECT_THAT(typeAt("Lamp/LampLight"), ::testing::HasSubstr("ShapingAPI"));
    }
}

} // namespace
} // namespace usd::test
