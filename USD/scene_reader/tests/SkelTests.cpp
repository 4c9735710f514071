// Skeletons, skinned meshes, skeletal animations and blend shapes.

#include "SceneReaderTestSupport.h"

#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

Matrix4d translation(double x, double y, double z) {
    Matrix4d m = Matrix4d::identity();
    m.rowMajor[12] = x;
    m.rowMajor[13] = y;
    m.rowMajor[14] = z;
    return m;
}

Array<Token> tokens(std::vector<std::string> texts) {
    Array<Token> result;
    for (std::string& text : texts) {
        result.push_back({std::move(text)});
    }
    return result;
}

Vec3h halves(float x, float y, float z) {
    return {Half::fromFloat(x), Half::fromFloat(y), Half::fromFloat(z)};
}

// A character: a SkelRoot with a two-joint skeleton (Hips at the origin, Arm one unit up), an
// animation source and a three-point mesh skinned to it.
class Character {
  public:
    Character() : build_(layer_) {
        build_.definePrim(Path::fromString("/Root"), "Xform");
        root_ = build_.definePrim(Path::fromString("/Root/Char"), "SkelRoot");
        skeleton_ = build_.definePrim(root_.appendChild("Skel"), "Skeleton");
        mesh_ = defineMesh(build_, "/Root/Char/Body", {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {3},
                           {0, 1, 2});
        build_.addRelationship(mesh_, "skel:skeleton", {skeleton_});
    }

    void setJoints(std::vector<std::string> joints, Array<Matrix4d> binds) {
        uniform(skeleton_, "joints", "token[]", tokens(std::move(joints)));
        uniform(skeleton_, "bindTransforms", "matrix4d[]", std::move(binds));
    }
    void setStandardJoints() {
        setJoints({"Hips", "Hips/Arm"}, {translation(0, 0, 0), translation(0, 1, 0)});
    }

    void setInfluences(Array<std::int32_t> indices, Array<float> weights, int elementSize) {
        for (const auto& [name, type, value] :
             {std::tuple{"primvars:skel:jointIndices", "int[]", Value(std::move(indices))},
              std::tuple{"primvars:skel:jointWeights", "float[]", Value(std::move(weights))}}) {
            const Path attribute = build_.addAttribute(mesh_, name, {type, value});
            build_.setMetadata(attribute, "interpolation", Token{"vertex"});
            build_.setMetadata(attribute, "elementSize", std::int32_t{elementSize});
        }
    }

    // The animation, bound on the SkelRoot.
    Path defineAnimation(std::vector<std::string> joints) {
        const Path animation = build_.definePrim(root_.appendChild("Anim"), "SkelAnimation");
        uniform(animation, "joints", "token[]", tokens(std::move(joints)));
        build_.addRelationship(root_, "skel:animationSource", {animation});
        return animation;
    }

    void uniform(const Path& prim, const std::string& name, const std::string& type, Value value) {
        build_.addAttribute(prim, name, {type, std::move(value), Variability::Uniform});
    }
    void sampled(const Path& prim, const std::string& name, const std::string& type,
                 TimeSamples samples) {
        build_.setTimeSamples(build_.addAttribute(prim, name, {type}), std::move(samples));
    }

    ReadResult read() { return readLayer(layer_); }
    LayerBuilder& build() { return build_; }
    const Path& mesh() const { return mesh_; }

  private:
    Layer layer_ = metreLayer();
    LayerBuilder build_;
    Path root_;
    Path skeleton_;
    Path mesh_;
};

// Where the skinner puts a vertex of the mesh in world space, as a renderer skins it.
glm::dvec3 skinnedPosition(const scene::Node& meshNode, std::size_t vertex) {
    const scene::Skinner& skinner = *meshNode.skinner();
    const glm::dvec3 rest(
        skinner.baseGeometry()->firstSource(scene::GeometrySemantic::vertex)->vector(vertex));
    const glm::dvec4 weights = skinner.boneWeights()->vector(vertex);
    const glm::dvec4 joints = skinner.boneIndices()->vector(vertex);
    glm::dvec3 skinned(0.0);
    for (int slot = 0; slot < 4; ++slot) {
        const auto bone = static_cast<std::size_t>(joints[slot]);
        const scene::Matrix4 matrix =
            skinner.bones()[bone]->worldTransform() * (*skinner.boneInverseBindTransforms())[bone];
        skinned += weights[slot] * scene::transformPoint(matrix, rest);
    }
    return skinned;
}

void expectNear(const glm::dvec3& actual, const glm::dvec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5);
    EXPECT_NEAR(actual.y, expected.y, 1e-5);
    EXPECT_NEAR(actual.z, expected.z, 1e-5);
}

