#pragma once

#include <SceneGraph/Animation.h>
#include <set>
#include <simdjson.h>
#include <string>
#include <string_view>
#include <tuple>

namespace modelimporter {

// The channels whose keys each hold until the next one ("STEP" in glTF). Assimp keeps the keys
// but not how to move between them, so this is read from the file itself.
class SteppedChannels {
  public:
    // `channel` is "translation", "rotation", "scale" or "weights".
    void add(unsigned animation, std::string node, std::string channel) {
        channels_.emplace(animation, std::move(node), std::move(channel));
    }
    // Discrete for a stepped channel, else linear (Assimp samples cubic splines at their keys).
    scene::AnimationCalculationMode calculationMode(unsigned animation, const std::string& node,
                                                    std::string_view channel) const {
        return channels_.contains({animation, node, std::string(channel)})
                   ? scene::AnimationCalculationMode::discrete
                   : scene::AnimationCalculationMode::linear;
    }

  private:
    std::set<std::tuple<unsigned, std::string, std::string>> channels_;
};

// The stepped channels of a glTF document's animations, by animation index and node name as
// Assimp gives them (a node without a name is called "nodes[i]").
SteppedChannels readSteppedChannels(simdjson::dom::element document);

} // namespace modelimporter
