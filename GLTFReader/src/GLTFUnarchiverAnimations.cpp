#include "DocumentRecords.h"
#include "KeyframeInterpolation.h"
#include "LoadStopping.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/MaterialContract.h>
#include <algorithm>
#include <charconv>
#include <map>

namespace {

using WeightPaths = std::vector<std::string>;

const GLTFAnimation& animationRecord(const GLTFGlTF& document, std::int64_t index,
                                     std::string_view operationName) {
    return gltf::documentRecord(document.animations, index,
                                std::string(operationName) + ": animations is not defined");
}

// Channel and sampler numbers index an animation's own arrays; negative ones are refused like
// those past the end.
template <class Element>
const Element& elementAt(const std::vector<Element>& elements, std::int64_t index,
                         std::string_view operationName, std::string_view elementName) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= elements.size()) {
        throw GLTFUnarchiveError::dataInconsistent(
            std::string(operationName) + ": out of index: " + std::string(elementName) +
            std::to_string(index) + " < " + std::to_string(elements.size()));
    }
    return elements[static_cast<std::size_t>(index)];
}

// The node property each glTF channel path drives.
std::optional<std::string> keyPathFor(const std::string& channelPath) {
    static const std::map<std::string, std::string, std::less<>> keyPaths = {
        {"translation", "position"}, {"rotation", "orientation"}, {"scale", "scale"}};
    const auto found = keyPaths.find(channelPath);
    return found == keyPaths.end() ? std::nullopt : std::optional(found->second);
}

std::vector<double> numbersOf(const std::vector<scene::Value>& values,
                              const std::string& notNumbersMessage) {
    std::vector<double> numbers;
    numbers.reserve(values.size());
    for (const scene::Value& value : values) {
        const std::optional<double> number = value.number();
        if (!number) {
            throw GLTFUnarchiveError::dataInconsistent(notNumbersMessage);
        }
        numbers.push_back(*number);
    }
    return numbers;
}

std::shared_ptr<scene::AnimationGroup> groupOf(const scene::AnimationGroup& stored) {
    return std::static_pointer_cast<scene::AnimationGroup>(stored.copy());
}

[[noreturn]] void refuseCountMismatch(std::string_view operationName, std::size_t valueCount,
                                      std::size_t keyCount) {
    throw GLTFUnarchiveError::dataInconsistent(
        std::string(operationName) + ": data count mismatch: " + std::to_string(valueCount) +
        " != " + std::to_string(keyCount));
}

// The morph target a weight path addresses: the number in its last brackets ("…weights[k]").
std::size_t targetOf(const std::string& weightPath) {
    std::size_t target = 0;
    const std::size_t open = weightPath.rfind('[');
    std::from_chars(weightPath.data() + open + 1, weightPath.data() + weightPath.size(), target);
    return target;
}

// Every primitive of a mesh has the mesh's morph targets, so a key holds one weight per target,
// however many primitives share it.
std::size_t targetCountOf(const WeightPaths& weightPaths) {
    std::size_t count = 0;
    for (const std::string& path : weightPaths) {
        count = std::max(count, targetOf(path) + 1);
    }
    return count;
}

// The weights of one target, one per key: the values come key by key, one weight per target.
std::vector<scene::Value> weightsOfTarget(const std::vector<double>& weights, std::size_t target,
                                          std::size_t targetCount) {
    std::vector<scene::Value> values;
    for (std::size_t position = target; position < weights.size(); position += targetCount) {
        values.emplace_back(weights[position]);
    }
    return values;
}

// Each key holds one weight per morph target; a count that does not divide among the targets
// would shift every later weight onto the wrong target.
void refuseUnevenWeights(const GLTFAnimation& animation, std::int64_t animationIndex,
                         std::size_t weightCount, std::size_t targetCount) {
    if (weightCount % targetCount == 0) {
        return;
    }
    const std::string name =
        animation.name ? "\"" + *animation.name + "\"" : std::to_string(animationIndex);
    throw GLTFUnarchiveError::dataInconsistent(
        "loadWeightAnimationsSampler: animation " + name + " has " + std::to_string(weightCount) +
        " weights, which do not divide among " + std::to_string(targetCount) + " morph targets");
}