TEST(Skeleton, JointsBecomeBonesByTheirPathsWhateverTheirOrder) {
    Character character;
    // A child listed before its parent, and a joint whose parent path is not a joint.
    character.setJoints({"Hips/Arm", "Hips", "Hips/Missing/Hand"},
                        {translation(0, 1, 0), translation(0, 0, 0), translation(2, 0, 0)});
    character.setInfluences({0, 1, 2}, {1, 1, 1}, 1);
    const ReadResult read = character.read();
    const auto skel = findNode(*read.scene, "Skel");
    ASSERT_NE(skel, nullptr);
    const auto hips = skel->childNodeWithName("Hips", false);
    ASSERT_NE(hips, nullptr);
    const auto arm = hips->childNodeWithName("Arm", false);
    const auto hand = hips->childNodeWithName("Hand", false);
    ASSERT_NE(arm, nullptr);
    ASSERT_NE(hand, nullptr);
    // Without rest transforms, the bind transforms give the local ones.
    expectNear(arm->position(), {0, 1, 0});
    expectNear(hand->position(), {2, 0, 0});
    EXPECT_THAT(read.notes, Contains(HasSubstr("before their parents")));
    const auto body = findNode(*read.scene, "Body");
    ASSERT_NE(body->skinner(), nullptr);
    EXPECT_EQ(body->skinner()->bones(), (std::vector{arm, hips, hand}));
}

TEST(Skeleton, RestTransformsPlaceBonesAndSkinnedPointsStartWhereTheMeshIs) {
    Character character;
    character.setStandardJoints();
    character.uniform(Path::fromString("/Root/Char/Skel"), "restTransforms", "matrix4d[]",
                      Array<Matrix4d>{translation(0, 0, 0), translation(0, 2, 0)});
    character.setInfluences({0, 0, 1}, {1, 1, 1}, 1);
    character.build().addAttribute(character.mesh(), "primvars:skel:geomBindTransform",
                                   {"matrix4d", translation(5, 0, 0)});
    // A skinned mesh's own transform, still or moving, has no effect.
    character.build().setTimeSamples(
        character.build().addAttribute(character.mesh(), "xformOp:translate", {"double3"}),
        {{0, 24}, {Value(Vec3d{0, 0, 0}), Value(Vec3d{9, 9, 9})}});
    character.uniform(character.mesh(), "xformOpOrder", "token[]", tokens({"xformOp:translate"}));
    const ReadResult read = character.read();
    const auto body = findNode(*read.scene, "Body");
    const auto arm = findNode(*read.scene, "Arm");
    expectNear(arm->position(), {0, 2, 0});
    ASSERT_NE(body->skinner(), nullptr);
    // The rest pose lifts the arm one unit above its bind pose; geomBind moves every point.
    expectNear(skinnedPosition(*body, 0), {5, 0, 0});
    expectNear(skinnedPosition(*body, 2), {5, 2, 0});
    EXPECT_TRUE(body->animations().empty());
}

TEST(Skeleton, InfluencesAreTrimmedToTheFourStrongestAndRepaired) {
    Character character;
    character.setStandardJoints();
    // Point 0: five influences, the weakest dropped; point 1: an index past the joints;
    // point 2: no weight at all.
    character.setInfluences({0, 1, 0, 1, 0, /**/ 7, 1, 0, 0, 0, /**/ 0, 1, 0, 0, 0},
                            {0.1f, 0.4f, 0.2f, 0.2f, 0.05f, /**/ 5, 1, 0, 0, 0, /**/ 0, 0, 0, 0, 0},
                            5);
    const ReadResult read = character.read();
    const auto body = findNode(*read.scene, "Body");
    ASSERT_NE(body->skinner(), nullptr);
    const scene::GeometrySource& weights = *body->skinner()->boneWeights();
    const scene::GeometrySource& joints = *body->skinner()->boneIndices();
    const glm::dvec4 first = weights.vector(0);
    EXPECT_NEAR(first.x, 0.4 / 0.9, 1e-6);
    EXPECT_NEAR(first.x + first.y + first.z + first.w, 1.0, 1e-6);
    EXPECT_EQ(joints.vector(1), glm::dvec4(1, 0, 0, 0));
    EXPECT_NEAR(weights.vector(1).x, 1.0, 1e-6);
    EXPECT_EQ(weights.vector(2), glm::dvec4(1, 0, 0, 0));
    EXPECT_THAT(read.notes, Contains(HasSubstr("no joint weight")));
    EXPECT_THAT(read.notes, Contains(HasSubstr("the four strongest are kept")));
}

