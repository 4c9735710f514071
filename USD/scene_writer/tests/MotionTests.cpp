// What moves: the time base, node animations, skeletons, skinned meshes, blend shapes and
// their weights, checked on small scenes built in code.

#include "MovingScenes.h"
#include "SceneBuilding.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <USD/layer/FieldNames.h>
#include <USD/layer/LayerBuilder.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using scene::GeometrySemantic;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TimeSamples samplesAt(const Layer& layer, const std::string& path) {
    const Value* value = metadataOf(layer, path, std::string(field::kTimeSamples));
    const TimeSamples* samples = value ? value->get<TimeSamples>() : nullptr;
    if (!samples) {
        ADD_FAILURE() << "no time samples at " << path;
        return {};
    }
    return *samples;
}

double layerNumber(const Layer& layer, const std::string& name) {
    const Value* value = layer.pseudoRoot()->field(name);
    return value && value->get<double>() ? *value->get<double>() : -1;
}

std::vector<std::string> tokensAt(const Layer& layer, const std::string& path) {
    std::vector<std::string> texts;
    for (const Token& token : valueAt<Array<Token>>(layer, path))
        texts.push_back(token.text);
    return texts;
}

TEST(SceneWriterAnimation, NodeChannelsBecomeTimeSamplesOnTheOneTimeline) {
    auto scene = emptyScene();
    auto spinner = child(scene->rootNode(), "Spinner");
    spinner->addAnimation(
        looping(2.0, keys("position", {0, 0.5, 1},
                          {glm::dvec3(0.0), glm::dvec3(1, 0, 0), glm::dvec3(2, 0, 0)}, 2.0)));
    spinner->addAnimation(looping(
        2.0, keys("scale", {0, 0.5}, {glm::dvec3(1.0), glm::dvec3(2.0)}, 1.0, /*steps=*/true)));
    const SceneLayer built = buildSceneLayer(*scene);
    const Layer& layer = built.layer;

    EXPECT_EQ(layerNumber(layer, "timeCodesPerSecond"), 120);
    EXPECT_EQ(layerNumber(layer, "framesPerSecond"), 120);
    EXPECT_EQ(layerNumber(layer, "startTimeCode"), 0);
    EXPECT_EQ(layerNumber(layer, "endTimeCode"), 240);
    const TimeSamples translate = samplesAt(layer, "/Root/Spinner.xformOp:translate");
    EXPECT_THAT(translate.times, ElementsAre(0, 120, 240));
    EXPECT_EQ(translate.values[1], Value(Vec3d{1, 0, 0}));
    // A step holds its value up to one code before the next key; the last key holds to the end.
    const TimeSamples scale = samplesAt(layer, "/Root/Spinner.xformOp:scale");
    EXPECT_THAT(scale.times, ElementsAre(0, 59, 60, 240));
    EXPECT_EQ(scale.values[1], Value(Vec3f{1, 1, 1}));
    EXPECT_EQ(scale.values[2], Value(Vec3f{2, 2, 2}));
    EXPECT_THAT(tokensAt(layer, "/Root/Spinner.xformOpOrder"),
                ElementsAre("xformOp:translate", "xformOp:scale"));
    EXPECT_THAT(checkWrittenLayer(*scene, layer), IsEmpty());
}

TEST(SceneWriterAnimation, OddKeyTimesRoundToWholeCodesAndRotationsTakeTheShorterArc) {
    auto scene = emptyScene();
    auto node = child(scene->rootNode(), "Turner");
    const glm::dvec4 quarter(0, std::sqrt(0.5), 0, std::sqrt(0.5));
    node->addAnimation(looping(1.0, keys("orientation", {0, 0.3337, 1},
                                         {glm::dvec4(0, 0, 0, 1), quarter, -quarter}, 1.0)));
    const Layer layer = buildSceneLayer(*scene).layer;
    const TimeSamples orient = samplesAt(layer, "/Root/Turner.xformOp:orient");
    EXPECT_THAT(orient.times, ElementsAre(0, 40, 120));
    // The same rotation given as its negation is written on the side of the key before.
    EXPECT_EQ(orient.values[2], orient.values[1]);
}

