#include "DocumentRecords.h"

#include <GLTFReader/AccessorTables.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Geometry.h>
#include <any>
#include <array>
#include <cstring>

namespace {

using Matrices = std::vector<scene::Matrix4>;

// Sixteen little-endian single-precision numbers, m11 … m44 in order.
constexpr std::size_t matrixSize = 16 * sizeof(float);

// An accessor without data stands for as many identity matrices as it counts; no skin binds
// more bones than this, and a larger count would only exhaust memory.
constexpr std::int64_t maxIdentityMatrices = 1 << 16;

scene::Matrix4 matrixAt(const std::uint8_t* bytes) {
    std::array<float, 16> numbers{};
    std::memcpy(numbers.data(), bytes, matrixSize);
    std::array<double, 16> widened{};
    std::copy(numbers.begin(), numbers.end(), widened.begin());
    return scene::matrixFromElements(widened);
}

// Matrices are read as single-precision numbers; any other component type would be read
// wrongly.
void requireMatrixAccessor(const GLTFAccessor& accessor) {
    const std::optional<bool> isFloat = gltf::componentIsFloat(accessor.componentType);
    if (!isFloat) {
        throw GLTFUnarchiveError::notSupported(
            "loadInverseBindMatrices: user defined accessor.componentType is not supported");
    }
    if (!*isFloat) {
        throw GLTFUnarchiveError::notSupported("loadInverseBindMatrices: componentType " +
                                               std::to_string(accessor.componentType) +
                                               " is not supported for matrices");
    }
    if (accessor.type != "MAT4") {
        throw GLTFUnarchiveError::dataInconsistent("loadInverseBindMatrices: type must be MAT4: " +
                                                   accessor.type);
    }
    if (accessor.count < 0 || accessor._byteOffset.value_or(0) < 0) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadInverseBindMatrices: count and byteOffset must not be negative");
    }
}

Matrices identityMatrices(std::int64_t count) {
    if (count > maxIdentityMatrices) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadInverseBindMatrices: count " + std::to_string(count) +
            " is too large for an accessor without bufferView");
    }
    return Matrices(static_cast<std::size_t>(count), scene::Matrix4(1.0));
}

// A skinner needs both per-vertex sources; the primitive's JOINTS_0 and WEIGHTS_0 become them.
std::shared_ptr<scene::GeometrySource> requireSource(const scene::Geometry& geometry,
                                                     scene::GeometrySemantic semantic,
                                                     std::string_view attribute) {
    std::shared_ptr<scene::GeometrySource> source = geometry.firstSource(semantic);
    if (!source) {
        throw GLTFUnarchiveError::dataInconsistent("loadSkin: " + std::string(attribute) +
                                                   " is not defined");
    }
    return source;
}

void requireEnoughMatrices(const std::optional<Matrices>& inverseBindMatrices,
                           std::size_t boneCount) {
    if (inverseBindMatrices && inverseBindMatrices->size() < boneCount) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadSkin: inverseBindMatrices has " + std::to_string(inverseBindMatrices->size()) +
            " matrices for " + std::to_string(boneCount) + " joints");
    }
}

} // namespace

// Skins are not cached: every call binds new skinners to the primitives of `meshNode`.
std::shared_ptr<scene::Skinner>
GLTFUnarchiver::loadSkin(std::int64_t index, const std::shared_ptr<scene::Node>& meshNode) {
    caches_.skins.checkIndex(index, "loadSkin");
    const GLTFSkin& skin =
        gltf::documentRecord(json_.skins, index, "loadSkin: 'skins' is not defined");
    std::vector<std::shared_ptr<scene::Node>> bones;
    for (const std::int64_t joint : skin.joints) {
        bones.push_back(loadNode(joint));
    }
    std::optional<Matrices> inverseBindMatrices;
    if (skin.inverseBindMatrices) {
        inverseBindMatrices = loadInverseBindMatrices(*skin.inverseBindMatrices);
    }
    requireEnoughMatrices(inverseBindMatrices, bones.size());
    if (skin.skeleton) {
        loadNode(*skin.skeleton);
    }
    std::shared_ptr<scene::Skinner> lastSkinner;
    for (const std::shared_ptr<scene::Node>& primitive : meshNode->childNodes()) {
        if (const std::shared_ptr<scene::Geometry>& geometry = primitive->geometry()) {
            lastSkinner = bindSkinner(*primitive, geometry, bones, inverseBindMatrices);
        }
    }
    if (!lastSkinner) {
        throw GLTFUnarchiveError::dataInconsistent("loadSkin: skinner is not defined");
    }
    gltf::onLoaded(skin, lastSkinner, *this);
    return lastSkinner;
}

std::shared_ptr<scene::Skinner>
GLTFUnarchiver::bindSkinner(scene::Node& primitive,
                            const std::shared_ptr<scene::Geometry>& geometry,
                            const std::vector<std::shared_ptr<scene::Node>>& bones,
                            const std::optional<Matrices>& inverseBindMatrices) {
    std::shared_ptr<scene::GeometrySource> indices =
        requireSource(*geometry, scene::GeometrySemantic::boneIndices, "JOINTS_0");
    std::shared_ptr<scene::GeometrySource> weights =
        requireSource(*geometry, scene::GeometrySemantic::boneWeights, "WEIGHTS_0");
    const std::shared_ptr<scene::Skinner> skinner = scene::Skinner::create(
        geometry, bones, inverseBindMatrices, std::move(weights), std::move(indices));
    skinner->setSkeleton(primitive.shared_from_this());
    primitive.setSkinner(skinner);
    return skinner;
}

std::vector<scene::Matrix4> GLTFUnarchiver::loadInverseBindMatrices(std::int64_t accessorIndex) {
    const std::any& slot = caches_.accessors.load(
        accessorIndex, "loadInverseBindMatrices",
        [&] { return std::any(readInverseBindMatrices(accessorIndex)); },
        [&](const std::any& matrices) {
            gltf::onLoaded((*json_.accessors)[static_cast<std::size_t>(accessorIndex)], matrices,
                           *this);
        });
    if (const auto* matrices = std::any_cast<Matrices>(&slot)) {
        return *matrices;
    }
    throw GLTFUnarchiveError::dataInconsistent("loadInverseBindMatrices: the accessor " +
                                               std::to_string(accessorIndex) +
                                               " is not [SCNMatrix4]");
}

std::vector<scene::Matrix4> GLTFUnarchiver::readInverseBindMatrices(std::int64_t accessorIndex) {
    const GLTFAccessor& accessor = gltf::documentRecord(
        json_.accessors, accessorIndex, "loadInverseBindMatrices: accessors is not defined");
    requireMatrixAccessor(accessor);
    if (!accessor.bufferView && !accessor.sparse) {
        return identityMatrices(accessor.count);
    }
    Matrices matrices;
    // The whole stride counts for the last matrix too, as for every element walk.
    iterateElements(accessor, accessorIndex, matrixSize, "loadInverseBindMatrices",
                    [&](const std::uint8_t* element) { matrices.push_back(matrixAt(element)); });
    return matrices;
}