// Without weight paths the node has no mesh; with an empty list its mesh has no morph targets,
// and the weights could not be shared out among them.
const WeightPaths& requireMorphWeights(const std::optional<WeightPaths>& weightPaths) {
    if (!weightPaths) {
        throw GLTFUnarchiveError::dataInconsistent("loadAnimation: morpher is not defined)");
    }
    if (weightPaths->empty()) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadAnimation: weights are animated on a mesh without morph targets");
    }
    return *weightPaths;
}

// The group stored for a sampler by an earlier request, or null.
std::shared_ptr<scene::AnimationGroup>
storedGroup(const std::vector<std::shared_ptr<scene::AnimationGroup>>& groups,
            std::int64_t samplerIndex) {
    const bool stored =
        samplerIndex >= 0 && static_cast<std::uint64_t>(samplerIndex) < groups.size();
    return stored ? groups[static_cast<std::size_t>(samplerIndex)] : nullptr;
}

} // namespace

std::vector<double> GLTFUnarchiver::getAnimationDurations() {
    if (!json_.animations || !json_.accessors) {
        return {};
    }
    // The file's own "max" of each key-time accessor is trusted; only where an exporter left
    // it out are the key times read, so that animation still loops with the others.
    std::vector<double> durations;
    for (const GLTFAnimation& animation : *json_.animations) {
        double longest = 0;
        for (const GLTFAnimationSampler& sampler : animation.samplers) {
            const GLTFAccessor& input =
                elementAt(*json_.accessors, sampler.input, "getMaxAnimationDuration", "accessor ");
            if (!input.max) {
                longest = std::max(longest, loadKeyTimeAccessor(sampler.input).second);
                continue;
            }
            if (input.max->size() != 1) {
                throw GLTFUnarchiveError::dataInconsistent(
                    "getMaxAnimationDuration: keyTime must be SCALAR type");
            }
            longest = std::max(longest, static_cast<double>(input.max->front()));
        }
        durations.push_back(longest);
    }
    return durations;
}

const std::vector<double>& GLTFUnarchiver::knownAnimationDurations() {
    if (!animationDurations_) {
        animationDurations_ = getAnimationDurations();
    }
    return *animationDurations_;
}

double GLTFUnarchiver::getMaxAnimationDuration() {
    const std::vector<double>& durations = knownAnimationDurations();
    return durations.empty() ? 0 : std::ranges::max(durations);
}

double GLTFUnarchiver::animationDuration(std::int64_t animationIndex) {
    const std::vector<double>& durations = knownAnimationDurations();
    const bool known =
        animationIndex >= 0 && static_cast<std::uint64_t>(animationIndex) < durations.size();
    return known ? durations[static_cast<std::size_t>(animationIndex)] : 0;
}

void GLTFUnarchiver::loadNodeAnimations(std::int64_t nodeIndex) {
    gltf::throwIfLoadStopRequested();
    if (!json_.animations) {
        return;
    }
    const std::shared_ptr<scene::Node> node = loadNode(nodeIndex);
    const std::optional<WeightPaths> weightPaths = scene::weightPaths(*node);
    const std::vector<GLTFAnimation>& animations = *json_.animations;
    for (std::size_t animation = 0; animation < animations.size(); ++animation) {
        const std::vector<GLTFAnimationChannel>& channels = animations[animation].channels;
        for (std::size_t channel = 0; channel < channels.size(); ++channel) {
            if (channels[channel].target.node == nodeIndex) {
                loadAnimation(static_cast<std::int64_t>(animation),
                              static_cast<std::int64_t>(channel), weightPaths);
            }
        }
    }
}