TEST(SceneWriterAnimation, ACubicSplineRotationIsSampledAlongItsCurve) {
    auto scene = emptyScene();
    auto node = child(scene->rootNode(), "Swing");
    const glm::dvec4 quarter(0, std::sqrt(0.5), 0, std::sqrt(0.5));
    auto spline = keys("orientation", {0, 1}, {glm::dvec4(0, 0, 0, 1), quarter}, 1.0);
    spline->inTangents = {glm::dvec4(0.0), glm::dvec4(0.0)};
    spline->outTangents = {glm::dvec4(0.0), glm::dvec4(0.0)};
    node->addAnimation(looping(1.0, spline));
    const Layer layer = buildSceneLayer(*scene).layer;
    const TimeSamples orient = samplesAt(layer, "/Root/Swing.xformOp:orient");
    ASSERT_EQ(orient.times.size(), 121u) << "a sample at every code between the keys";
    EXPECT_EQ(orient.times[30], 30);
    const glm::dvec4 eased = *spline->valueAtFraction(0.25).as<glm::dvec4>();
    const Quatf written = *orient.values[30].get<Quatf>();
    EXPECT_NEAR(written.imaginary[1], eased.y, 1e-6);
    EXPECT_LT(written.imaginary[1], std::sin(M_PI / 16) - 0.05) << "not the even turn";
    EXPECT_THAT(checkWrittenLayer(*scene, layer), IsEmpty());
}

TEST(SceneWriterAnimation, AllAnimationsShareTheTimelineAndTheLastOfOnePropertyShows) {
    auto scene = emptyScene();
    auto first = child(scene->rootNode(), "First");
    auto second = child(scene->rootNode(), "Second");
    first->addAnimation(
        looping(3.0, keys("position", {0, 1}, {glm::dvec3(0.0), glm::dvec3(1.0)}, 1.0)));
    first->addAnimation(
        looping(3.0, keys("position", {0, 1}, {glm::dvec3(5.0), glm::dvec3(6.0)}, 2.0)));
    second->addAnimation(
        looping(3.0, keys("scale", {0, 1}, {glm::dvec3(1.0), glm::dvec3(2.0)}, 3.0)));
    const SceneLayer built = buildSceneLayer(*scene);
    EXPECT_EQ(layerNumber(built.layer, "endTimeCode"), 360);
    const TimeSamples translate = samplesAt(built.layer, "/Root/First.xformOp:translate");
    EXPECT_THAT(translate.times, ElementsAre(0, 240, 360)) << "held after its keys end";
    EXPECT_EQ(translate.values.front(), Value(Vec3d{5, 5, 5}));
    EXPECT_THAT(samplesAt(built.layer, "/Root/Second.xformOp:scale").times, ElementsAre(0, 360));
    EXPECT_THAT(built.notes, ElementsAre(HasSubstr("several animations drive \"position\"")));
}

TEST(SceneWriterAnimation, AStaticSceneHasNoTimeMetadata) {
    const auto scene = sceneWithGeometry(quadGeometry());
    const Layer layer = buildSceneLayer(*scene).layer;
    EXPECT_EQ(layer.pseudoRoot()->field("endTimeCode"), nullptr);
    EXPECT_EQ(layer.pseudoRoot()->field("timeCodesPerSecond"), nullptr);
}

TEST(SceneWriterAnimation, KeyPathsThatAddressNothingAreReported) {
    auto scene = emptyScene();
    auto node = child(scene->rootNode(), "Lamp");
    node->addAnimation(looping(1.0, keys("intensity", {0, 1}, {1.0, 2.0}, 1.0)));
    const SceneLayer built = buildSceneLayer(*scene);
    EXPECT_THAT(built.notes, Contains(HasSubstr("\"intensity\" was left out")));
}

