#include "TransformOps.h"

#include "motion/AnimatedValues.h"

#include <string>
#include <vector>

namespace usd::writer {
namespace {

void writeOpOrder(LayerBuilder& build, const Path& prim, const std::vector<std::string>& ops) {
    if (ops.empty())
        return;
    Array<Token> order;
    for (const std::string& op : ops)
        order.push_back(Token{op});
    build.addAttribute(prim, "xformOpOrder", {"token[]", order, Variability::Uniform});
}

void writeMatrixOp(LayerBuilder& build, const Path& prim, const scene::Matrix4& matrix) {
    build.addAttribute(prim, "xformOp:transform", {"matrix4d", toMatrix4d(matrix)});
    writeOpOrder(build, prim, {"xformOp:transform"});
}

std::vector<double> timesOf(const std::vector<ChannelSample>& samples) {
    std::vector<double> times;
    for (const ChannelSample& sample : samples)
        times.push_back(sample.code);
    return times;
}

template <typename Convert>
TimeSamples vectorSamples(const AnimationTimeline& timeline, const AnimatedChannel& channel,
                          const glm::dvec3& rest, Convert convert) {
    const std::vector<ChannelSample> samples = timeline.samplesOf(channel);
    TimeSamples result{timesOf(samples), {}};
    for (const ChannelSample& sample : samples)
        result.values.emplace_back(convert(vectorOf(timeline.valueAt(channel, sample), rest)));
    return result;
}

// The translate / orient / scale stack, op by op, then its order.
class ComponentOps {
  public:
    ComponentOps(LayerBuilder& build, const Path& prim) : build_(build), prim_(prim) {}

    void add(const std::string& name, AttributeDescription description,
             std::optional<TimeSamples> samples) {
        const Path attribute = build_.addAttribute(prim_, name, std::move(description));
        if (samples)
            build_.setTimeSamples(attribute, std::move(*samples));
        order_.push_back(name);
    }
    void writeOrder() { writeOpOrder(build_, prim_, order_); }

  private:
    LayerBuilder& build_;
    const Path& prim_;
    std::vector<std::string> order_;
};

void writeComponentOps(LayerBuilder& build, const Path& prim,
                       const scene::TransformComponents& parts, const scene::Node& node,
                       const AnimationTimeline& timeline) {
    ComponentOps ops(build, prim);
    const auto* translation = timeline.channel(node, AnimatedProperty::translation);
    if (translation || parts.position != glm::dvec3(0.0))
        ops.add("xformOp:translate", {"double3", toVec3d(parts.position)},
                translation
                    ? std::optional(vectorSamples(timeline, *translation, parts.position, toVec3d))
                    : std::nullopt);
    const scene::Quaternion rest = normalizedRotation(parts.orientation);
    const auto* rotation = timeline.channel(node, AnimatedProperty::rotation);
    if (rotation || rest != scene::Quaternion(1.0, 0.0, 0.0, 0.0)) {
        std::optional<TimeSamples> samples;
        if (rotation) {
            const std::vector<ChannelSample> at = timeline.samplesOf(*rotation);
            samples = TimeSamples{timesOf(at), {}};
            for (const scene::Quaternion& q : sampledRotations(timeline, *rotation, at, rest))
                samples->values.emplace_back(toQuatf(q));
        }
        ops.add("xformOp:orient", {"quatf", toQuatf(rest)}, std::move(samples));
    }
    const auto* scale = timeline.channel(node, AnimatedProperty::scale);
    if (scale || parts.scale != glm::dvec3(1.0))
        ops.add("xformOp:scale", {"float3", toVec3f(parts.scale)},
                scale ? std::optional(vectorSamples(timeline, *scale, parts.scale, toVec3f))
                      : std::nullopt);
    ops.writeOrder();
}

bool isAnimated(const scene::Node& node, const AnimationTimeline& timeline) {
    return timeline.channel(node, AnimatedProperty::translation) ||
           timeline.channel(node, AnimatedProperty::rotation) ||
           timeline.channel(node, AnimatedProperty::scale);
}

} // namespace

std::vector<scene::Quaternion> sampledRotations(const AnimationTimeline& timeline,
                                                const AnimatedChannel& channel,
                                                const std::vector<ChannelSample>& samples,
                                                const scene::Quaternion& rest) {
    std::vector<scene::Quaternion> rotations;
    for (const ChannelSample& sample : samples) {
        scene::Quaternion q =
            normalizedRotation(rotationOf(timeline.valueAt(channel, sample), rest));
        if (!rotations.empty())
            q = alongShorterArc(q, rotations.back());
        rotations.push_back(q);
    }
    return rotations;
}

void writeTransformOps(LayerBuilder& build, const Path& prim, const scene::Node& node,
                       const AnimationTimeline& timeline) {
    if (node.isTransformDecomposable() || isAnimated(node, timeline))
        writeComponentOps(build, prim, node.transformComponents(), node, timeline);
    else
        writeMatrixOp(build, prim, node.transform());
}

} // namespace usd::writer
