#include "SkeletonBones.h"

#include "ValueReading.h"

#include <algorithm>
#include <map>

namespace usd::reader {
namespace {

std::string_view lastComponent(std::string_view token) {
    const std::size_t slash = token.rfind('/');
    return slash == std::string_view::npos ? token : token.substr(slash + 1);
}

// The joint a joint hangs from: the longest proper prefix of its token that is a joint.
std::optional<std::size_t>
parentJoint(const std::string& token,
            const std::map<std::string, std::size_t, std::less<>>& index) {
    std::string_view prefix = token;
    for (std::size_t slash = prefix.rfind('/'); slash != std::string_view::npos;
         slash = prefix.rfind('/')) {
        prefix = prefix.substr(0, slash);
        if (const auto found = index.find(prefix); found != index.end()) {
            return found->second;
        }
    }
    return std::nullopt;
}

std::vector<scene::Matrix4> jointMatrices(const ComposedPrim& prim, const char* attribute,
                                          std::size_t jointCount, SceneReadNotes& notes) {
    std::vector<scene::Matrix4> matrices = readMatrixArray(prim.attributeValue(attribute));
    if (matrices.size() == jointCount) {
        return matrices;
    }
    if (prim.attributeValue(attribute) != nullptr) {
        notes.push_back("The " + std::string(attribute) + " of the skeleton " + prim.path().text() +
                        " do not match its " + std::to_string(jointCount) +
                        " joints; they are not used.");
    }
    return {};
}

} // namespace

std::optional<std::size_t> SkeletonBones::jointIndex(std::string_view token) const {
    const auto found = std::ranges::find(joints, token);
    return found == joints.end() ? std::nullopt
                                 : std::optional(static_cast<std::size_t>(found - joints.begin()));
}

SkeletonBones buildSkeletonBones(const ComposedPrim& skeletonPrim,
                                 const std::shared_ptr<scene::Node>& skeletonNode,
                                 SceneReadNotes& notes) {
    SkeletonBones skeleton{
        skeletonNode, readTextArray(skeletonPrim.attributeValue("joints")), {}, {}};
    const std::size_t count = skeleton.joints.size();
    std::map<std::string, std::size_t, std::less<>> index;
    for (std::size_t j = 0; j < count; ++j) {
        index.try_emplace(skeleton.joints[j], j);
    }
    skeleton.bindTransforms = jointMatrices(skeletonPrim, "bindTransforms", count, notes);
    const std::vector<scene::Matrix4> rest =
        jointMatrices(skeletonPrim, "restTransforms", count, notes);
    if (skeleton.bindTransforms.empty()) {
        skeleton.bindTransforms.assign(count, scene::Matrix4(1.0));
    }
    bool outOfOrder = false;
    for (std::size_t j = 0; j < count; ++j) {
        skeleton.bones.push_back(
            scene::Node::create(std::string(lastComponent(skeleton.joints[j]))));
    }
    for (std::size_t j = 0; j < count; ++j) {
        const std::optional<std::size_t> parent = parentJoint(skeleton.joints[j], index);
        outOfOrder = outOfOrder || (parent && *parent > j);
        const scene::Matrix4 parentBind =
            parent ? skeleton.bindTransforms[*parent] : scene::Matrix4(1.0);
        skeleton.bones[j]->setTransform(
            rest.empty() ? glm::inverse(parentBind) * skeleton.bindTransforms[j] : rest[j]);
        (parent ? skeleton.bones[*parent] : skeletonNode)->addChildNode(skeleton.bones[j]);
    }
    if (outOfOrder) {
        notes.push_back("The skeleton " + skeletonPrim.path().text() +
                        " lists joints before their parents; they are read by their paths.");
    }
    return skeleton;
}

} // namespace usd::reader
