// The self-check of skeletons, skinned meshes, blend shapes and time samples.

#include "selfcheck/SelfCheckRules.h"

#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <USD/ar_check/LayerQueries.h>
#include <USD/layer/FieldNames.h>
#include <algorithm>
#include <cmath>
#include <set>

namespace usd::writer::check {
namespace {

const Value* field(const Layer& layer, const Path& path, std::string_view name) {
    const Spec* spec = layer.spec(path);
    return spec ? spec->field(name) : nullptr;
}

std::size_t lengthAt(const Layer& layer, const Path& prim, std::string_view name) {
    return arrayLength(attributeValue(layer, prim, name));
}

std::vector<std::string> tokensAt(const Layer& layer, const Path& prim, std::string_view name) {
    const Value* value = attributeValue(layer, prim, name);
    const auto* tokens = value ? value->get<Array<Token>>() : nullptr;
    std::vector<std::string> texts;
    if (tokens)
        for (const Token& token : *tokens)
            texts.push_back(token.text);
    return texts;
}

void checkSkeleton(const Layer& layer, const Path& skeleton, Notes& notes) {
    const std::vector<std::string> joints = tokensAt(layer, skeleton, "joints");
    for (const std::string_view name : {"bindTransforms", "restTransforms"})
        if (lengthAt(layer, skeleton, name) != joints.size())
            notes.push_back(skeleton.text() + " has " + std::to_string(joints.size()) +
                            " joints but " + std::to_string(lengthAt(layer, skeleton, name)) + " " +
                            std::string(name) + ".");
    std::set<std::string> seen;
    for (const std::string& joint : joints) {
        const std::size_t slash = joint.rfind('/');
        if (slash != std::string::npos && !seen.contains(joint.substr(0, slash)))
            notes.push_back(skeleton.text() + ": joint " + joint + " comes before its parent.");
        seen.insert(joint);
    }
}

// Every sample of the attribute holds `expected` elements.
void checkSampleLengths(const Layer& layer, const Path& attribute, std::size_t expected,
                        Notes& notes) {
    const Value* samples = field(layer, attribute, field::kTimeSamples);
    const auto* held = samples ? samples->get<TimeSamples>() : nullptr;
    if (!held)
        return;
    for (const Value& value : held->values)
        if (arrayLength(&value) != expected) {
            notes.push_back(attribute.text() + " has a sample of " +
                            std::to_string(arrayLength(&value)) + " values for " +
                            std::to_string(expected) + ".");
            return;
        }
}

void checkSkelAnimation(const Layer& layer, const Path& animation, Notes& notes) {
    const std::size_t joints = tokensAt(layer, animation, "joints").size();
    for (const std::string_view name : {"translations", "rotations", "scales"}) {
        const Path attribute = animation.appendProperty(name);
        if (joints > 0 && lengthAt(layer, animation, name) != joints)
            notes.push_back(attribute.text() + " does not hold one value per joint.");
        checkSampleLengths(layer, attribute, joints, notes);
    }
    const std::size_t shapes = tokensAt(layer, animation, "blendShapes").size();
    const Path weights = animation.appendProperty("blendShapeWeights");
    if (lengthAt(layer, animation, "blendShapeWeights") != shapes)
        notes.push_back(weights.text() + " does not hold one weight per blend shape.");
    checkSampleLengths(layer, weights, shapes, notes);
}

std::size_t jointCountOf(const Layer& layer, const Path& mesh) {
    const auto skeletons =
        pathsOf(layer, mesh.appendProperty("skel:skeleton"), field::kTargetPaths);
    if (skeletons.size() != 1 || primType(layer, skeletons.front()) != "Skeleton")
        return 0;
    return tokensAt(layer, skeletons.front(), "joints").size();
}

void checkSkinnedMesh(const Layer& layer, const Path& mesh, Notes& notes) {
    const Path indices = mesh.appendProperty("primvars:skel:jointIndices");
    const Path weights = mesh.appendProperty("primvars:skel:jointWeights");
    if (!layer.hasSpec(indices) && !layer.hasSpec(weights))
        return;
    if (!(field(layer, indices, "elementSize") && field(layer, weights, "elementSize") &&
          *field(layer, indices, "elementSize") == *field(layer, weights, "elementSize")))
        notes.push_back(mesh.text() + ": joint indices and weights differ in element size.");
    const Value* value = attributeValue(layer, mesh, "primvars:skel:jointIndices");
    const auto* joints = value ? value->get<Array<std::int32_t>>() : nullptr;
    const std::size_t jointCount = jointCountOf(layer, mesh);
    if (jointCount == 0)
        notes.push_back(mesh.text() + " is skinned but bound to no skeleton with joints.");
    else if (joints && std::ranges::any_of(*joints, [&](std::int32_t j) {
                 return j < 0 || static_cast<std::size_t>(j) >= jointCount;
             }))
        notes.push_back(mesh.text() + " names a joint its skeleton lacks.");
}

void checkBlendShapeTargets(const Layer& layer, const Path& mesh, Notes& notes) {
    const std::size_t tokens = tokensAt(layer, mesh, "skel:blendShapes").size();
    const auto targets =
        pathsOf(layer, mesh.appendProperty("skel:blendShapeTargets"), field::kTargetPaths);
    if (tokens != targets.size())
        notes.push_back(mesh.text() + " names " + std::to_string(tokens) +
                        " blend shapes but targets " + std::to_string(targets.size()) + ".");
    const std::size_t points = lengthAt(layer, mesh, "points");
    for (const Path& target : targets) {
        if (primType(layer, target) != "BlendShape") {
            notes.push_back(mesh.text() + " targets " + target.text() +
                            ", which is no blend shape.");
            continue;
        }
        const std::size_t offsets = lengthAt(layer, target, "offsets");
        const Value* sparse = attributeValue(layer, target, "pointIndices");
        const auto* indices = sparse ? sparse->get<Array<std::int32_t>>() : nullptr;
        const bool fits =
            indices
                ? indices->size() == offsets &&
                      std::ranges::all_of(*indices,
                                          [&](std::int32_t i) {
                                              return i >= 0 && static_cast<std::size_t>(i) < points;
                                          })
                : offsets == points;
        if (!fits)
            notes.push_back(target.text() + ": its offsets do not match the mesh's points.");
    }
}

bool isIntegerAscending(const std::vector<double>& times) {
    for (std::size_t i = 0; i < times.size(); ++i)
        if (times[i] != std::floor(times[i]) || (i > 0 && !(times[i] > times[i - 1])))
            return false;
    return true;
}

} // namespace

void checkSkeletons(const Layer& layer, Notes& notes) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type == SpecType::Attribute) {
            const Value* samples = spec.field(field::kTimeSamples);
            const auto* held = samples ? samples->get<TimeSamples>() : nullptr;
            if (held && !isIntegerAscending(held->times))
                notes.push_back(path.text() + ": its time samples are not whole codes in "
                                              "ascending order.");
            continue;
        }
        if (spec.type != SpecType::Prim)
            continue;
        const std::string type = primType(layer, path);
        if (type == "Skeleton")
            checkSkeleton(layer, path, notes);
        else if (type == "SkelAnimation")
            checkSkelAnimation(layer, path, notes);
        if (layer.hasSpec(path.appendProperty("skel:skeleton")) &&
            !appliesSchema(layer, path, "SkelBindingAPI"))
            notes.push_back(path.text() + " binds a skeleton without the binding API.");
        checkSkinnedMesh(layer, path, notes);
        checkBlendShapeTargets(layer, path, notes);
    }
}

void checkLeftOutContent(const scene::Scene& scene, const Layer& layer, Notes& notes) {
    std::size_t skinned = 0, targets = 0, animations = 0;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        skinned += node.skinner() && node.geometry() ? 1 : 0;
        targets += node.morpher() && node.geometry() ? node.morpher()->targets().size() : 0;
        animations += node.animations().size();
    });
    std::size_t skinnedPrims = 0, blendShapes = 0, sampled = 0;
    for (const auto& [path, spec] : layer.specs()) {
        skinnedPrims += path.isPropertyPath() && path.name() == "primvars:skel:jointIndices";
        blendShapes += spec.type == SpecType::Prim && primType(layer, path) == "BlendShape";
        sampled += spec.field(field::kTimeSamples) ? 1 : 0;
    }
    if (skinnedPrims < skinned)
        notes.push_back(std::to_string(skinned - skinnedPrims) +
                        " skinned mesh(es) were written unskinned, in their bind pose.");
    if (blendShapes < targets)
        notes.push_back(std::to_string(targets - blendShapes) + " morph target(s) were left out.");
    if (animations > 0 && sampled == 0)
        notes.push_back("The scene's animations were left out; the file is static.");
}

} // namespace usd::writer::check
