#pragma once

#include <GLTFReader/ByteSlice.h>
#include <GLTFReader/GLTFExtensionRegistry.h>
#include <GLTFReader/GLTFGlTF.h>
#include <GLTFReader/UnarchiverCaches.h>
#include <SceneGraph/Animation.h>
#include <SceneGraph/Camera.h>
#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialProperty.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/Skinner.h>
#include <SceneGraph/Value.h>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gltf {
struct InfluenceSet;
struct PlacedElements;
} // namespace gltf
namespace gltf::extensions {
class DracoMesh;
}

// Reads one .gltf or .glb file: checks and splits the container, decodes the JSON document and
// prepares one cache per kind of glTF object for the loaders that build scene objects from it.
// Construction throws GLTFUnarchiveError for container faults and refused documents,
// gltf::DecodingError for JSON that does not decode, and gltf::FileError for unreadable files.
// One unarchiver serves one thread at a time.
class GLTFUnarchiver {
  public:
    // Relative URIs in the document resolve against the process's current directory.
    explicit GLTFUnarchiver(gltf::ByteBlock data, const GLTFExtensionRegistry& callerRegistry = {});

    // Reads the whole file; relative URIs resolve against its directory.
    explicit GLTFUnarchiver(const std::filesystem::path& path,
                            const GLTFExtensionRegistry& callerRegistry = {});

    const std::optional<std::filesystem::path>& directoryPath() const { return directoryPath_; }
    const GLTFGlTF& json() const { return json_; }
    const std::optional<gltf::ByteSlice>& bin() const { return bin_; }
    const gltf::UnarchiverCaches& caches() const { return caches_; }

    // What the loaders left out of the scene, each distinct message once in the order met; a
    // message is also written as a console line ("warning: …") the first time.
    void noteOnce(const std::string& message);
    const std::vector<std::string>& notes() const { return notes_; }

    // Buffers and buffer views.
    gltf::ByteSlice loadBuffer(std::int64_t index);
    gltf::ByteSlice loadBufferView(std::int64_t index,
                                   std::optional<std::int64_t> expectedTarget = std::nullopt);
    std::optional<std::int64_t> getDataStride(std::int64_t bufferViewIndex) const;
    void iterateBufferView(std::int64_t index, std::size_t byteOffset, std::size_t defaultStride,
                           std::size_t count,
                           const std::function<void(const std::uint8_t*)>& readElement);

    // Accessors.
    std::shared_ptr<scene::GeometrySource> loadVertexAccessor(std::int64_t index,
                                                              scene::GeometrySemantic semantic);
    std::shared_ptr<scene::GeometryElement> loadIndexAccessor(std::int64_t index,
                                                              std::int64_t mode);
    // Key times as fractions of the duration, and the duration in seconds.
    std::pair<std::vector<scene::Value>, double> loadKeyTimeAccessor(std::int64_t index);
    std::vector<scene::Value> loadValueAccessor(std::int64_t index);
    std::vector<glm::dvec3> createVertexArray(const scene::GeometrySource& source);

    // Meshes: the first call builds the mesh node, later calls get a clone of it.
    std::shared_ptr<scene::Node> loadMesh(std::int64_t index);

    // Materials, textures, samplers and images.
    std::shared_ptr<scene::Material> loadMaterial(std::int64_t index);
    std::shared_ptr<scene::Image> loadImage(std::int64_t index);
    std::shared_ptr<scene::MaterialProperty> loadTexture(std::int64_t index);
    void setSampler(std::int64_t samplerIndex, scene::MaterialProperty& property);
    void setTexture(std::int64_t textureIndex, scene::MaterialProperty& property);

    // Scenes, nodes and cameras.
    std::shared_ptr<scene::Scene> loadScene(std::int64_t index);
    // For a document that names no scene: the nodes that are no other node's child, in
    // document order, as one scene (built once).
    std::shared_ptr<scene::Scene> loadRootNodesScene();
    std::shared_ptr<scene::Node> loadNode(std::int64_t index);
    std::shared_ptr<scene::Camera> loadCamera(std::int64_t index);

    // Skins: built anew on every call; returns the last skinner built.
    std::shared_ptr<scene::Skinner> loadSkin(std::int64_t index,
                                             const std::shared_ptr<scene::Node>& meshNode);
    std::vector<scene::Matrix4> loadInverseBindMatrices(std::int64_t accessorIndex);

    // Animations.
    // The longest animation of the document in seconds, read from the document when first
    // needed (a node loaded on its own knows it as a scene load does).
    double getMaxAnimationDuration();
    void loadNodeAnimations(std::int64_t nodeIndex);

  private:
    GLTFUnarchiver(gltf::ByteBlock data, std::optional<std::filesystem::path> directoryPath,
                   const GLTFExtensionRegistry& callerRegistry);

