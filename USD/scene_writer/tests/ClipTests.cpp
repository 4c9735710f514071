// Which animation clips a package plays: by default every clip that moves nothing an earlier
// one moves, or the one clip asked for by name or index.

#include "MovingScenes.h"
#include "SceneBuilding.h"

#include <USD/layer/FieldNames.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::shared_ptr<scene::AnimationGroup> clip(std::size_t index, std::string name, double seconds,
                                            const std::string& keyPath, glm::dvec3 to) {
    auto group = looping(seconds, keys(keyPath, {0, 1}, {glm::dvec3(0.0), to}, seconds));
    group->clip = scene::AnimationClip{index, std::move(name)};
    return group;
}

// Walk (2 s) and Run (1 s) move the walker, Run also the tail; Blink (3 s) only the eye.
std::shared_ptr<scene::Scene> walkerScene() {
    auto scene = emptyScene();
    auto walker = child(scene->rootNode(), "Walker");
    auto tail = child(walker, "Tail");
    auto eye = child(scene->rootNode(), "Eye");
    walker->addAnimation(clip(0, "Walk", 2.0, "position", glm::dvec3(1, 0, 0)));
    walker->addAnimation(clip(1, "Run", 1.0, "position", glm::dvec3(4, 0, 0)));
    tail->addAnimation(clip(1, "Run", 1.0, "scale", glm::dvec3(2.0)));
    eye->addAnimation(clip(2, "Blink", 3.0, "scale", glm::dvec3(0.5)));
    return scene;
}

double endCode(const Layer& layer) {
    return *layer.pseudoRoot()->field("endTimeCode")->get<double>();
}

// How far the walker gets along x: Walk takes it to 1, Run to 4.
double farthestStep(const Layer& layer) {
    const auto* samples =
        metadataOf(layer, "/Root/Walker.xformOp:translate", std::string(field::kTimeSamples))
            ->get<TimeSamples>();
    double farthest = 0;
    for (const Value& value : samples->values)
        farthest = std::max(farthest, value.get<Vec3d>()->at(0));
    return farthest;
}

bool isAnimated(const Layer& layer, const std::string& attribute) {
    return metadataOf(layer, attribute, std::string(field::kTimeSamples)) != nullptr;
}

SceneLayer builtWith(const scene::Scene& scene, const std::string& animation) {
    WriteOptions options;
    options.animation = animation;
    return buildSceneLayer(scene, "Root", {}, options);
}

TEST(SceneWriterClips, OverlappingClipsKeepTheFirstAndDisjointOnesShareTheTimeline) {
    const auto scene = walkerScene();
    const SceneLayer built = buildSceneLayer(*scene);
    EXPECT_EQ(built.clips.all.size(), 3u);
    EXPECT_THAT(built.clips.played, ElementsAre(0, 2));
    EXPECT_NEAR(farthestStep(built.layer), 1, 0.01) << "Walk, not Run";
    EXPECT_FALSE(isAnimated(built.layer, "/Root/Walker/Tail.xformOp:scale"));
    EXPECT_TRUE(isAnimated(built.layer, "/Root/Eye.xformOp:scale"));
    EXPECT_EQ(endCode(built.layer), 360) << "the longest clip written";
    EXPECT_THAT(built.notes, ElementsAre(HasSubstr(
                                 "\"Walk\" and \"Blink\" were written; \"Run\" was left out")));
}

TEST(SceneWriterClips, AClipAskedForByNameOrIndexPlaysAloneOverItsOwnLength) {
    const auto scene = walkerScene();
    for (const std::string asked : {"Run", "1"}) {
        const SceneLayer built = builtWith(*scene, asked);
        EXPECT_THAT(built.clips.played, ElementsAre(1)) << asked;
        EXPECT_EQ(endCode(built.layer), 120) << asked;
        EXPECT_NEAR(farthestStep(built.layer), 4, 0.01) << asked;
        EXPECT_TRUE(isAnimated(built.layer, "/Root/Walker/Tail.xformOp:scale")) << asked;
        EXPECT_FALSE(isAnimated(built.layer, "/Root/Eye.xformOp:scale")) << asked;
        EXPECT_THAT(built.notes, IsEmpty()) << asked;
        EXPECT_THAT(checkWrittenLayer(*scene, built.layer), IsEmpty()) << asked;
    }
}

TEST(SceneWriterClips, AClipTheModelLacksIsNotedAndTheDefaultWritten) {
    const auto scene = walkerScene();
    for (const std::string asked : {"Swim", "3"}) {
        const SceneLayer built = builtWith(*scene, asked);
        EXPECT_THAT(built.clips.played, ElementsAre(0, 2)) << asked;
        ASSERT_EQ(built.notes.size(), 2u) << asked;
        EXPECT_EQ(built.notes[0], "The model has no animation clip \"" + asked +
                                      "\" (its clips: \"Walk\", \"Run\" and \"Blink\"); the "
                                      "default choice was written.");
    }
    const SceneLayer still = builtWith(*emptyScene(), "Walk");
    EXPECT_THAT(still.notes, ElementsAre(HasSubstr("the model has no clips to choose from")));
}

TEST(SceneWriterClips, AnimationsOfNoClipAlwaysPlayAndAClipMovingTheSameIsLeftOut) {
    auto scene = walkerScene();
    auto walker = scene->rootNode()->childNodes()[0];
    walker->addAnimation(
        looping(0.5, keys("position", {0, 1}, {glm::dvec3(0.0), glm::dvec3(9.0)}, 0.5)));
    const SceneLayer built = buildSceneLayer(*scene);
    EXPECT_THAT(built.clips.played, ElementsAre(2)) << "Walk and Run move the walker too";
    EXPECT_NEAR(farthestStep(built.layer), 9, 0.01);
    EXPECT_EQ(endCode(built.layer), 360);
}

} // namespace
} // namespace usd::test
