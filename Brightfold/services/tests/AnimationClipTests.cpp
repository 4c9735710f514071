// A model with two animation clips converted through the real services: by default the first
// of two that move the same node, both when they move different ones, or the one asked for.

#include "ServicesConversion.h"

#include <USD/crate_reader/CrateReader.h>
#include <USD/package/PackageReader.h>
#include <array>
#include <cstring>
#include <gmock/gmock.h>

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

// Key times (0, 1) and (0, 2); Walk's translations to (1, 0, 0), Wave's to (0, 3, 0); a
// triangle.
std::string clipBuffer() {
    const std::array<float, 2 + 2 + 6 + 6 + 9> floats = {0, 1, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                                         0, 3, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::string bytes(sizeof(floats), '\0');
    std::memcpy(bytes.data(), floats.data(), sizeof(floats));
    return bytes;
}

// Walk moves the Mover; Wave moves the Mover too, or the Waver beside it.
std::string twoClipModel(bool waveMovesTheMover) {
    return std::string(R"({
  "asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0, 1]}],
  "nodes": [{"name": "Mover", "mesh": 0}, {"name": "Waver", "mesh": 0}],
  "meshes": [{"primitives": [{"attributes": {"POSITION": 4}}]}],
  "buffers": [{"byteLength": 100, "uri": "clips.bin"}],
  "bufferViews": [{"buffer": 0, "byteLength": 100}],
  "accessors": [
    {"bufferView": 0, "componentType": 5126, "count": 2, "type": "SCALAR", "max": [1], "min": [0]},
    {"bufferView": 0, "byteOffset": 8, "componentType": 5126, "count": 2, "type": "SCALAR",
     "max": [2], "min": [0]},
    {"bufferView": 0, "byteOffset": 16, "componentType": 5126, "count": 2, "type": "VEC3"},
    {"bufferView": 0, "byteOffset": 40, "componentType": 5126, "count": 2, "type": "VEC3"},
    {"bufferView": 0, "byteOffset": 64, "componentType": 5126, "count": 3, "type": "VEC3",
     "min": [0, 0, 0], "max": [1, 1, 0]}],
  "animations": [
    {"name": "Walk", "samplers": [{"input": 0, "output": 2}],
     "channels": [{"sampler": 0, "target": {"node": 0, "path": "translation"}}]},
    {"name": "Wave", "samplers": [{"input": 1, "output": 3}],
     "channels": [{"sampler": 0, "target": {"node": )") +
           (waveMovesTheMover ? "0" : "1") + R"(, "path": "translation"}}]}]
})";
}

// How far the package's node moves along x and y, and its timeline's length in codes.
struct Motion {
    float x = 0, y = 0;
    double endCode = 0;
};

Motion motionOf(const std::filesystem::path& package, const std::string& node) {
    const usd::PackageReader reader = usd::PackageReader::open(package);
    const usd::Layer layer = usd::readCrate(reader.rootLayer().bytes);
    Motion motion;
    motion.endCode = *layer.pseudoRoot()->field("endTimeCode")->get<double>();
    const auto path = usd::Path::fromString("/clips/" + node + ".xformOp:translate");
    const usd::Value* samples = layer.spec(path) ? layer.spec(path)->field("timeSamples") : nullptr;
    if (samples)
        for (const usd::Value& value : samples->get<usd::TimeSamples>()->values) {
            motion.x = std::max(motion.x, static_cast<float>(value.get<usd::Vec3d>()->at(0)));
            motion.y = std::max(motion.y, static_cast<float>(value.get<usd::Vec3d>()->at(1)));
        }
    return motion;
}

class ClipConversion : public ServicesConversion {
  protected:
    const brightfold::Preview& convert(bool overlapping, const std::string& animation = {}) {
        folder_.write("clips.bin", clipBuffer());
        brightfold::ConversionOptions options;
        options.animation = animation;
        return ServicesConversion::convert(folder_.write("clips.gltf", twoClipModel(overlapping)),
                                           options);
    }
};

TEST_F(ClipConversion, OverlappingClipsKeepTheFirstAndSayWhich) {
    const brightfold::Preview& preview = convert(true);
    EXPECT_EQ(preview.clips.all, (std::vector<brightfold::SourceClip>{{0, "Walk"}, {1, "Wave"}}));
    EXPECT_EQ(preview.clips.played, std::vector<std::size_t>{0});
    EXPECT_THAT(preview.notes, Contains(HasSubstr("\"Walk\" was written; \"Wave\" was left out")));
    const Motion walked = motionOf(preview.tempURL, "Mover");
    EXPECT_FLOAT_EQ(walked.x, 1);
    EXPECT_FLOAT_EQ(walked.y, 0);
    EXPECT_EQ(walked.endCode, 120) << "Walk's own second";
}

TEST_F(ClipConversion, EachClipAskedForByNameOrIndexIsWrittenAlone) {
    for (const auto& [asked, played] :
         {std::pair<std::string, std::size_t>{"Wave", 1}, {"0", 0}, {"1", 1}}) {
        const brightfold::Preview& preview = convert(true, asked);
        EXPECT_EQ(preview.clips.played, std::vector<std::size_t>{played}) << asked;
        EXPECT_THAT(preview.notes, Not(Contains(HasSubstr("left out")))) << asked;
        const Motion moved = motionOf(preview.tempURL, "Mover");
        EXPECT_FLOAT_EQ(moved.x, played == 0 ? 1 : 0) << asked;
        EXPECT_FLOAT_EQ(moved.y, played == 1 ? 3 : 0) << asked;
        EXPECT_EQ(moved.endCode, played == 1 ? 240 : 120) << asked;
    }
}

TEST_F(ClipConversion, ClipsMovingDifferentNodesBothPlay) {
    const brightfold::Preview& preview = convert(false);
    EXPECT_EQ(preview.clips.played, (std::vector<std::size_t>{0, 1}));
    EXPECT_THAT(preview.notes, Not(Contains(HasSubstr("left out"))));
    EXPECT_FLOAT_EQ(motionOf(preview.tempURL, "Mover").x, 1);
    EXPECT_FLOAT_EQ(motionOf(preview.tempURL, "Waver").y, 3);
    EXPECT_EQ(motionOf(preview.tempURL, "Mover").endCode, 240);
}

} // namespace