std::shared_ptr<scene::AnimationGroup>
GLTFUnarchiver::loadAnimation(std::int64_t animationIndex, std::int64_t channelIndex,
                              const std::optional<WeightPaths>& weightPaths) {
    caches_.animationChannels.checkIndex(animationIndex, "loadAnimation");
    const GLTFAnimation& animation = animationRecord(json_, animationIndex, "loadAnimation");
    const GLTFAnimationChannel& channel =
        elementAt(animation.channels, channelIndex, "loadAnimation", "channel ");
    if (!channel.target.node) {
        throw GLTFUnarchiveError::notSupported(
            "loadAnimation: animation without node target is not supported");
    }
    const std::shared_ptr<scene::Node> node = loadNode(*channel.target.node);
    const std::string& path = channel.target.path;
    const std::shared_ptr<scene::AnimationGroup> group =
        path == "weights" ? loadWeightAnimationsSampler(animationIndex, channel.sampler,
                                                        requireMorphWeights(weightPaths))
                          : loadPropertyAnimation(animationIndex, channel.sampler, path);
    group->clip =
        scene::AnimationClip{static_cast<std::size_t>(animationIndex), animation.name.value_or("")};
    // The first channel of a path is found under the path's name; those of later animations of
    // the same path get keys of their own rather than replace it.
    node->addAnimation(group, node->animationForKey(path) ? std::nullopt : std::optional(path));
    gltf::onLoaded(animation, group, *this);
    return group;
}

std::shared_ptr<scene::AnimationGroup>
GLTFUnarchiver::loadPropertyAnimation(std::int64_t animationIndex, std::int64_t samplerIndex,
                                      const std::string& path) {
    const std::shared_ptr<scene::AnimationGroup> group =
        loadAnimationSampler(animationIndex, samplerIndex);
    const std::optional<std::string> keyPath = keyPathFor(path);
    if (!keyPath) {
        throw GLTFUnarchiveError::notSupported("loadAnimation: animation key " + path +
                                               " is not supported");
    }
    std::static_pointer_cast<scene::KeyframeAnimation>(group->animations.front())->keyPath =
        *keyPath;
    return group;
}

// The first request for a sampler gets the stored group itself, later ones deep copies, so
// that each channel can set its own key path.
std::shared_ptr<scene::AnimationGroup>
GLTFUnarchiver::loadAnimationSampler(std::int64_t animationIndex, std::int64_t samplerIndex) {
    std::vector<std::shared_ptr<scene::AnimationGroup>>& groups =
        caches_.animationSamplers.load(animationIndex, "loadAnimationSampler", [] {
            return std::vector<std::shared_ptr<scene::AnimationGroup>>{};
        });
    if (const std::shared_ptr<scene::AnimationGroup> stored = storedGroup(groups, samplerIndex)) {
        return groupOf(*stored);
    }
    const GLTFAnimationSampler& sampler =
        elementAt(animationRecord(json_, animationIndex, "loadAnimationSampler").samplers,
                  samplerIndex, "loadAnimationSampler", "sampler ");
    const gltf::Interpolation interpolation =
        gltf::interpolationOf(sampler._interpolation, "loadAnimationSampler");
    const auto [keyTimes, duration] = loadKeyTimeAccessor(sampler.input);
    const std::shared_ptr<scene::KeyframeAnimation> keyframes = scene::KeyframeAnimation::create();
    keyframes->keyTimes = numbersOf(keyTimes, "loadAnimationSampler: key times are not numbers");
    const std::vector<scene::Value> stored = loadValueAccessor(sampler.output);
    keyframes->values = gltf::keyValues(stored, interpolation, 1);
    if (interpolation == gltf::Interpolation::cubicSpline) {
        keyframes->inTangents = gltf::splinePart(stored, gltf::SplinePart::inTangents, 1);
        keyframes->outTangents = gltf::splinePart(stored, gltf::SplinePart::outTangents, 1);
    }
    if (keyframes->values.size() != keyframes->keyTimes.size()) {
        refuseCountMismatch("loadAnimationSampler", keyframes->values.size(),
                            keyframes->keyTimes.size());
    }
    keyframes->calculationMode = gltf::calculationModeOf(interpolation);
    keyframes->duration = duration;
    keyframes->repeatCount = scene::repeatForever;

    // Every property group lasts as long as its animation, so that one animation's channels
    // loop in step (and a clip played alone loops over its own length).
    const std::shared_ptr<scene::AnimationGroup> group = scene::AnimationGroup::create();
    group->animations = {keyframes};
    group->duration = animationDuration(animationIndex);
    group->repeatCount = scene::repeatForever;
    const auto position = static_cast<std::size_t>(samplerIndex);
    groups.resize(std::max(groups.size(), position + 1));
    groups[position] = group;
    return group;
}

