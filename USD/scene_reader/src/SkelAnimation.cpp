#include "SkelAnimation.h"

#include "NumberArrays.h"
#include "ValueReading.h"

#include <algorithm>

namespace usd::reader {
namespace {

// An attribute's arrays over time: one per sample, or its default alone at no particular code.
template <typename Array> struct Channel {
    std::vector<double> codes;
    std::vector<Array> arrays;
};

template <typename Array, typename Read>
Channel<Array> readChannel(const ComposedPrim& prim, std::string_view attribute, Read read) {
    Channel<Array> channel;
    if (const TimeSamples* samples = prim.attributeTimeSamples(attribute)) {
        channel.codes = samples->times;
        for (const Value& value : samples->values) {
            channel.arrays.push_back(read(&value));
        }
    } else if (const Value* value = prim.attributeValue(attribute)) {
        channel.codes = {0.0};
        channel.arrays.push_back(read(value));
    }
    return channel;
}

template <typename Array, typename Size>
bool fits(const Channel<Array>& channel, std::size_t count, Size sizeOf) {
    return !channel.arrays.empty() &&
           std::ranges::all_of(channel.arrays, [&](const Array& a) { return sizeOf(a) == count; });
}

// One value per code for one element of the arrays: set on the node when it never changes,
// else a track.
template <typename Array, typename ValueOf>
void addElementTrack(const Channel<Array>& channel, std::size_t element, const std::string& keyPath,
                     ValueOf valueOf, const std::shared_ptr<scene::Node>& node,
                     AnimationTimeline& timeline) {
    if (channel.arrays.size() == 1) {
        node->setValueForKeyPath(keyPath, valueOf(channel.arrays.front(), element));
        return;
    }
    TimeCodeTrack track{keyPath, channel.codes, {}, scene::AnimationCalculationMode::linear};
    for (const Array& array : channel.arrays) {
        track.values.push_back(valueOf(array, element));
    }
    timeline.add(node, std::move(track));
}

using Vectors = Channel<VectorArray>;
using Rotations = Channel<std::vector<scene::Quaternion>>;

scene::Value vectorAt(const VectorArray& array, std::size_t element) {
    return glm::dvec3(glm::vec3(array[element]));
}

scene::Value rotationAt(const std::vector<scene::Quaternion>& array, std::size_t element) {
    return array[element];
}

std::size_t vectorCount(const VectorArray& array) {
    return array.components() == 3 ? array.size() : 0;
}

std::size_t rotationCount(const std::vector<scene::Quaternion>& array) {
    return array.size();
}

} // namespace

void poseSkeleton(const ComposedPrim& animation, const SkeletonBones& skeleton,
                  AnimationTimeline& timeline, SceneReadNotes& notes) {
    const std::vector<std::string> joints = readTextArray(animation.attributeValue("joints"));
    if (joints.empty()) {
        return;
    }
    const auto readVectors = [](const Value* v) { return readVectorArray(v); };
    const auto readRotations = [](const Value* v) {
        return readQuaternionArray(v).value_or(std::vector<scene::Quaternion>{});
    };
    const Vectors translations = readChannel<VectorArray>(animation, "translations", readVectors);
    const Rotations rotations =
        readChannel<std::vector<scene::Quaternion>>(animation, "rotations", readRotations);
    const Vectors scales = readChannel<VectorArray>(animation, "scales", readVectors);
    if (!fits(translations, joints.size(), vectorCount) ||
        !fits(rotations, joints.size(), rotationCount) ||
        !fits(scales, joints.size(), vectorCount)) {
        notes.push_back("The skeletal animation " + animation.path().text() +
                        " lacks translations, rotations or scales for its " +
                        std::to_string(joints.size()) +
                        " joints; the skeleton stays in its rest pose.");
        return;
    }
    for (std::size_t j = 0; j < joints.size(); ++j) {
        const std::optional<std::size_t> joint = skeleton.jointIndex(joints[j]);
        if (!joint) {
            continue;
        }
        const std::shared_ptr<scene::Node>& bone = skeleton.bones[*joint];
        addElementTrack(translations, j, "position", vectorAt, bone, timeline);
        addElementTrack(rotations, j, "orientation", rotationAt, bone, timeline);
        addElementTrack(scales, j, "scale", vectorAt, bone, timeline);
    }
}

void driveBlendShapeWeights(const ComposedPrim& animation,
                            const std::vector<std::string>& targetTokens,
                            const std::shared_ptr<scene::Node>& meshNode,
                            AnimationTimeline& timeline, SceneReadNotes& notes) {
    const std::vector<std::string> shapes = readTextArray(animation.attributeValue("blendShapes"));
    const Vectors weights = readChannel<VectorArray>(
        animation, "blendShapeWeights", [](const Value* v) { return readVectorArray(v); });
    const auto weightCount = [](const VectorArray& a) {
        return a.components() == 1 ? a.size() : 0;
    };
    if (shapes.empty() || weights.arrays.empty()) {
        return;
    }
    if (!fits(weights, shapes.size(), weightCount)) {
        notes.push_back("The blend shape weights of " + animation.path().text() +
                        " do not match its blend shapes; they are not used.");
        return;
    }
    const auto weightAt = [](const VectorArray& a, std::size_t k) {
        return scene::Value(double(a[k].x));
    };
    for (std::size_t target = 0; target < targetTokens.size(); ++target) {
        const auto shape = std::ranges::find(shapes, targetTokens[target]);
        if (shape != shapes.end()) {
            addElementTrack(weights, static_cast<std::size_t>(shape - shapes.begin()),
                            "morpher.weights[" + std::to_string(target) + "]", weightAt, meshNode,
                            timeline);
        }
    }
}

} // namespace usd::reader
