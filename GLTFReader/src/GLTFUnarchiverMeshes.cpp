// Meshes: one node per mesh with one child per primitive, each child holding a geometry of the
// primitive's sources, its indices (or generated ones), computed normals where the file has
// none, its material and its morph targets.
#include "LoadStopping.h"
#include "NormalGeneration.h"
#include "PrimitiveModes.h"
#include "SkinInfluences.h"
#include "extensions/KHRDracoMeshCompression.h"
#include "extensions/KHRMaterialsVariants.h"

#include <GLTFReader/AccessorTables.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <algorithm>
#include <charconv>
#include <limits>
#include <numeric>
#include <string>

namespace {

std::optional<scene::GeometrySemantic> semanticForAttribute(std::string_view name) {
    using scene::GeometrySemantic;
    if (name == "POSITION") {
        return GeometrySemantic::vertex;
    }
    if (name == "NORMAL") {
        return GeometrySemantic::normal;
    }
    if (name == "TANGENT") {
        return GeometrySemantic::tangent;
    }
    if (name == "TEXCOORD_0" || name == "TEXCOORD_1" || name == "TEXCOORD_2" ||
        name == "TEXCOORD_3") {
        return GeometrySemantic::texcoord;
    }
    if (name == "COLOR_0") {
        return GeometrySemantic::color;
    }
    return std::nullopt;
}

// The n of a JOINTS_n or WEIGHTS_n attribute (`prefix` being "JOINTS_" or "WEIGHTS_").
std::optional<std::size_t> influenceSetNumber(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() == prefix.size()) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(prefix.size());
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

// Points and lines have no surface to shade, so only faces get computed normals.
bool hasFaces(const std::vector<std::shared_ptr<scene::GeometryElement>>& elements) {
    return std::any_of(elements.begin(), elements.end(), [](const auto& element) {
        return element->primitiveType() == scene::PrimitiveType::triangles ||
               element->primitiveType() == scene::PrimitiveType::triangleStrip;
    });
}

// A physically based, white, fully metallic and rough surface, made anew for each primitive
// that names no material.
std::shared_ptr<scene::Material> defaultMaterial() {
    auto material = scene::Material::create();
    material->lightingModel = scene::LightingModel::physicallyBased;
    material->diffuse().contents = scene::Color::white(1.0);
    material->metalness().contents = scene::Color::white(1.0);
    material->roughness().contents = scene::Color::white(1.0);
    material->doubleSided = false;
    return material;
}

template <class Index>
std::shared_ptr<scene::GeometryElement> sequentialIndices(std::size_t count,
                                                          scene::PrimitiveType type) {
    std::vector<Index> indices(count);
    std::iota(indices.begin(), indices.end(), Index{0});
    return scene::GeometryElement::fromIndices<Index>(indices, type);
}

const std::vector<std::string>* targetNamesOf(const GLTFMesh& mesh) {
    if (!mesh.extras) {
        return nullptr;
    }
    const auto entry = mesh.extras->extensions.find("TargetNames");
    if (entry == mesh.extras->extensions.end() || !entry->second.targetNames) {
        return nullptr;
    }
    return &*entry->second.targetNames;
}

} // namespace

std::shared_ptr<scene::Node> GLTFUnarchiver::loadMesh(std::int64_t index) {
    gltf::throwIfLoadStopRequested();
    // The first request gets the node it built; every later one a clone sharing geometries and
    // materials. The node is stored only once complete, so a mesh that failed fails again.
    bool built = false;
    const auto build = [&] {
        built = true;
        return buildMesh(index);
    };
    const auto runHook = [&](const std::shared_ptr<scene::Node>& meshNode) {
        gltf::onLoaded((*json_.meshes)[static_cast<std::size_t>(index)], meshNode, *this);
    };
    const std::shared_ptr<scene::Node>& meshNode =
        caches_.meshes.load(index, "loadMesh", build, runHook);
    return built ? meshNode : meshNode->clone();
}

std::shared_ptr<scene::Node> GLTFUnarchiver::buildMesh(std::int64_t index) {
    if (!json_.meshes) {
        throw GLTFUnarchiveError::dataInconsistent("loadMesh: meshes it not defined");
    }
    const GLTFMesh& mesh = (*json_.meshes)[static_cast<std::size_t>(index)];
    auto meshNode = scene::Node::create(mesh.name.value_or(""));
    for (const GLTFMeshPrimitive& primitive : mesh.primitives) {
        meshNode->addChildNode(loadPrimitive(mesh, primitive));
    }
    return meshNode;
}

