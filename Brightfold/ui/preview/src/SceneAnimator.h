#pragma once

#include <QStringList>
#include <memory>
#include <vector>

namespace scene {
class Animation;
class Node;
} // namespace scene

namespace brightfold::preview {

/// Plays every animation registered in a hierarchy, in a loop, by setting the animated values
/// on its nodes (positions, orientations, scales, morph weights …).
///
/// Animations that repeat forever run on the shared clock; one that plays a set number of
/// times starts over once it has finished, so nothing freezes while the preview is open. An
/// animation whose key path does not resolve stops and is described in `problems`; the others
/// carry on.
class SceneAnimator {
  public:
    explicit SceneAnimator(const std::shared_ptr<scene::Node>& root);

    bool isEmpty() const { return tracks_.empty(); }

    /// Sets every animated value `seconds` after playback started.
    void apply(double seconds, QStringList& problems);

  private:
    struct Track {
        std::weak_ptr<scene::Node> node;
        std::shared_ptr<scene::Animation> animation;
        bool failed = false;
    };

    std::vector<Track> tracks_;
};

/// Where a looping animation with this timing is `seconds` after it started: the time itself
/// for one that repeats forever, else the time within its current round.
double loopedTime(const scene::Animation& animation, double seconds);

} // namespace brightfold::preview
