#include "skeleton/SkeletonPrims.h"

#include "ApiSchemas.h"
#include "motion/AnimatedValues.h"

#include <SceneGraph/Morpher.h>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace usd::writer {
namespace {

// The largest finite half and the smallest normal one.
constexpr double kHalfMax = 65504.0;
constexpr double kHalfMinNormal = 6.1e-5;

bool fitsHalf(double s) {
    const double size = std::abs(s);
    return size == 0 || (size >= kHalfMinNormal && size <= kHalfMax);
}

Vec3h toVec3h(const glm::dvec3& v) {
    return {Half::fromFloat(static_cast<float>(v.x)), Half::fromFloat(static_cast<float>(v.y)),
            Half::fromFloat(static_cast<float>(v.z))};
}

// Joint-local arrays of one pose.
struct PoseArrays {
    Array<Vec3f> translations;
    Array<Quatf> rotations;
    Array<Vec3h> scales;
};

PoseArrays arraysOf(const std::vector<scene::TransformComponents>& pose, bool& scaleLost) {
    PoseArrays arrays;
    for (const scene::TransformComponents& joint : pose) {
        arrays.translations.push_back(toVec3f(joint.position));
        arrays.rotations.push_back(toQuatf(joint.orientation));
        arrays.scales.push_back(toVec3h(joint.scale));
        scaleLost = scaleLost || !fitsHalf(joint.scale.x) || !fitsHalf(joint.scale.y) ||
                    !fitsHalf(joint.scale.z);
    }
    return arrays;
}

void addSampled(LayerBuilder& build, const Path& prim, std::string_view name, std::string typeName,
                Value rest, std::optional<TimeSamples> samples) {
    const Path attribute = build.addAttribute(prim, name, {std::move(typeName), std::move(rest)});
    if (samples)
        build.setTimeSamples(attribute, std::move(*samples));
}

void writeJointArrays(LayerBuilder& build, const Path& animation, const SkeletonPoses& poses,
                      Notes& notes) {
    bool scaleLost = false;
    const PoseArrays rest = arraysOf(poses.locals.front(), scaleLost);
    std::optional<TimeSamples> translations, rotations, scales;
    if (!poses.codes.empty()) {
        translations.emplace();
        rotations.emplace();
        scales.emplace();
        for (std::size_t p = 0; p < poses.codes.size(); ++p) {
            PoseArrays arrays = arraysOf(poses.locals[p], scaleLost);
            const double code = poses.codes[p];
            translations->times.push_back(code);
            translations->values.emplace_back(std::move(arrays.translations));
            rotations->times.push_back(code);
            rotations->values.emplace_back(std::move(arrays.rotations));
            scales->times.push_back(code);
            scales->values.emplace_back(std::move(arrays.scales));
        }
    }
    addSampled(build, animation, "translations", "float3[]", rest.translations,
               std::move(translations));
    addSampled(build, animation, "rotations", "quatf[]", rest.rotations, std::move(rotations));
    addSampled(build, animation, "scales", "half3[]", rest.scales, std::move(scales));
    if (scaleLost)
        notes.push_back(animation.text() +
                        ": joint scales beyond what 16-bit numbers hold were approximated.");
}

Array<float> restWeights(const std::vector<BlendShapeTarget>& shapes) {
    Array<float> weights;
    for (const BlendShapeTarget& shape : shapes) {
        const std::vector<double> none;
        const auto& all = shape.node ? shape.node->morpher()->weights() : none;
        weights.push_back(shape.target < all.size() ? static_cast<float>(all[shape.target]) : 0.0f);
    }
    return weights;
}

void writeBlendShapeWeights(LayerBuilder& build, const Path& animation,
                            const std::vector<BlendShapeTarget>& shapes,
                            const AnimationTimeline& timeline) {
    Array<Token> tokens;
    std::vector<const AnimatedChannel*> channels;
    for (const BlendShapeTarget& shape : shapes) {
        tokens.push_back(Token{shape.token});
        channels.push_back(
            shape.node ? timeline.channel(*shape.node, AnimatedProperty::morphWeight, shape.target)
                       : nullptr);
    }
    build.addAttribute(animation, "blendShapes",
                       {"token[]", std::move(tokens), Variability::Uniform});
    const Array<float> rest = restWeights(shapes);
    std::optional<TimeSamples> samples;
    std::vector<const AnimatedChannel*> animated;
    std::ranges::copy_if(channels, std::back_inserter(animated),
                         [](const AnimatedChannel* c) { return c != nullptr; });
    if (!animated.empty()) {
        std::vector<std::optional<SampledChannel>> readers;
        for (const AnimatedChannel* channel : channels)
            readers.emplace_back(
                channel ? std::optional<SampledChannel>(std::in_place, timeline, *channel)
                        : std::nullopt);
        samples.emplace();
        for (const int code : unionOfCodes(timeline, animated)) {
            Array<float> weights = rest;
            for (std::size_t s = 0; s < readers.size(); ++s)
                if (readers[s])
                    weights[s] = static_cast<float>(numberOf(readers[s]->at(code), weights[s]));
            samples->times.push_back(code);
            samples->values.emplace_back(std::move(weights));
        }
    }
    addSampled(build, animation, "blendShapeWeights", "float[]", rest, std::move(samples));
}

// An avatar's humanoid map (bone → node name) as bone → joint token, for the joints this
// skeleton has.
Dictionary humanoidJoints(const SkeletonPlan& skeleton) {
    Dictionary joints;
    if (skeleton.joints.empty())
        return joints;
    const scene::Value* stored = topOf(*skeleton.joints.front()).value("VRMHumanoidBones");
    const auto* bones = stored ? stored->as<scene::ValueDictionary>() : nullptr;
    for (const auto& [bone, nodeName] : bones ? *bones : scene::ValueDictionary{}) {
        const std::optional<std::string> name = nodeName.text();
        for (std::size_t j = 0; name && j < skeleton.joints.size(); ++j)
            if (skeleton.joints[j]->name() == *name) {
                joints.set(bone, Token{skeleton.tokens[j]});
                break;
            }
    }
    return joints;
}

} // namespace