std::shared_ptr<scene::AnimationGroup>
GLTFUnarchiver::loadWeightAnimationsSampler(std::int64_t animationIndex, std::int64_t samplerIndex,
                                            const WeightPaths& weightPaths) {
    const std::vector<std::shared_ptr<scene::AnimationGroup>>& groups =
        caches_.animationSamplers.load(animationIndex, "loadWeightAnimationsSampler", [] {
            return std::vector<std::shared_ptr<scene::AnimationGroup>>{};
        });
    if (const std::shared_ptr<scene::AnimationGroup> stored = storedGroup(groups, samplerIndex)) {
        return groupOf(*stored);
    }
    const GLTFAnimationSampler& sampler =
        elementAt(animationRecord(json_, animationIndex, "loadWeightAnimationsSampler").samplers,
                  samplerIndex, "loadWeightAnimationsSampler", "sampler ");
    const gltf::Interpolation interpolation =
        gltf::interpolationOf(sampler._interpolation, "loadWeightAnimationsSampler");
    const auto [keyTimeValues, duration] = loadKeyTimeAccessor(sampler.input);
    const std::size_t targetCount = targetCountOf(weightPaths);
    const std::vector<double> stored =
        numbersOf(loadValueAccessor(sampler.output),
                  "loadWeightAnimationsSampler: data type is not [NSNumber]");
    refuseUnevenWeights(animationRecord(json_, animationIndex, "loadWeightAnimationsSampler"),
                        animationIndex, stored.size(), targetCount);
    const std::vector<double> weights = gltf::keyValues(stored, interpolation, targetCount);
    const bool spline = interpolation == gltf::Interpolation::cubicSpline;
    const auto tangents = [&](gltf::SplinePart part) {
        return spline ? gltf::splinePart(stored, part, targetCount) : std::vector<double>{};
    };
    const std::vector<double> inTangents = tangents(gltf::SplinePart::inTangents);
    const std::vector<double> outTangents = tangents(gltf::SplinePart::outTangents);
    const std::vector<double> keyTimes =
        numbersOf(keyTimeValues, "loadWeightAnimationsSampler: key times are not numbers");
    const std::size_t keysPerTarget = weights.size() / targetCount;
    if (keysPerTarget != keyTimes.size()) {
        refuseCountMismatch("loadWeightAnimationsSampler", keysPerTarget, keyTimes.size());
    }

    // A weight group loops with its own sampler's duration.
    const std::shared_ptr<scene::AnimationGroup> group = scene::AnimationGroup::create();
    group->duration = duration;
    group->repeatCount = scene::repeatForever;
    for (const std::string& path : weightPaths) {
        const std::shared_ptr<scene::KeyframeAnimation> keyframes =
            scene::KeyframeAnimation::create(path);
        keyframes->keyTimes = keyTimes;
        keyframes->duration = duration;
        keyframes->values = weightsOfTarget(weights, targetOf(path), targetCount);
        keyframes->inTangents = weightsOfTarget(inTangents, targetOf(path), targetCount);
        keyframes->outTangents = weightsOfTarget(outTangents, targetOf(path), targetCount);
        keyframes->calculationMode = gltf::calculationModeOf(interpolation);
        group->animations.push_back(keyframes);
    }
    return group;
}
