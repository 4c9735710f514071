#include "skeleton/SkeletonPoses.h"

#include "motion/AnimatedValues.h"

#include <optional>

namespace usd::writer {
namespace {

constexpr AnimatedProperty kJointProperties[] = {
    AnimatedProperty::translation, AnimatedProperty::rotation, AnimatedProperty::scale};

// A joint's three channels, each read at any code.
struct JointReaders {
    std::optional<SampledChannel> translation, rotation, scale;
};

std::optional<SampledChannel> readerOf(const AnimationTimeline& timeline, const scene::Node& node,
                                       AnimatedProperty property) {
    const AnimatedChannel* channel = timeline.channel(node, property);
    if (!channel)
        return std::nullopt;
    return std::optional<SampledChannel>(std::in_place, timeline, *channel);
}

scene::TransformComponents poseAt(const scene::Node& joint, const JointReaders& readers, int code,
                                  const scene::Quaternion& previousRotation) {
    scene::TransformComponents pose = joint.transformComponents();
    if (readers.translation)
        pose.position = vectorOf(readers.translation->at(code), pose.position);
    if (readers.rotation)
        pose.orientation = rotationOf(readers.rotation->at(code), pose.orientation);
    if (readers.scale)
        pose.scale = vectorOf(readers.scale->at(code), pose.scale);
    pose.orientation = alongShorterArc(normalizedRotation(pose.orientation), previousRotation);
    return pose;
}

} // namespace

std::vector<const AnimatedChannel*> jointChannels(const SkeletonPlan& skeleton,
                                                  const AnimationTimeline& timeline) {
    std::vector<const AnimatedChannel*> channels;
    for (const scene::Node* joint : skeleton.joints)
        for (const AnimatedProperty property : kJointProperties)
            if (const AnimatedChannel* channel = timeline.channel(*joint, property))
                channels.push_back(channel);
    return channels;
}

SkeletonPoses poseSkeleton(const SkeletonPlan& skeleton, const AnimationTimeline& timeline) {
    SkeletonPoses poses;
    if (!timeline.empty())
        poses.codes = unionOfCodes(timeline, jointChannels(skeleton, timeline));
    std::vector<JointReaders> readers;
    std::vector<scene::Quaternion> previous;
    for (const scene::Node* joint : skeleton.joints) {
        readers.push_back({readerOf(timeline, *joint, AnimatedProperty::translation),
                           readerOf(timeline, *joint, AnimatedProperty::rotation),
                           readerOf(timeline, *joint, AnimatedProperty::scale)});
        previous.push_back(normalizedRotation(joint->orientation()));
    }
    const std::size_t poseCount = std::max<std::size_t>(poses.codes.size(), 1);
    for (std::size_t p = 0; p < poseCount; ++p) {
        const int code = poses.codes.empty() ? 0 : poses.codes[p];
        std::vector<scene::TransformComponents> pose;
        for (std::size_t j = 0; j < skeleton.joints.size(); ++j) {
            pose.push_back(poseAt(*skeleton.joints[j], readers[j], code, previous[j]));
            previous[j] = pose.back().orientation;
        }
        poses.locals.push_back(std::move(pose));
    }
    return poses;
}

std::vector<std::vector<scene::Matrix4>>
SkeletonPoses::skeletonSpace(const SkeletonPlan& skeleton) const {
    std::vector<int> parents;
    for (const scene::Node* joint : skeleton.joints)
        parents.push_back(skeleton.jointIndex(joint->parentNode().get()));
    std::vector<std::vector<scene::Matrix4>> result;
    for (const auto& pose : locals) {
        std::vector<scene::Matrix4> space;
        for (std::size_t j = 0; j < pose.size(); ++j) {
            const int parent = parents[j];
            const scene::Matrix4 local = scene::composeTransform(pose[j]);
            space.push_back(parent < 0 ? local : space[static_cast<std::size_t>(parent)] * local);
        }
        result.push_back(std::move(space));
    }
    return result;
}

} // namespace usd::writer