TEST(Skeleton, InfluencesThatDoNotFitLeaveTheMeshUnskinned) {
    Character character;
    character.setStandardJoints();
    character.setInfluences({0, 1}, {1, 1}, 1); // three points
    const ReadResult read = character.read();
    const auto body = findNode(*read.scene, "Body");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->skinner(), nullptr);
    EXPECT_NE(body->geometry(), nullptr);
    EXPECT_THAT(read.notes, Contains(HasSubstr("shown unskinned")));
}

TEST(SkelAnimation, SparseJointsAnimateAndTheOthersKeepTheirRestPose) {
    Character character;
    character.build().setLayerMetadata("timeCodesPerSecond", 10.0);
    character.setStandardJoints();
    character.setInfluences({0, 1, 1}, {1, 1, 1}, 1);
    const Path animation = character.defineAnimation({"Hips/Arm"});
    character.sampled(animation, "translations", "float3[]",
                      {{0, 10}, {Value(Array<Vec3f>{{0, 1, 0}}), Value(Array<Vec3f>{{0, 3, 0}})}});
    character.uniform(animation, "rotations", "quatf[]", Array<Quatf>{{{0, 0, 0}, 1}});
    character.uniform(animation, "scales", "half3[]", Array<Vec3h>{halves(1, 1, 1)});
    const ReadResult read = character.read();
    const auto body = findNode(*read.scene, "Body");
    ASSERT_NE(body->skinner(), nullptr);
    scene::applyAnimations(*read.scene->rootNode(), 0.0);
    expectNear(skinnedPosition(*body, 1), {1, 1, 0});
    scene::applyAnimations(*read.scene->rootNode(), 0.5);
    expectNear(skinnedPosition(*body, 1), {1, 2, 0});
    expectNear(skinnedPosition(*body, 0), {0, 0, 0});
    EXPECT_TRUE(findNode(*read.scene, "Hips")->animations().empty());
}

TEST(SkelAnimation, AnimationWithArraysOfTheWrongSizeIsIgnored) {
    Character character;
    character.setStandardJoints();
    character.setInfluences({0, 1, 1}, {1, 1, 1}, 1);
    const Path animation = character.defineAnimation({"Hips", "Hips/Arm"});
    character.sampled(animation, "translations", "float3[]",
                      {{0, 10}, {Value(Array<Vec3f>{{0, 1, 0}}), Value(Array<Vec3f>{{0, 3, 0}})}});
    character.uniform(animation, "rotations", "quatf[]",
                      Array<Quatf>{{{0, 0, 0}, 1}, {{0, 0, 0}, 1}});
    // No scales at all either.
    const ReadResult read = character.read();
    EXPECT_THAT(read.notes, Contains(HasSubstr("stays in its rest pose")));
    const auto arm = findNode(*read.scene, "Arm");
    EXPECT_TRUE(arm->animations().empty());
    expectNear(arm->position(), {0, 1, 0});
}

// A quad whose corners carry their own texture coordinates, so its vertices are not its points.
class MorphingQuad {
  public:
    MorphingQuad() : build_(layer_) {
        build_.definePrim(Path::fromString("/Root"), "SkelRoot");
        mesh_ = defineMesh(build_, "/Root/Face", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                           {3, 3}, {0, 1, 2, 0, 2, 3});
        const Path st = build_.addAttribute(
            mesh_, "primvars:st",
            {"texCoord2f[]", Array<Vec2f>{{0, 0}, {1, 0}, {1, 1}, {0.5f, 0}, {0.5f, 1}, {0, 1}}});
        build_.setMetadata(st, "interpolation", Token{"faceVarying"});
    }

    void addShape(const std::string& name, Array<Vec3f> offsets,
                  std::optional<Array<std::int32_t>> indices = std::nullopt) {
        const Path shape = build_.definePrim(mesh_.appendChild(name), "BlendShape");
        build_.addAttribute(shape, "offsets",
                            {"vector3f[]", std::move(offsets), Variability::Uniform});
        if (indices) {
            build_.addAttribute(shape, "pointIndices",
                                {"int[]", std::move(*indices), Variability::Uniform});
        }
        names_.push_back({name});
        targets_.push_back(shape);
    }
    void bindShapes() {
        build_.addAttribute(mesh_, "skel:blendShapes", {"token[]", names_, Variability::Uniform});
        build_.addRelationship(mesh_, "skel:blendShapeTargets", targets_);
    }