std::shared_ptr<scene::Node> GLTFUnarchiver::loadPrimitive(const GLTFMesh& mesh,
                                                           const GLTFMeshPrimitive& primitive) {
    auto primitiveNode = scene::Node::create();
    std::optional<gltf::extensions::DracoMesh> compressed;
    if (const auto* draco = gltf::extensions::dracoCompression(primitive)) {
        compressed.emplace(*this, *draco, primitive);
    }
    std::vector<std::shared_ptr<scene::GeometrySource>> sources =
        loadAttributes(primitive.attributes, compressed ? &*compressed : nullptr);
    const auto firstOf = [&](scene::GeometrySemantic semantic) {
        const auto found = std::find_if(sources.begin(), sources.end(), [&](const auto& source) {
            return source->semantic() == semantic;
        });
        return found == sources.end() ? nullptr : *found;
    };
    const std::shared_ptr<scene::GeometrySource> vertexSource =
        firstOf(scene::GeometrySemantic::vertex);
    const std::int64_t mode = primitive._mode.value_or(4);
    const bool unrolled = gltf::isUnrolledMode(mode);
    const std::int64_t listedMode = unrolled ? gltf::pointsMode : mode;
    std::vector<std::shared_ptr<scene::GeometryElement>> elements;
    if (compressed) {
        elements.push_back(compressed->triangles());
    } else if (primitive.indices) {
        elements.push_back(loadIndexAccessor(*primitive.indices, listedMode));
    } else if (vertexSource) {
        elements.push_back(createIndexAccessor(*vertexSource, listedMode));
    }
    if (unrolled && !elements.empty()) {
        elements.front() = gltf::unrolledElement(*elements.front(), mode);
    }
    if (vertexSource && !firstOf(scene::GeometrySemantic::normal) && hasFaces(elements)) {
        sources.push_back(createNormalSource(*vertexSource, elements));
    }
    auto geometry = scene::Geometry::create(std::move(sources), std::move(elements));
    std::shared_ptr<scene::Material> material =
        primitive.material ? loadMaterial(*primitive.material) : defaultMaterial();
    geometry->setMaterialVariants(
        gltf::extensions::primitiveMaterialVariants(*this, primitive, material));
    geometry->setMaterials({std::move(material)});
    primitiveNode->setGeometry(std::move(geometry));
    if (primitive.targets) {
        primitiveNode->setMorpher(loadMorpher(mesh, *primitive.targets));
    }
    return primitiveNode;
}

std::shared_ptr<scene::Morpher>
GLTFUnarchiver::loadMorpher(const GLTFMesh& mesh,
                            const std::vector<std::map<std::string, std::int64_t>>& targets) {
    const std::vector<std::string>* targetNames = targetNamesOf(mesh);
    if (targetNames && targetNames->size() < targets.size()) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadMesh: targetNames has " + std::to_string(targetNames->size()) + " entries for " +
            std::to_string(targets.size()) + " morph targets");
    }
    std::vector<std::shared_ptr<scene::Geometry>> targetGeometries;
    for (std::size_t target = 0; target < targets.size(); ++target) {
        auto geometry = scene::Geometry::create(loadAttributes(targets[target]));
        if (targetNames) {
            geometry->setName((*targetNames)[target]);
        } else if (json_.accessors) {
            geometry->setName(morphTargetAccessorName(targets[target], target));
        }
        targetGeometries.push_back(std::move(geometry));
    }
    auto morpher = scene::Morpher::create();
    morpher->setTargets(std::move(targetGeometries));
    morpher->setCalculationMode(scene::MorpherCalculationMode::additive);
    // The mesh's default weights give the shape the file shows when nothing animates it.
    const std::vector<float> weights = mesh.weights.value_or(std::vector<float>{});
    for (std::size_t target = 0; target < std::min(weights.size(), targets.size()); ++target) {
        morpher->setWeight(target, weights[target]);
    }
    return morpher;
}

std::string
GLTFUnarchiver::morphTargetAccessorName(const std::map<std::string, std::int64_t>& attributes,
                                        std::size_t target) const {
    const auto position = attributes.find("POSITION");
    if (position == attributes.end()) {
        throw GLTFUnarchiveError::dataInconsistent("loadMesh: morph target " +
                                                   std::to_string(target) +
                                                   " has no POSITION attribute to name it by");
    }
    // The index was checked when the target's sources were loaded.
    return (*json_.accessors)[static_cast<std::size_t>(position->second)].name.value_or("");
}