    // Helpers of the buffer, accessor and mesh loaders.
    struct IndexBytes {
        gltf::ByteSlice data;
        std::size_t count;
    };
    // The bytes of an accessor's elements: its buffer view, or zeros without one; with sparse
    // substitutions applied, packed from byte 0 in a block of their own.
    gltf::PlacedElements placedElements(const GLTFAccessor& accessor, std::int64_t index,
                                        std::size_t elementSize, const std::string& operation);
    // Counts bytes the reader makes itself (zeros, sparse copies) against the document's
    // allowance, or refuses the accessor that would exceed it.
    void chargeMadeBytes(std::size_t count, std::size_t elementSize, const std::string& operation,
                         std::int64_t index);
    // Each element of an accessor with a buffer view (walked as iterateBufferView does) or
    // with sparse substitutions.
    void iterateElements(const GLTFAccessor& accessor, std::int64_t index, std::size_t elementSize,
                         const std::string& operation,
                         const std::function<void(const std::uint8_t*)>& readElement);
    // Index bytes packed one after another; interleaved ones are copied into a block of
    // their own.
    IndexBytes readIndexBytes(const GLTFAccessor& accessor, std::int64_t index,
                              std::size_t indexSize);
    std::vector<float> readKeyTimes(const GLTFAccessor& accessor, std::int64_t index);
    std::shared_ptr<scene::Node> buildMesh(std::int64_t index);
    std::shared_ptr<scene::Node> loadPrimitive(const GLTFMesh& mesh,
                                               const GLTFMeshPrimitive& primitive);
    std::shared_ptr<scene::Morpher>
    loadMorpher(const GLTFMesh& mesh,
                const std::vector<std::map<std::string, std::int64_t>>& targets);
    std::string morphTargetAccessorName(const std::map<std::string, std::int64_t>& attributes,
                                        std::size_t target) const;
    // Sources in the character-code order of the attribute names; attributes a compressed
    // mesh holds come from it.
    std::vector<std::shared_ptr<scene::GeometrySource>>
    loadAttributes(const std::map<std::string, std::int64_t>& attributes,
                   const gltf::extensions::DracoMesh* compressed = nullptr);
    void foldInfluenceSets(const std::map<std::size_t, gltf::InfluenceSet>& sets,
                           std::vector<std::shared_ptr<scene::GeometrySource>>& sources);
    // Sequential indices 0 … n − 1 for a primitive without indices.
    std::shared_ptr<scene::GeometryElement>
    createIndexAccessor(const scene::GeometrySource& vertexSource, std::int64_t mode);
    std::shared_ptr<scene::GeometrySource>
    createNormalSource(const scene::GeometrySource& vertexSource,
                       const std::vector<std::shared_ptr<scene::GeometryElement>>& elements);

    std::optional<std::filesystem::path> directoryPath_;
    GLTFGlTF json_;
    std::optional<gltf::ByteSlice> bin_;
    gltf::UnarchiverCaches caches_;
    std::vector<std::string> notes_;
    std::size_t madeBytes_ = 0;

    // Helpers of the scene, node, camera, skin and animation loaders.
    std::shared_ptr<scene::Scene> buildScene(const GLTFScene& record);
    void buildNode(std::int64_t index, const std::shared_ptr<scene::Node>& node);
    void attachChild(scene::Node& node, const std::shared_ptr<scene::Node>& child,
                     std::int64_t childIndex) const;
    void attachMesh(const GLTFNode& record, scene::Node& node);
    std::shared_ptr<scene::Camera> buildCamera(const GLTFCamera& record);
    std::shared_ptr<scene::Skinner>
    bindSkinner(scene::Node& primitive, const std::shared_ptr<scene::Geometry>& geometry,
                const std::vector<std::shared_ptr<scene::Node>>& bones,
                const std::optional<std::vector<scene::Matrix4>>& inverseBindMatrices);
    std::vector<scene::Matrix4> readInverseBindMatrices(std::int64_t accessorIndex);
    // The group built for channel `channelIndex` of animation `animationIndex`, added to its
    // target node; `weightPaths` are the target's morph-weight key paths (none without mesh).
    std::shared_ptr<scene::AnimationGroup>
    loadAnimation(std::int64_t animationIndex, std::int64_t channelIndex,
                  const std::optional<std::vector<std::string>>& weightPaths);
    std::shared_ptr<scene::AnimationGroup> loadPropertyAnimation(std::int64_t animationIndex,
                                                                 std::int64_t samplerIndex,
                                                                 const std::string& path);
    // The seconds each animation of the document lasts: its longest sampler.
    std::vector<double> getAnimationDurations();
    // Those durations, read once when first needed.
    const std::vector<double>& knownAnimationDurations();
    // One of them (0 for an index the document lacks).
    double animationDuration(std::int64_t animationIndex);
    // One key-frame animation in a group lasting as long as its animation, so that the
    // node properties one animation drives loop in step; kept per sampler.
    std::shared_ptr<scene::AnimationGroup> loadAnimationSampler(std::int64_t animationIndex,
                                                                std::int64_t samplerIndex);
    // One key-frame animation per weight path, in a group lasting the sampler's own duration.
    std::shared_ptr<scene::AnimationGroup>
    loadWeightAnimationsSampler(std::int64_t animationIndex, std::int64_t samplerIndex,
                                const std::vector<std::string>& weightPaths);

    std::optional<std::vector<double>> animationDurations_; // by animation
    // The root of the scene being built: nodes below it may still move under their parent.
    const scene::Node* sceneRootNode_ = nullptr;
    std::shared_ptr<scene::Scene> rootNodesScene_;
    int nodesBeingBuilt_ = 0; // nested loadNode calls: children, skins and animation targets
};