TEST(SceneWriterSkinning, SkeletonBelowTheBonesNonBoneAncestorWithRemappedNormalisedWeights) {
    const Rig scene = rig({{1, 0, 0, 0}, {0.5, 0.5, 0, 0}, {0, 0, 0, 0}, {2, 2, 0, 0}},
                          {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}});
    const SceneLayer built = buildSceneLayer(*scene.scene);
    const Layer& layer = built.layer;

    EXPECT_EQ(typeOf(layer, "/Root/Armature/Skel"), "SkelRoot");
    EXPECT_THAT(tokensAt(layer, "/Root/Armature/Skel/Skeleton.joints"),
                ElementsAre("Hips", "Hips/Spine"));
    const auto binds =
        valueAt<Array<Matrix4d>>(layer, "/Root/Armature/Skel/Skeleton.bindTransforms");
    ASSERT_EQ(binds.size(), 2u);
    EXPECT_EQ(binds[0].rowMajor[13], 2.0) << "Hips binds at the inverse of its inverse bind";
    EXPECT_EQ(binds[1].rowMajor[13], 3.0);
    const auto rests =
        valueAt<Array<Matrix4d>>(layer, "/Root/Armature/Skel/Skeleton.restTransforms");
    ASSERT_EQ(rests.size(), 2u);
    EXPECT_EQ(rests[1].rowMajor[13], 1.0) << "rest transforms are local";

    const std::string mesh = "/Root/Armature/Skel/Body";
    EXPECT_EQ(typeOf(layer, mesh), "Mesh");
    EXPECT_FALSE(hasSpec(layer, mesh + ".xformOp:translate")) << "its own transform is ignored";
    EXPECT_FALSE(hasSpec(layer, "/Root/Armature/Body"));
    EXPECT_EQ(sourceOf(layer, mesh + ".skel:skeleton"), "/Root/Armature/Skel/Skeleton");
    // Bone 0 (Spine) is joint 1; the zero row follows the skin's first bone.
    // No vertex follows more than two bones: two slots each.
    EXPECT_THAT(valueAt<Array<std::int32_t>>(layer, mesh + ".primvars:skel:jointIndices"),
                ElementsAre(1, 0, 1, 0, 1, 0, 1, 0));
    EXPECT_THAT(valueAt<Array<float>>(layer, mesh + ".primvars:skel:jointWeights"),
                ElementsAre(1, 0, 0.5, 0.5, 1, 0, 0.5, 0.5));
    EXPECT_EQ(*metadataOf(layer, mesh + ".primvars:skel:jointWeights", "elementSize"),
              Value(std::int32_t{2}));
    EXPECT_THAT(built.notes, Contains(HasSubstr("1 vertices had only zero skin weights")));
    EXPECT_TRUE(hasSpec(layer, "/Root/Armature/Hips/Spine/Sword")) << "rigid children stay";
    EXPECT_EQ(sourceOf(layer, "/Root/Armature/Skel.skel:animationSource"),
              "/Root/Armature/Skel/Animation");
    EXPECT_THAT(checkWrittenLayer(*scene.scene, layer), IsEmpty());
}

TEST(SceneWriterSkinning, TheStrongestFourOfMoreInfluencesAreKept) {
    const Rig scene =
        rig({{0.1f, 0.3f, 0.05f, 0.2f, 0.25f, 0.1f},
             {1, 0, 0, 0, 0, 0},
             {1, 0, 0, 0, 0, 0},
             {1, 0, 0, 0, 0, 0}},
            {{0, 1, 0, 1, 0, 1}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}});
    const SceneLayer built = buildSceneLayer(*scene.scene);
    const auto weights =
        valueAt<Array<float>>(built.layer, "/Root/Armature/Skel/Body.primvars:skel:jointWeights");
    ASSERT_EQ(weights.size(), 16u);
    EXPECT_NEAR(weights[0], 0.3 / 0.85, 1e-6);
    EXPECT_NEAR(weights[1], 0.25 / 0.85, 1e-6);
    EXPECT_NEAR(weights[2], 0.2 / 0.85, 1e-6);
    EXPECT_NEAR(weights[3], 0.1 / 0.85, 1e-6);
    EXPECT_THAT(built.notes, Contains(HasSubstr("the strongest 4 were kept")));
}

