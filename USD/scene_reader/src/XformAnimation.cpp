#include "XformAnimation.h"

#include "XformStack.h"

#include <algorithm>
#include <glm/gtc/epsilon.hpp>

namespace usd::reader {
namespace {

// Neighbouring keys on opposite hemispheres would turn the long way round.
void keepHemisphere(std::vector<scene::TransformComponents>& keys) {
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (glm::dot(keys[i - 1].orientation, keys[i].orientation) < 0) {
            keys[i].orientation = -keys[i].orientation;
        }
    }
}

// Decomposing the same matrix twice may differ in the last bits.
bool nearlyEqual(const glm::dvec3& a, const glm::dvec3& b) {
    return glm::all(glm::epsilonEqual(a, b, 1e-9 * std::max(1.0, glm::length(a))));
}
bool nearlyEqual(const scene::Quaternion& a, const scene::Quaternion& b) {
    return std::abs(glm::dot(a, b)) > 1 - 1e-12;
}

template <typename Part>
void addChangingPart(const std::vector<double>& codes,
                     const std::vector<scene::TransformComponents>& keys, const char* keyPath,
                     Part part, std::vector<TimeCodeTrack>& tracks) {
    const bool changes = std::ranges::any_of(keys, [&](const scene::TransformComponents& key) {
        return !nearlyEqual(part(key), part(keys[0]));
    });
    if (!changes) {
        return;
    }
    TimeCodeTrack track{keyPath, codes, {}, scene::AnimationCalculationMode::linear};
    for (const scene::TransformComponents& key : keys) {
        track.values.emplace_back(part(key));
    }
    tracks.push_back(std::move(track));
}

} // namespace

bool hasXformAnimation(const ComposedPrim& prim) {
    return !xformKeyCodes(prim).empty();
}

void addXformAnimation(const ComposedPrim& prim, const std::shared_ptr<scene::Node>& node,
                       AnimationTimeline& timeline, SceneReadNotes& notes) {
    const std::vector<double> codes = xformKeyCodes(prim);
    if (codes.empty()) {
        return;
    }
    // Each unreadable op was reported with the still transform.
    SceneReadNotes repeated;
    std::vector<scene::TransformComponents> keys;
    bool sheared = false;
    for (const double code : codes) {
        const scene::Matrix4 local = evaluateXformStack(prim, repeated, code).matrix;
        sheared = sheared || !scene::isExactlyDecomposable(local);
        keys.push_back(scene::decomposeTransform(local));
    }
    if (sheared) {
        notes.push_back("The animated transform of " + prim.path().text() +
                        " shears; it plays without the shear.");
    }
    keepHemisphere(keys);
    // The parts that do not change hold these values throughout.
    node->setPosition(keys.front().position);
    node->setOrientation(keys.front().orientation);
    node->setScale(keys.front().scale);
    std::vector<TimeCodeTrack> tracks;
    addChangingPart(
        codes, keys, "position", [](const auto& k) { return k.position; }, tracks);
    addChangingPart(
        codes, keys, "orientation", [](const auto& k) { return k.orientation; }, tracks);
    addChangingPart(
        codes, keys, "scale", [](const auto& k) { return k.scale; }, tracks);
    for (TimeCodeTrack& track : tracks) {
        timeline.add(node, std::move(track));
    }
}

} // namespace usd::reader
