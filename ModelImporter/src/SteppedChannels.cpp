#include "SteppedChannels.h"

namespace modelimporter {
namespace {

std::string nodeNameOf(simdjson::dom::array nodes, std::uint64_t index) {
    std::string_view name;
    simdjson::dom::element node;
    if (nodes.at(index).get(node) == simdjson::SUCCESS &&
        node["name"].get(name) == simdjson::SUCCESS && !name.empty()) {
        return std::string(name);
    }
    return "nodes[" + std::to_string(index) + "]";
}

bool isStepped(simdjson::dom::array samplers, std::uint64_t index) {
    simdjson::dom::element sampler;
    std::string_view interpolation;
    return samplers.at(index).get(sampler) == simdjson::SUCCESS &&
           sampler["interpolation"].get(interpolation) == simdjson::SUCCESS &&
           interpolation == "STEP";
}

void addStepped(SteppedChannels& stepped, unsigned animationIndex, simdjson::dom::element animation,
                simdjson::dom::array nodes) {
    simdjson::dom::array channels;
    simdjson::dom::array samplers;
    if (animation["channels"].get(channels) != simdjson::SUCCESS ||
        animation["samplers"].get(samplers) != simdjson::SUCCESS) {
        return;
    }
    for (simdjson::dom::element channel : channels) {
        std::uint64_t sampler = 0;
        std::uint64_t node = 0;
        std::string_view path;
        if (channel["sampler"].get(sampler) == simdjson::SUCCESS && isStepped(samplers, sampler) &&
            channel["target"]["node"].get(node) == simdjson::SUCCESS &&
            channel["target"]["path"].get(path) == simdjson::SUCCESS && node < nodes.size()) {
            stepped.add(animationIndex, nodeNameOf(nodes, node), std::string(path));
        }
    }
}

} // namespace

SteppedChannels readSteppedChannels(simdjson::dom::element document) {
    SteppedChannels stepped;
    simdjson::dom::array animations;
    simdjson::dom::array nodes;
    if (document["animations"].get(animations) != simdjson::SUCCESS ||
        document["nodes"].get(nodes) != simdjson::SUCCESS) {
        return stepped;
    }
    unsigned index = 0;
    for (simdjson::dom::element animation : animations) {
        addStepped(stepped, index++, animation, nodes);
    }
    return stepped;
}

} // namespace modelimporter
