#include "MorphAnimationConversion.h"

#include "AnimationKeys.h"
#include "AssimpValues.h"

#include <SceneGraph/Node.h>
#include <algorithm>

namespace modelimporter {
namespace {

using WeightRows = std::vector<std::vector<double>>;

std::size_t targetCountOf(const std::vector<WeightPath>& paths) {
    std::size_t count = 0;
    for (const WeightPath& path : paths) {
        count = std::max(count, path.target + 1);
    }
    return count;
}

// One row of weights per key, one weight per target; targets a key leaves out weigh 0.
// Returns whether every weight named a target of the mesh.
bool readWeightRows(const aiMeshMorphAnim& channel, std::size_t targetCount, WeightRows& rows) {
    bool allKnown = true;
    for (unsigned k = 0; k < channel.mNumKeys; ++k) {
        const aiMeshMorphKey& key = channel.mKeys[k];
        std::vector<double>& row = rows.emplace_back(targetCount, 0.0);
        for (unsigned i = 0; i < key.mNumValuesAndWeights; ++i) {
            if (key.mValues[i] < targetCount) {
                row[key.mValues[i]] = key.mWeights[i];
            } else {
                allKnown = false;
            }
        }
    }
    return allKnown;
}

struct MorphChannel {
    const aiMeshMorphAnim& channel;
    std::string nodeName;
    std::string label;
    scene::AnimationClip clip;
};

void convertChannel(const MorphChannel& morph, scene::Node& node,
                    const std::vector<WeightPath>& paths, double secondsPerTick,
                    scene::AnimationCalculationMode mode, ImportNotes& notes) {
    WeightRows rows;
    if (!readWeightRows(morph.channel, targetCountOf(paths), rows)) {
        notes.push_back(morph.label + " weighs morph targets the meshes of node \"" +
                        morph.nodeName + "\" lack; those weights were left out.");
    }
    std::vector<double> seconds;
    for (unsigned k = 0; k < morph.channel.mNumKeys; ++k) {
        seconds.push_back(morph.channel.mKeys[k].mTime * secondsPerTick);
    }
    std::vector<std::shared_ptr<scene::Animation>> weights;
    for (const WeightPath& path : paths) {
        std::vector<scene::Value> values;
        for (const std::vector<double>& row : rows) {
            values.emplace_back(row[path.target]);
        }
        weights.push_back(keyframesAt(path.keyPath, seconds, std::move(values), mode));
    }
    const double duration = seconds.empty() ? 0.0 : std::max(seconds.back(), 0.0);
    registerAnimation(node, loopingGroup(duration, morph.clip, std::move(weights)), "weights");
}

} // namespace

void convertMorphAnimations(const aiScene& scene, const NodeFinder& findNode,
                            const WeightPathFinder& findWeightPaths, const SteppedChannels& stepped,
                            ImportNotes& notes) {
    for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
        const aiAnimation& animation = *scene.mAnimations[a];
        for (unsigned c = 0; c < animation.mNumMorphMeshChannels; ++c) {
            const aiMeshMorphAnim& channel = *animation.mMorphMeshChannels[c];
            const MorphChannel morph{channel, toString(channel.mName), animationLabel(animation, a),
                                     clipOf(animation, a)};
            const auto node = findNode(morph.nodeName);
            const auto paths = node ? findWeightPaths(morph.nodeName) : std::vector<WeightPath>{};
            if (paths.empty()) {
                notes.push_back(morph.label + " drives morph weights of \"" + morph.nodeName +
                                "\", which shows no morph targets; that part was left out.");
                continue;
            }
            const auto mode = stepped.calculationMode(a, morph.nodeName, "weights");
            convertChannel(morph, *node, paths, secondsPerTick(animation), mode, notes);
        }
    }
}

} // namespace modelimporter