// Rows get as many slots as the busiest vertex, which may come last: the rows before it keep
// their influences, padded.
TEST(SceneWriterSkinning, RowsWidenForABusierVertexAndKeepTheEarlierOnes) {
    const Rig scene = rig({{1, 0, 0, 0}, {0.5f, 0.5f, 0, 0}, {0.2f, 0.3f, 0.5f, 0}, {1, 0, 0, 0}},
                          {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}});
    const SceneLayer built = buildSceneLayer(*scene.scene);
    const std::string mesh = "/Root/Armature/Skel/Body";
    EXPECT_THAT(valueAt<Array<std::int32_t>>(built.layer, mesh + ".primvars:skel:jointIndices"),
                ElementsAre(1, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0));
    EXPECT_THAT(valueAt<Array<float>>(built.layer, mesh + ".primvars:skel:jointWeights"),
                ElementsAre(1, 0, 0, 0.5f, 0.5f, 0, 0.2f, 0.3f, 0.5f, 1, 0, 0));
    EXPECT_EQ(*metadataOf(built.layer, mesh + ".primvars:skel:jointIndices", "elementSize"),
              Value(std::int32_t{3}));
}

TEST(SceneWriterSkinning, AnimatedBonesAreSampledAtTheUnionOfTheirKeys) {
    Rig scene = rig({{1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}},
                    {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}});
    scene.hips->addAnimation(looping(
        1.0, keys("orientation", {0, 1}, {glm::dvec4(0, 0, 0, 1), glm::dvec4(0, 1, 0, 0)}, 1.0)));
    scene.spine->addAnimation(
        looping(1.0, keys("position", {0, 0.5, 1},
                          {glm::dvec3(0, 1, 0), glm::dvec3(0, 2, 0), glm::dvec3(0, 1, 0)}, 1.0)));
    const Layer layer = buildSceneLayer(*scene.scene).layer;
    const std::string animation = "/Root/Armature/Skel/Animation";
    const TimeSamples rotations = samplesAt(layer, animation + ".rotations");
    EXPECT_THAT(rotations.times, ElementsAre(0, 60, 120));
    const TimeSamples translations = samplesAt(layer, animation + ".translations");
    ASSERT_EQ(translations.values.size(), 3u);
    EXPECT_EQ(translations.values[1], Value(Array<Vec3f>{{0, 1, 0}, {0, 2, 0}}));
    EXPECT_EQ(samplesAt(layer, animation + ".scales").times.size(), 3u);
    // The bone's own prim in the node tree moves too, for what is rigidly attached to it.
    EXPECT_THAT(samplesAt(layer, "/Root/Armature/Hips/Spine.xformOp:translate").times,
                ElementsAre(0, 60, 120));
    EXPECT_THAT(checkWrittenLayer(*scene.scene, layer), IsEmpty());
}