    LayerBuilder& build() { return build_; }
    const Path& mesh() const { return mesh_; }
    ReadResult read() { return readLayer(layer_); }

  private:
    Layer layer_ = metreLayer();
    LayerBuilder build_;
    Path mesh_;
    Array<Token> names_;
    std::vector<Path> targets_;
};

// Each vertex's position plus its offset in target `target`, keyed by position.
std::vector<std::pair<glm::dvec3, glm::dvec3>> offsetsOf(const scene::Node& node,
                                                         std::size_t target) {
    const auto positions = node.geometry()->firstSource(scene::GeometrySemantic::vertex);
    const auto offsets =
        node.morpher()->targets()[target]->firstSource(scene::GeometrySemantic::vertex);
    std::vector<std::pair<glm::dvec3, glm::dvec3>> result;
    for (std::size_t v = 0; v < positions->vectorCount(); ++v) {
        result.emplace_back(glm::dvec3(positions->vector(v)), glm::dvec3(offsets->vector(v)));
    }
    return result;
}

TEST(BlendShapes, DenseAndSparseShapesSpreadOverEveryVertexOfTheirPoint) {
    MorphingQuad quad;
    quad.addShape("Lift", {{0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {0, 0, 4}});
    quad.addShape("Corner", {{0, 0, 9}}, Array<std::int32_t>{2});
    quad.bindShapes();
    const ReadResult read = quad.read();
    const auto face = findNode(*read.scene, "Face");
    ASSERT_NE(face->morpher(), nullptr);
    ASSERT_EQ(face->morpher()->targets().size(), 2u);
    EXPECT_EQ(face->morpher()->calculationMode(), scene::MorpherCalculationMode::additive);
    EXPECT_EQ(face->morpher()->targets()[1]->name(), "Corner");
    const auto lift = offsetsOf(*face, 0);
    EXPECT_EQ(lift.size(), 6u); // corners with their own coordinates are vertices of their own
    for (const auto& [position, offset] : lift) {
        const double expected = position == glm::dvec3(0, 0, 0)   ? 1
                                : position == glm::dvec3(1, 0, 0) ? 2
                                : position == glm::dvec3(1, 1, 0) ? 3
                                                                  : 4;
        EXPECT_EQ(offset, glm::dvec3(0, 0, expected));
    }
    for (const auto& [position, offset] : offsetsOf(*face, 1)) {
        EXPECT_EQ(offset.z, position == glm::dvec3(1, 1, 0) ? 9 : 0);
    }
}

TEST(BlendShapes, WeightsPlayFromTheBoundAnimationMatchedByName) {
    MorphingQuad quad;
    quad.addShape("Lift", {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
    quad.addShape("Broken", {{0, 0, 1}}, Array<std::int32_t>{12}); // past the points
    quad.bindShapes();
    const Path skeleton = quad.build().definePrim(Path::fromString("/Root/Skel"), "Skeleton");
    const Path animation = quad.build().definePrim(Path::fromString("/Root/Anim"), "SkelAnimation");
    quad.build().addAttribute(skeleton, "joints",
                              {"token[]", Array<Token>{}, Variability::Uniform});
    quad.build().addRelationship(skeleton, "skel:animationSource", {animation});
    quad.build().addRelationship(quad.mesh(), "skel:skeleton", {skeleton});
    quad.build().addAttribute(animation, "blendShapes",
                              {"token[]", tokens({"Broken", "Lift"}), Variability::Uniform});
    quad.build().setTimeSamples(
        quad.build().addAttribute(animation, "blendShapeWeights", {"float[]"}),
        {{0, 24}, {Value(Array<float>{1, 0}), Value(Array<float>{1, 1})}});
    const ReadResult read = quad.read();
    EXPECT_THAT(read.notes, Contains(HasSubstr("Broken")));
    const auto face = findNode(*read.scene, "Face");
    ASSERT_NE(face->morpher(), nullptr);
    scene::applyAnimations(*read.scene->rootNode(), 0.0);
    EXPECT_NEAR(face->morpher()->weight(0), 0.0, 1e-9);
    scene::applyAnimations(*read.scene->rootNode(), 0.25);
    EXPECT_NEAR(face->morpher()->weight(0), 0.25, 1e-6);
    EXPECT_NEAR(face->morpher()->weight(1), 1.0, 1e-6);
    // The unreadable shape keeps its place but moves nothing.
    for (const auto& [position, offset] : offsetsOf(*face, 1)) {
        EXPECT_EQ(offset, glm::dvec3(0.0));
    }
}

} // namespace
} // namespace usd::test