std::vector<std::shared_ptr<scene::GeometrySource>>
GLTFUnarchiver::loadAttributes(const std::map<std::string, std::int64_t>& attributes,
                               const gltf::extensions::DracoMesh* compressed) {
    // The map is ordered by character codes, which fixes the order of the sources; joint and
    // weight set 0 hold their places there.
    std::vector<std::shared_ptr<scene::GeometrySource>> sources;
    std::map<std::size_t, gltf::InfluenceSet> influenceSets;
    // Attributes a compressed mesh holds are decoded from it; the rest come from accessors.
    const auto loadSource = [&](const std::string& name, std::int64_t accessorIndex,
                                scene::GeometrySemantic semantic) {
        std::shared_ptr<scene::GeometrySource> decoded =
            compressed ? compressed->source(name, accessorIndex, semantic) : nullptr;
        return decoded ? decoded : loadVertexAccessor(accessorIndex, semantic);
    };
    const auto addInfluence = [&](const std::string& name, std::size_t set,
                                  scene::GeometrySemantic semantic, std::int64_t accessorIndex) {
        std::shared_ptr<scene::GeometrySource> source = loadSource(name, accessorIndex, semantic);
        if (set == 0) {
            sources.push_back(source);
        }
        gltf::InfluenceSet& influences = influenceSets[set];
        (semantic == scene::GeometrySemantic::boneIndices ? influences.joints
                                                          : influences.weights) = std::move(source);
    };
    for (const auto& [name, accessorIndex] : attributes) {
        if (const auto set = influenceSetNumber(name, "JOINTS_")) {
            addInfluence(name, *set, scene::GeometrySemantic::boneIndices, accessorIndex);
        } else if (const auto weightSet = influenceSetNumber(name, "WEIGHTS_")) {
            addInfluence(name, *weightSet, scene::GeometrySemantic::boneWeights, accessorIndex);
        } else if (const std::optional<scene::GeometrySemantic> semantic =
                       semanticForAttribute(name)) {
            sources.push_back(loadSource(name, accessorIndex, *semantic));
        } else {
            noteOnce("loadMesh: the attribute " + name + " is not supported and is left out");
        }
    }
    foldInfluenceSets(influenceSets, sources);
    return sources;
}

// Extra joint and weight sets are folded into set 0, whose sources are replaced in place.
void GLTFUnarchiver::foldInfluenceSets(
    const std::map<std::size_t, gltf::InfluenceSet>& sets,
    std::vector<std::shared_ptr<scene::GeometrySource>>& sources) {
    std::vector<gltf::InfluenceSet> complete;
    bool extraSets = false;
    for (const auto& [number, set] : sets) {
        if (set.joints && set.weights) {
            complete.push_back(set);
            extraSets = extraSets || number != 0;
        } else if (number != 0) {
            noteOnce("loadMesh: joint and weight set " + std::to_string(number) +
                     " is incomplete and is left out");
        }
    }
    if (!extraSets) {
        return;
    }
    std::erase_if(sources, [](const auto& source) {
        return source->semantic() == scene::GeometrySemantic::boneIndices ||
               source->semantic() == scene::GeometrySemantic::boneWeights;
    });
    const gltf::InfluenceSet folded = gltf::strongestInfluences(complete);
    // Joints sort before the normals and weights after every other attribute.
    const auto jointsPlace = std::find_if(sources.begin(), sources.end(), [](const auto& source) {
        return source->semantic() != scene::GeometrySemantic::color;
    });
    sources.insert(jointsPlace, folded.joints);
    sources.push_back(folded.weights);
}

std::shared_ptr<scene::GeometryElement>
GLTFUnarchiver::createIndexAccessor(const scene::GeometrySource& vertexSource, std::int64_t mode) {
    const std::optional<scene::PrimitiveType> type = gltf::primitiveTypeForMode(mode);
    if (!type) {
        throw GLTFUnarchiveError::notSupported("createIndexAccessor: primitve mode " +
                                               std::to_string(mode) + " is not supported");
    }
    const std::size_t count = vertexSource.vectorCount();
    if (count <= std::numeric_limits<std::uint16_t>::max()) {
        return sequentialIndices<std::uint16_t>(count, *type);
    }
    if (count <= std::numeric_limits<std::uint32_t>::max()) {
        return sequentialIndices<std::uint32_t>(count, *type);
    }
    return sequentialIndices<std::uint64_t>(count, *type);
}

std::shared_ptr<scene::GeometrySource> GLTFUnarchiver::createNormalSource(
    const scene::GeometrySource& vertexSource,
    const std::vector<std::shared_ptr<scene::GeometryElement>>& elements) {
    const std::vector<glm::dvec3> positions = createVertexArray(vertexSource);
    const std::vector<glm::vec3> normals = gltf::averagedTriangleNormals(positions, elements);
    return scene::GeometrySource::fromVectors<3>(scene::GeometrySemantic::normal,
                                                 std::span<const glm::vec3>(normals));
}