TEST(SceneWriterSkinning, TwoSkinsSharingBonesShareOneSkeleton) {
    Rig scene = rig({{1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}},
                    {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
    auto arm = child(scene.spine, "Arm", {1, 0, 0});
    auto sleeve = child(scene.armature, "Sleeve");
    auto geometry = quadGeometry();
    sleeve->setGeometry(geometry);
    sleeve->setSkinner(scene::Skinner::create(
        geometry, {arm, scene.spine}, std::nullopt,
        floatSource(GeometrySemantic::boneWeights, {{1, 0}, {1, 0}, {0, 1}, {0, 1}}),
        floatSource(GeometrySemantic::boneIndices, {{0, 1}, {0, 1}, {0, 1}, {0, 1}})));
    const SceneLayer built = buildSceneLayer(*scene.scene);
    const Layer& layer = built.layer;
    EXPECT_THAT(tokensAt(layer, "/Root/Armature/Skel/Skeleton.joints"),
                ElementsAre("Hips", "Hips/Spine", "Hips/Spine/Arm"));
    EXPECT_FALSE(hasSpec(layer, "/Root/Armature/Skel_1"));
    EXPECT_THAT(valueAt<Array<std::int32_t>>(
                    layer, "/Root/Armature/Skel/Sleeve.primvars:skel:jointIndices"),
                ElementsAre(2, 2, 1, 1));
    EXPECT_EQ(
        *metadataOf(layer, "/Root/Armature/Skel/Sleeve.primvars:skel:jointIndices", "elementSize"),
        Value(std::int32_t{1}));
    // Without inverse binds the sleeve binds its bones at identity, unlike the body's skin: the
    // difference must be one change of frame, or it is said.
    EXPECT_THAT(checkWrittenLayer(*scene.scene, layer), IsEmpty());
}

TEST(SceneWriterSkinning, BonesWithoutABoneAboveThemAreTopLevelJoints) {
    auto scene = emptyScene();
    auto hip = child(scene->rootNode(), "LeftHip");
    auto other = child(scene->rootNode(), "RightHip");
    auto body = child(scene->rootNode(), "Legs");
    auto geometry = quadGeometry();
    body->setGeometry(geometry);
    body->setSkinner(scene::Skinner::create(
        geometry, {hip, other}, std::nullopt,
        floatSource(GeometrySemantic::boneWeights, {{1, 0}, {1, 0}, {0, 1}, {0, 1}}),
        floatSource(GeometrySemantic::boneIndices, {{0, 1}, {0, 1}, {0, 1}, {0, 1}})));
    const Layer layer = buildSceneLayer(*scene).layer;
    EXPECT_EQ(typeOf(layer, "/Root/Skel"), "SkelRoot");
    EXPECT_THAT(tokensAt(layer, "/Root/Skel/Skeleton.joints"), ElementsAre("LeftHip", "RightHip"));
}

TEST(SceneWriterBlendShapes, MorphTargetsBecomeSparseBlendShapesOfAMorphOnlySkelRoot) {
    const MorphScene scene = morphScene();
    const Layer layer = buildSceneLayer(*scene.scene).layer;
    EXPECT_EQ(typeOf(layer, "/Root/Face/Head"), "SkelRoot");
    const std::string mesh = "/Root/Face/Head/node";
    EXPECT_THAT(tokensAt(layer, mesh + ".skel:blendShapes"), ElementsAre("node_Smile"));
    EXPECT_EQ(sourceOf(layer, mesh + ".skel:blendShapeTargets"), mesh + "/node_Smile");
    EXPECT_THAT(valueAt<Array<std::int32_t>>(layer, mesh + "/node_Smile.pointIndices"),
                ElementsAre(2));
    EXPECT_THAT(valueAt<Array<Vec3f>>(layer, mesh + "/node_Smile.offsets"),
                ElementsAre(Vec3f{0, 0, 1}));
    EXPECT_FALSE(hasSpec(layer, mesh + "/node_Smile.normalOffsets"));
    EXPECT_THAT(tokensAt(layer, "/Root/Face/Head/Skeleton.joints"), IsEmpty());
    EXPECT_THAT(tokensAt(layer, "/Root/Face/Head/Animation.blendShapes"),
                ElementsAre("node_Smile"));
    EXPECT_THAT(valueAt<Array<float>>(layer, "/Root/Face/Head/Animation.blendShapeWeights"),
                ElementsAre(0));
    EXPECT_THAT(checkWrittenLayer(*scene.scene, layer), IsEmpty());
}

TEST(SceneWriterBlendShapes, AWeightsChannelShorterThanTheTimelineRepeatsItsLoop) {
    const MorphScene scene = morphScene();
    scene.face->addAnimation(looping(
        0.5, keys("childNodes[0].childNodes[0].morpher.weights[0]", {0, 1}, {0.0, 1.0}, 0.5)));
    auto spinner = child(scene.scene->rootNode(), "Spinner");
    spinner->addAnimation(
        looping(1.0, keys("position", {0, 1}, {glm::dvec3(0.0), glm::dvec3(1.0)}, 1.0)));
    const Layer layer = buildSceneLayer(*scene.scene).layer;
    const TimeSamples weights = samplesAt(layer, "/Root/Face/Head/Animation.blendShapeWeights");
    EXPECT_THAT(weights.times, ElementsAre(0, 59, 60, 120));
    ASSERT_EQ(weights.values.size(), 4u);
    // One code before the loop restarts the weight is where the scene has it then.
    EXPECT_FLOAT_EQ(weights.values[1].get<Array<float>>()->front(), 59.0f / 60.0f);
    EXPECT_EQ(weights.values[2], Value(Array<float>{0}));
    EXPECT_EQ(weights.values[3], Value(Array<float>{1}));
    EXPECT_THAT(checkWrittenLayer(*scene.scene, layer), IsEmpty());
}

TEST(SceneWriterBlendShapes, AvatarExpressionsBecomeBlendShapesResting) {
    const MorphScene scene = morphScene();
    scene.primitive->morpher()->setWeight(0, 0.25);
    scene.scene->rootNode()->setValue(
        "VRMBlendShapes",
        scene::ValueDictionary{
            {"joy", scene::ValueDictionary{{"/Head.childNodes[0].morpher.weights[0]", 0.5}}},
            {"angry",
             scene::ValueDictionary{{"/Elsewhere.childNodes[0].morpher.weights[0]", 1.0}}}});
    const Layer layer = buildSceneLayer(*scene.scene).layer;
    const std::string mesh = "/Root/Face/Head/node";
    EXPECT_THAT(tokensAt(layer, mesh + ".skel:blendShapes"), ElementsAre("node_Smile", "node_joy"));
    EXPECT_THAT(valueAt<Array<Vec3f>>(layer, mesh + "/node_joy.offsets"),
                ElementsAre(Vec3f{0, 0, 0.5f}));
    // The morph target keeps the weight the model sets; the expression rests at 0.
    EXPECT_THAT(valueAt<Array<float>>(layer, "/Root/Face/Head/Animation.blendShapeWeights"),
                ElementsAre(0.25f, 0));
    EXPECT_THAT(checkWrittenLayer(*scene.scene, layer), IsEmpty());
}

TEST(SceneWriterSelfCheck, ReportsMotionTheLayerLacks) {
    Rig scene = rig({{1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}},
                    {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
    scene.hips->addAnimation(
        looping(1.0, keys("position", {0, 1}, {glm::dvec3(0.0), glm::dvec3(1.0)}, 1.0)));
    auto morpher = scene::Morpher::create();
    morpher->setTargets({quadGeometry(), quadGeometry()});
    scene.body->setMorpher(morpher);
    const Layer still = buildSceneLayer(*sceneWithGeometry(quadGeometry())).layer;
    EXPECT_THAT(checkWrittenLayer(*scene.scene, still),
                ElementsAre("1 skinned mesh(es) were written unskinned, in their bind pose.",
                            "2 morph target(s) were left out.",
                            "The scene's animations were left out; the file is static."));
    EXPECT_THAT(checkWrittenLayer(*scene.scene, buildSceneLayer(*scene.scene).layer), IsEmpty());
}

TEST(SceneWriterSelfCheck, FindsBrokenSkeletonsAndSamples) {
    Rig scene = rig({{1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}},
                    {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
    Layer layer = buildSceneLayer(*scene.scene).layer;
    LayerBuilder build(layer);
    const Path skeleton = Path::fromString("/Root/Armature/Skel/Skeleton");
    build.setMetadata(skeleton.appendProperty("joints"), "default",
                      Array<Token>{{"Hips/Spine"}, {"Hips"}});
    build.setMetadata(skeleton.appendProperty("bindTransforms"), "default",
                      Array<Matrix4d>{Matrix4d::identity()});
    build.setMetadata(Path::fromString("/Root/Armature/Skel/Body.primvars:skel:jointIndices"),
                      "default", Array<std::int32_t>(4, 7));
    build.setTimeSamples(Path::fromString("/Root/Armature/Skel/Animation.translations"),
                         {{0.5, 2}, {Array<Vec3f>(2), Array<Vec3f>(2)}});
    EXPECT_THAT(checkWrittenLayer(*scene.scene, layer),
                ElementsAre(HasSubstr("not whole codes in ascending order"),
                            HasSubstr("names a joint its skeleton lacks"),
                            HasSubstr("has 2 joints but 1 bindTransforms"),
                            HasSubstr("joint Hips/Spine comes before its parent")));
}

} // namespace
} // namespace usd::test
