#include "AnimationConversion.h"

#include "AnimationKeys.h"
#include "AssimpValues.h"

#include <SceneGraph/Node.h>
#include <algorithm>
#include <glm/gtc/epsilon.hpp>

namespace modelimporter {
namespace {

constexpr double restTolerance = 1e-6;

template <class Key> double lastTick(const Key* keys, unsigned count) {
    return count > 0 ? keys[count - 1].mTime : 0.0;
}

double lastTick(const aiNodeAnim& channel) {
    return std::max({lastTick(channel.mPositionKeys, channel.mNumPositionKeys),
                     lastTick(channel.mRotationKeys, channel.mNumRotationKeys),
                     lastTick(channel.mScalingKeys, channel.mNumScalingKeys)});
}

double lastTick(const aiMeshMorphAnim& channel) {
    return lastTick(channel.mKeys, channel.mNumKeys);
}

bool isRestValue(const scene::Value& value, const scene::Value& rest) {
    if (const auto* vector = value.as<glm::dvec3>()) {
        return glm::all(glm::epsilonEqual(*vector, *rest.as<glm::dvec3>(), restTolerance));
    }
    // q and -q are the same rotation.
    const glm::dvec4 rotation = *value.as<glm::dvec4>();
    return std::abs(glm::dot(rotation, *rest.as<glm::dvec4>())) > 1.0 - restTolerance;
}

// One animated property of a node: the channel name, the key path it drives and the node's
// own value of it.
struct Property {
    const char* channelName;
    const char* keyPath;
    scene::Value rest;
};

struct ChannelContext {
    unsigned animationIndex;
    double secondsPerTick;
    double groupSeconds;
    scene::AnimationClip clip;
    const SteppedChannels& stepped;
};

template <class Key, class Convert>
void addProperty(scene::Node& node, const std::string& nodeName, const Property& property,
                 const Key* keys, unsigned count, const ChannelContext& context, Convert convert) {
    std::vector<double> seconds;
    std::vector<scene::Value> values;
    for (unsigned i = 0; i < count; ++i) {
        seconds.push_back(keys[i].mTime * context.secondsPerTick);
        values.push_back(convert(keys[i].mValue));
    }
    if (values.empty() || (values.size() == 1 && isRestValue(values[0], property.rest))) {
        return;
    }
    const auto mode =
        context.stepped.calculationMode(context.animationIndex, nodeName, property.channelName);
    auto keyframes = keyframesAt(property.keyPath, seconds, std::move(values), mode);
    registerAnimation(node,
                      loopingGroup(context.groupSeconds, context.clip, {std::move(keyframes)}),
                      property.channelName);
}

void convertChannel(const aiNodeAnim& channel, scene::Node& node, const ChannelContext& context) {
    const std::string name = toString(channel.mNodeName);
    const auto vector = [](const aiVector3D& v) { return scene::Value(toVector(v)); };
    const auto rotation = [](const aiQuaternion& q) {
        return scene::Value(glm::dvec4(q.x, q.y, q.z, q.w));
    };
    const glm::dvec4 restRotation = scene::xyzwOf(node.orientation());
    addProperty(node, name, {"translation", "position", node.position()}, channel.mPositionKeys,
                channel.mNumPositionKeys, context, vector);
    addProperty(node, name, {"rotation", "orientation", restRotation}, channel.mRotationKeys,
                channel.mNumRotationKeys, context, rotation);
    addProperty(node, name, {"scale", "scale", node.scale()}, channel.mScalingKeys,
                channel.mNumScalingKeys, context, vector);
}

void noteVertexAnimations(const aiAnimation& animation, unsigned index, ImportNotes& notes) {
    for (unsigned c = 0; c < animation.mNumMeshChannels; ++c) {
        notes.push_back(animationLabel(animation, index) + " replaces the vertices of mesh \"" +
                        toString(animation.mMeshChannels[c]->mName) +
                        "\"; vertex animation is not supported and was left out.");
    }
}

} // namespace

double longestChannelSeconds(const aiAnimation& animation) {
    double ticks = 0;
    for (unsigned c = 0; c < animation.mNumChannels; ++c) {
        ticks = std::max(ticks, lastTick(*animation.mChannels[c]));
    }
    for (unsigned c = 0; c < animation.mNumMorphMeshChannels; ++c) {
        ticks = std::max(ticks, lastTick(*animation.mMorphMeshChannels[c]));
    }
    return ticks * secondsPerTick(animation);
}

void convertNodeAnimations(const aiScene& scene, const NodeFinder& findNode,
                           const SteppedChannels& stepped, ImportNotes& notes) {
    for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
        const aiAnimation& animation = *scene.mAnimations[a];
        const ChannelContext context{a, secondsPerTick(animation), longestChannelSeconds(animation),
                                     clipOf(animation, a), stepped};
        for (unsigned c = 0; c < animation.mNumChannels; ++c) {
            const aiNodeAnim& channel = *animation.mChannels[c];
            if (auto node = findNode(toString(channel.mNodeName))) {
                convertChannel(channel, *node, context);
            } else {
                notes.push_back(animationLabel(animation, a) + " moves the node \"" +
                                toString(channel.mNodeName) +
                                "\", which does not exist; that part was left out.");
            }
        }
        noteVertexAnimations(animation, a, notes);
    }
}

} // namespace modelimporter
