#include "SceneAnimator.h"

#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/KeyPath.h>
#include <SceneGraph/Node.h>
#include <cmath>

namespace brightfold::preview {

double loopedTime(const scene::Animation& animation, double seconds) {
    const double rounds = std::max(animation.repeatCount, 1.0);
    const double length = animation.duration * rounds;
    if (std::isinf(rounds) || !(length > 0.0) || !std::isfinite(length)) {
        return seconds;
    }
    return std::fmod(seconds, length);
}

SceneAnimator::SceneAnimator(const std::shared_ptr<scene::Node>& root) {
    root->enumerateHierarchy([this](scene::Node& node) {
        for (const scene::AnimationEntry& entry : node.animations()) {
            tracks_.push_back({node.weak_from_this(), entry.animation});
        }
    });
}

void SceneAnimator::apply(double seconds, QStringList& problems) {
    for (Track& track : tracks_) {
        const std::shared_ptr<scene::Node> node = track.node.lock();
        if (track.failed || !node) {
            continue;
        }
        try {
            scene::applyAnimation(*track.animation, *node, loopedTime(*track.animation, seconds));
        } catch (const scene::KeyPathError& error) {
            track.failed = true;
            problems << QStringLiteral("An animation was stopped: %1").arg(error.what());
        }
    }
}

} // namespace brightfold::preview
