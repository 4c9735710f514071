#pragma once

#include "Stage.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/Node.h>
#include <USD/scene_reader/SceneReader.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace usd::reader {

// One animated value of a node: its values at time codes, ascending.
struct TimeCodeTrack {
    std::string keyPath;
    std::vector<double> codes;
    std::vector<scene::Value> values;
    scene::AnimationCalculationMode mode = scene::AnimationCalculationMode::linear;
};

// The stage's single looping timeline. Tracks are gathered in time codes while the scene is
// built; once every one is known, each animated node gets one group that lasts the whole
// timeline and repeats forever, so everything loops in step as the stage plays.
class AnimationTimeline {
  public:
    explicit AnimationTimeline(const Stage& stage);

    void add(const std::shared_ptr<scene::Node>& node, TimeCodeTrack track);
    // Drops the tracks added for the node so far.
    void forget(const scene::Node& node);

    // Registers the groups on their nodes. A timeline of no length plays nothing: the nodes
    // keep the values they show at its single code.
    void finish(SceneReadNotes& notes);

  private:
    // The authored start code, else the earliest sample seen so far.
    std::optional<double> startCode() const;

    struct NodeTracks {
        std::shared_ptr<scene::Node> node;
        std::vector<TimeCodeTrack> tracks;
    };

    // Authored, else frames per second, else 24.
    double codesPerSecond_ = 24;
    std::optional<double> authoredStart_;
    std::optional<double> authoredEnd_;
    std::optional<double> earliest_;
    std::optional<double> latest_;
    std::vector<NodeTracks> nodes_;
    std::map<const scene::Node*, std::size_t> nodeIndex_;
};

// The value of a track at a code: interpolated between samples, held before the first and
// after the last. The track must have values.
scene::Value trackValueAt(const TimeCodeTrack& track, double code);

} // namespace usd::reader
