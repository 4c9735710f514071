#include <USD/crate_reader/CrateReader.h>
#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/FieldNames.h>
#include <USD/layer/LayerBuilder.h>
#include <gtest/gtest.h>

using namespace usd;

namespace {

// A file of several megabytes has its arrays decoded on two threads, each taking the costliest
// array left: every array must come back as written, whichever thread decoded it, and values
// that are not arrays must be untouched by that.
TEST(ArrayValues, LargeFilesDecodeTheirArraysOnTwoThreadsToTheValuesWritten) {
    Layer layer;
    LayerBuilder build(layer);
    const Path mesh = build.definePrim(Path::fromString("/Mesh"), "Mesh");
    Array<Vec3f> points(400'000);
    Array<Vec2f> st(400'000);
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i] = {float(i), float(i % 7), 0.5f};
        st[i] = {float(i % 13) / 13, float(i) / 400'000};
    }
    Array<std::int32_t> corners(1'200'000);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        corners[i] = static_cast<std::int32_t>((i * 7919) % points.size());
    }
    Array<std::int64_t> ids(100'000);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ids[i] = static_cast<std::int64_t>(i) << 33;
    }
    const std::vector<std::pair<std::string, AttributeDescription>> attributes{
        {"points", {"point3f[]", Value(points)}},
        {"primvars:st", {"texCoord2f[]", Value(st)}},
        {"faceVertexIndices", {"int[]", Value(corners)}},
        {"faceVertexCounts", {"int[]", Value(Array<std::int32_t>(400'000, 3))}},
        {"ids", {"int64[]", Value(ids)}},
        {"weights", {"double[]", Value(Array<double>{0.25, 0.5, 0.125})}},
        {"names", {"token[]", Value(Array<Token>{{"a"}, {"b"}, {"a"}})}},
        {"label", {"string", Value(std::string("not an array"))}}};
    for (const auto& [name, value] : attributes) {
        build.addAttribute(mesh, name, value);
    }
    const std::vector<std::uint8_t> bytes = writeCrate(layer);
    ASSERT_GE(bytes.size(), std::size_t{4} << 20) << "too small to be decoded on two threads";

    const Layer read = readCrate(bytes);
    for (const auto& [name, value] : attributes) {
        const Spec* spec = read.spec(mesh.appendProperty(name));
        ASSERT_NE(spec, nullptr) << name;
        const Value* stored = spec->field(field::kDefault);
        ASSERT_NE(stored, nullptr) << name;
        EXPECT_EQ(*stored, value.defaultValue) << name;
    }
}

} // namespace