SkelRootContents defineSkelRoot(const Path& skelRoot, SiblingNames& children) {
    SkelRootContents root;
    root.skeleton = skelRoot.appendChild(children.claim("Skeleton", "Skeleton"));
    root.animation = skelRoot.appendChild(children.claim("Animation", "Animation"));
    return root;
}

void writeSkeleton(LayerBuilder& build, const SkelRootContents& root,
                   const SkeletonPlan* skeleton) {
    const Path& prim = root.skeleton;
    build.definePrim(prim, "Skeleton");
    Array<Token> joints;
    Array<Matrix4d> binds, rests;
    if (skeleton)
        for (std::size_t j = 0; j < skeleton->joints.size(); ++j) {
            joints.push_back(Token{skeleton->tokens[j]});
            binds.push_back(toMatrix4d(skeleton->bindTransforms[j]));
            rests.push_back(toMatrix4d(skeleton->joints[j]->transform()));
        }
    build.addAttribute(prim, "joints", {"token[]", std::move(joints), Variability::Uniform});
    if (const Dictionary humanoid = skeleton ? humanoidJoints(*skeleton) : Dictionary{};
        !humanoid.empty()) {
        Dictionary data;
        data.set("humanoidBones", humanoid);
        build.setMetadata(prim, "customData", data);
    }
    build.addAttribute(prim, "bindTransforms",
                       {"matrix4d[]", std::move(binds), Variability::Uniform});
    build.addAttribute(prim, "restTransforms",
                       {"matrix4d[]", std::move(rests), Variability::Uniform});
    // Readers differ on whether the animation source counts on the skeleton or where the
    // meshes bind; authoring it on both the SkelRoot and the Skeleton satisfies each.
    applySchema(build, prim, "SkelBindingAPI");
    build.addRelationship(prim, "skel:animationSource", {root.animation});
    const Path skelRoot = prim.parent();
    applySchema(build, skelRoot, "SkelBindingAPI");
    build.addRelationship(skelRoot, "skel:animationSource", {root.animation});
}

void writeSkelAnimation(LayerBuilder& build, const SkelRootContents& root,
                        const SkeletonPlan* skeleton, const SkeletonPoses* poses,
                        const AnimationTimeline& timeline, Notes& notes) {
    const Path& prim = root.animation;
    build.definePrim(prim, "SkelAnimation");
    Array<Token> joints;
    if (skeleton)
        for (const std::string& token : skeleton->tokens)
            joints.push_back(Token{token});
    build.addAttribute(prim, "joints", {"token[]", std::move(joints), Variability::Uniform});
    if (skeleton && poses)
        writeJointArrays(build, prim, *poses, notes);
    if (!root.blendShapes.empty())
        writeBlendShapeWeights(build, prim, root.blendShapes, timeline);
}

} // namespace usd::writer
