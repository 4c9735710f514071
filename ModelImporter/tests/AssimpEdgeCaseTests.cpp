#include "SceneInspection.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <gmock/gmock.h>
#include <map>
#include <unistd.h>

using namespace modelimporter;
using ::testing::HasSubstr;

namespace {

constexpr double tolerance = 1e-6;

// A binary buffer built view by view; each view starts on a four-byte boundary.
class BufferBuilder {
  public:
    template <class T> std::size_t addView(const std::vector<T>& values) {
        bytes_.resize((bytes_.size() + 3) / 4 * 4);
        const std::size_t offset = bytes_.size();
        bytes_.resize(offset + values.size() * sizeof(T));
        std::memcpy(bytes_.data() + offset, values.data(), values.size() * sizeof(T));
        views_ += std::string(views_.empty() ? "" : ",") + R"({"buffer": 0, "byteOffset": )" +
                  std::to_string(offset) + R"(, "byteLength": )" +
                  std::to_string(values.size() * sizeof(T)) + "}";
        return viewCount_++;
    }
    const std::vector<char>& bytes() const { return bytes_; }
    const std::string& views() const { return views_; }

  private:
    std::vector<char> bytes_;
    std::string views_;
    std::size_t viewCount_ = 0;
};

// One triangle skinned to a chain of six bones and with one morph target:
// vertex 0 has six influences (0.05, 0.3, 0.12, 0.25, 0.2, 0.08 on bones 0 … 5), vertex 1 has
// none, vertex 2 follows bone 5 alone. The morph target moves positions but has no normals,
// while the mesh has them. Bone k's inverse bind matrix moves by −k along x. Animation "Move"
// steps the morph weight over one second (0.25, then 0.75) and moves bone 1 linearly over two.
std::string edgeCaseDocument(BufferBuilder& buffer) {
    const std::vector<float> positions = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const std::vector<float> normals = {0, 0, 1, 0, 0, 1, 0, 0, 1};
    const std::vector<std::uint8_t> joints0 = {0, 1, 2, 3, 0, 0, 0, 0, 5, 0, 0, 0};
    const std::vector<std::uint8_t> joints1 = {4, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<float> weights0 = {0.05f, 0.3f, 0.12f, 0.25f, 0, 0, 0, 0, 1, 0, 0, 0};
    const std::vector<float> weights1 = {0.2f, 0.08f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<float> targetPositions = {0, 0, 0.5f, 0, 0, 0, 0, 0, 0.25f};
    std::vector<float> inverseBinds;
    for (int bone = 0; bone < 6; ++bone) {
        const std::vector<float> matrix = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -float(bone),
                                           0, 0, 1};
        inverseBinds.insert(inverseBinds.end(), matrix.begin(), matrix.end());
    }
    const std::vector<float> weightTimes = {0, 1};
    const std::vector<float> weightValues = {0.25f, 0.75f};
    const std::vector<float> moveTimes = {0, 1, 2};
    const std::vector<float> moves = {0, 0, 0, 0, 2, 0, 0, 4, 0};
    buffer.addView(positions);
    buffer.addView(normals);
    buffer.addView(joints0);
    buffer.addView(joints1);
    for (const std::vector<float>* floats : std::initializer_list<const std::vector<float>*>{
             &weights0, &weights1, &targetPositions, &inverseBinds, &weightTimes, &weightValues,
             &moveTimes, &moves}) {
        buffer.addView(*floats);
    }
    return R"({
  "asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0, 1]}],
  "nodes": [{"name": "Body", "mesh": 0, "skin": 0},
            {"name": "Bone0", "children": [2]}, {"name": "Bone1", "children": [3], "translation": [1, 0, 0]},
            {"name": "Bone2", "children": [4], "translation": [1, 0, 0]},
            {"name": "Bone3", "children": [5], "translation": [1, 0, 0]},
            {"name": "Bone4", "children": [6], "translation": [1, 0, 0]},
            {"name": "Bone5", "translation": [1, 0, 0]}],
  "skins": [{"joints": [1, 2, 3, 4, 5, 6], "inverseBindMatrices": 7}],
  "meshes": [{"name": "Body", "weights": [0.5], "primitives": [{
    "attributes": {"POSITION": 0, "NORMAL": 1, "JOINTS_0": 2, "JOINTS_1": 3, "WEIGHTS_0": 4, "WEIGHTS_1": 5},
    "targets": [{"POSITION": 6}]}]}],
  "animations": [{"name": "Move",
    "samplers": [{"input": 8, "output": 9, "interpolation": "STEP"}, {"input": 10, "output": 11}],
    "channels": [{"sampler": 0, "target": {"node": 0, "path": "weights"}},
                 {"sampler": 1, "target": {"node": 2, "path": "translation"}}]}],
  "buffers": [{"byteLength": )" +
           std::to_string(buffer.bytes().size()) + R"(, "uri": "edge.bin"}],
  "bufferViews": [)" +
           buffer.views() +
           R"(],
  "accessors": [
    {"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3", "min": [0, 0, 0], "max": [1, 1, 0]},
    {"bufferView": 1, "componentType": 5126, "count": 3, "type": "VEC3"},
    {"bufferView": 2, "componentType": 5121, "count": 3, "type": "VEC4"},
    {"bufferView": 3, "componentType": 5121, "count": 3, "type": "VEC4"},
    {"bufferView": 4, "componentType": 5126, "count": 3, "type": "VEC4"},
    {"bufferView": 5, "componentType": 5126, "count": 3, "type": "VEC4"},
    {"bufferView": 6, "componentType": 5126, "count": 3, "type": "VEC3", "min": [0, 0, 0], "max": [0, 0, 0.5]},
    {"bufferView": 7, "componentType": 5126, "count": 6, "type": "MAT4"},
    {"bufferView": 8, "componentType": 5126, "count": 2, "type": "SCALAR", "min": [0], "max": [1]},
    {"bufferView": 9, "componentType": 5126, "count": 2, "type": "SCALAR"},
    {"bufferView": 10, "componentType": 5126, "count": 3, "type": "SCALAR", "min": [0], "max": [2]},
    {"bufferView": 11, "componentType": 5126, "count": 3, "type": "VEC3"}]
})";
}

class EdgeCaseFile : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::atomic<int> counter = 0;
        directory_ =
            std::filesystem::temp_directory_path() /
            ("modelimporter-edge-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(directory_);
        BufferBuilder buffer;
        const std::string document = edgeCaseDocument(buffer);
        std::ofstream(directory_ / "edge.bin", std::ios::binary)
            .write(buffer.bytes().data(), static_cast<std::streamsize>(buffer.bytes().size()));
        std::ofstream(directory_ / "edge.gltf") << document;
        scene_ = importWithAssimp(directory_ / "edge.gltf");
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::shared_ptr<scene::Node> node(const std::string& name) const {
        return scene_->rootNode()->childNodeWithName(name, true);
    }
    const scene::Node& primitive() const { return *geometryNodes(*scene_).at(0); }

    std::filesystem::path directory_;
    std::shared_ptr<scene::Scene> scene_;
};

// Weight per bone index of one vertex.
std::map<int, double> influencesOf(const scene::Skinner& skinner, std::size_t vertex) {
    std::map<int, double> influences;
    const glm::dvec4 weights = skinner.boneWeights()->vector(vertex);
    const glm::dvec4 bones = skinner.boneIndices()->vector(vertex);
    for (int i = 0; i < 4; ++i) {
        if (weights[i] != 0) {
            influences[static_cast<int>(bones[i])] = weights[i];
        }
    }
    return influences;
}

TEST_F(EdgeCaseFile, StrongestFourInfluencesAreKeptAndRenormalised) {
    const auto& skinner = *primitive().skinner();
    ASSERT_EQ(skinner.boneCount(), 6u);
    const std::map<int, double> first = influencesOf(skinner, 0);
    ASSERT_EQ(first.size(), 4u);
    const double kept = 0.3 + 0.12 + 0.25 + 0.2;
    EXPECT_NEAR(first.at(1), 0.3 / kept, tolerance);
    EXPECT_NEAR(first.at(2), 0.12 / kept, tolerance);
    EXPECT_NEAR(first.at(3), 0.25 / kept, tolerance);
    EXPECT_NEAR(first.at(4), 0.2 / kept, tolerance);
    EXPECT_THAT(scene::notes(*scene_),
                ::testing::Contains(HasSubstr("1 vertex of mesh \"Body\" follows more than four")));
}

TEST_F(EdgeCaseFile, VerticesWithoutWeightsStayUnweightedAndOthersKeepTheirBone) {
    const auto& skinner = *primitive().skinner();
    EXPECT_TRUE(influencesOf(skinner, 1).empty());
    EXPECT_EQ(influencesOf(skinner, 2), (std::map<int, double>{{5, 1.0}}));
}

TEST_F(EdgeCaseFile, BonesAreTheSceneNodesWithTheirInverseBindMatrices) {
    const auto& skinner = *primitive().skinner();
    for (std::size_t b = 0; b < skinner.boneCount(); ++b) {
        EXPECT_EQ(skinner.bones()[b], node("Bone" + std::to_string(b)));
        const scene::Matrix4& inverseBind = skinner.boneInverseBindTransforms()->at(b);
        EXPECT_NEAR(inverseBind[3][0], -static_cast<double>(b), tolerance);
        EXPECT_NEAR(inverseBind[0][0], 1.0, tolerance);
    }
}

TEST_F(EdgeCaseFile, MorphTargetWithoutNormalsKeepsItsPositionOffsets) {
    const auto& morpher = *primitive().morpher();
    ASSERT_EQ(morpher.targets().size(), 1u);
    const auto& target = *morpher.targets()[0];
    EXPECT_EQ(target.firstSource(scene::GeometrySemantic::normal), nullptr);
    const auto offsets = target.firstSource(scene::GeometrySemantic::vertex);
    ASSERT_NE(offsets, nullptr);
    EXPECT_NEAR(offsets->vector(0).z, 0.5, tolerance);
    EXPECT_NEAR(offsets->vector(2).z, 0.25, tolerance);
    EXPECT_NEAR(morpher.weight(0), 0.5, tolerance) << "the mesh's default weight";
}

// The weights channel is shorter than the node channel and stepped: it loops over its own
// second and holds each key, while the bone moves linearly over two seconds.
TEST_F(EdgeCaseFile, ShortSteppedWeightsLoopOnTheirOwnAndNodeChannelsOnTheLongest) {
    const auto body = node("Body");
    const auto weights =
        std::dynamic_pointer_cast<scene::AnimationGroup>(body->animationForKey("weights"));
    ASSERT_NE(weights, nullptr);
    EXPECT_DOUBLE_EQ(weights->duration, 1.0);
    EXPECT_EQ(weights->animations.size(), 1u);
    const auto bone = node("Bone1");
    const auto translation =
        std::dynamic_pointer_cast<scene::AnimationGroup>(bone->animationForKey("translation"));
    ASSERT_NE(translation, nullptr);
    EXPECT_DOUBLE_EQ(translation->duration, 2.0);

    const auto& morpher = *primitive().morpher();
    for (const auto& [seconds, weight, height] :
         {std::tuple{0.5, 0.25, 1.0}, std::tuple{1.5, 0.25, 3.0}, std::tuple{0.99, 0.25, 1.98}}) {
        scene::applyAnimations(*scene_->rootNode(), seconds);
        EXPECT_NEAR(morpher.weight(0), weight, tolerance) << seconds << " s";
        EXPECT_NEAR(bone->position().y, height, tolerance) << seconds << " s";
    }
}

} // namespace
