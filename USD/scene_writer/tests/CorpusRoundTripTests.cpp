// Every static glTF and GLB model of the corpus written as USDZ and read back: the same node
// tree and names, vertex and primitive counts, bounds, transforms, materials and texture bytes
// as the glTF reader gave. What the self-check found in each package is printed for the record.

#include "SceneBuilding.h"
#include "StaticCorpus.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Node.h>
#include <USD/scene_reader/SceneReader.h>
#include <USD/scene_writer/SceneWriter.h>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <limits>
#include <set>

namespace usd::test {
namespace {

constexpr double kTolerance = 1e-5;

struct Bounds {
    glm::dvec3 low{std::numeric_limits<double>::max()};
    glm::dvec3 high{std::numeric_limits<double>::lowest()};
};

// One element as the comparison sees it: strips count as the triangles they make.
struct ElementFacts {
    bool triangles = false;
    scene::PrimitiveType type = scene::PrimitiveType::triangles;
    std::size_t primitives = 0;
    std::size_t vertices = 0; // distinct vertices its primitives use
    const scene::Material* material = nullptr;
};

struct GeometryFacts {
    std::vector<ElementFacts> elements;
    Bounds bounds; // of the vertices the elements use
};

void addGeometry(GeometryFacts& facts, const scene::Geometry& geometry) {
    const auto positions = geometry.firstSource(scene::GeometrySemantic::vertex);
    for (std::size_t e = 0; e < geometry.elements().size(); ++e) {
        const scene::GeometryElement& element = *geometry.elements()[e];
        std::set<std::uint64_t> used;
        for (std::size_t i = 0; i < element.indexCount(); ++i)
            used.insert(element.index(i));
        for (const std::uint64_t vertex : used) {
            const glm::dvec3 p(positions->vector(vertex));
            facts.bounds.low = glm::min(facts.bounds.low, p);
            facts.bounds.high = glm::max(facts.bounds.high, p);
        }
        const bool triangles = element.primitiveType() == scene::PrimitiveType::triangles ||
                               element.primitiveType() == scene::PrimitiveType::triangleStrip;
        facts.elements.push_back(
            {triangles, triangles ? scene::PrimitiveType::triangles : element.primitiveType(),
             element.primitiveCount(), used.size(), geometry.materialForElement(e).get()});
    }
}

bool near(double a, double b) {
    return std::abs(a - b) <= kTolerance * std::max(1.0, std::abs(a));
}

void expectNear(const glm::dvec3& read, const glm::dvec3& source, const std::string& what) {
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_PRED2(near, read[axis], source[axis]) << what << " axis " << axis;
}

bool isScalarSlot(scene::MaterialSlot slot) {
    return slot == scene::MaterialSlot::metalness || slot == scene::MaterialSlot::roughness ||
           slot == scene::MaterialSlot::ambientOcclusion;
}

// The channels a slot really reads: a scalar slot reading "all" reads red; a colour input reads
// rgb, its alpha (if used) feeding the opacity input.
scene::ColorComponents channelsRead(scene::MaterialSlot slot, scene::ColorComponents components) {
    if (components != scene::ColorComponents::all)
        return components;
    return isScalarSlot(slot) ? scene::ColorComponents::red : scene::ColorComponents::rgb;
}

// The glTF factors of a textured slot, which travel as the texture's scale (a constant slot
// holds its colour with the factor already applied).
std::vector<std::string> factorsOf(scene::MaterialSlot slot) {
    switch (slot) {
    case scene::MaterialSlot::diffuse:
        return {"baseColorFactorR", "baseColorFactorG", "baseColorFactorB", "baseColorFactorA"};
    case scene::MaterialSlot::metalness:
        return {"metallicFactor"};
    case scene::MaterialSlot::roughness:
        return {"roughnessFactor"};
    case scene::MaterialSlot::emission:
        return {"emissiveFactorR", "emissiveFactorG", "emissiveFactorB"};
    default:
        return {};
    }
}

// An absent factor means 1.
void expectSameFactors(const scene::Material& read, const scene::Material& source,
                       scene::MaterialSlot slot) {
    for (const std::string& key : factorsOf(slot)) {
        const auto factor = [&](const scene::Material& m) {
            const scene::Value* value = m.namedValue(key);
            return value && value->number() ? *value->number() : 1.0;
        };
        EXPECT_PRED2(near, factor(read), factor(source)) << key;
    }
}

// A material whose textures move their coordinates in different ways gets the moved
// coordinates baked into texture-coordinate sets of their own: the slot reads back untransformed
// from another set.
bool transformWasBaked(const scene::MaterialProperty& read, const scene::MaterialProperty& source) {
    return read.contentsTransform == scene::Matrix4(1.0) &&
           source.contentsTransform != scene::Matrix4(1.0);
}

void expectSameSlot(const scene::Material& readMaterial, const scene::Material& sourceMaterial,
                    scene::MaterialSlot slotName) {
    SCOPED_TRACE(scene::materialSlotName(slotName));
    const scene::MaterialProperty& read = readMaterial.property(slotName);
    const scene::MaterialProperty& source = sourceMaterial.property(slotName);
    ASSERT_EQ(read.contents.index(), source.contents.index());
    if (const auto image = source.image()) {
        EXPECT_EQ(*read.image()->encodedBytes(), *image->encodedBytes()) << "texture bytes";
        if (transformWasBaked(read, source)) {
            EXPECT_NE(read.mappingChannel, source.mappingChannel) << "baked coordinates";
        } else {
            EXPECT_EQ(read.mappingChannel, source.mappingChannel);
            for (int column = 0; column < 4; ++column)
                expectNear(glm::dvec3(read.contentsTransform[column]),
                           glm::dvec3(source.contentsTransform[column]), "contents transform");
        }
        EXPECT_EQ(channelsRead(slotName, read.textureComponents),
                  channelsRead(slotName, source.textureComponents));
        EXPECT_EQ(read.wrapS, source.wrapS);
        EXPECT_EQ(read.wrapT, source.wrapT);
        expectSameFactors(readMaterial, sourceMaterial, slotName);
    } else if (const auto* color = source.color()) {
        expectNear({read.color()->red, read.color()->green, read.color()->blue},
                   {color->red, color->green, color->blue}, "colour");
    } else if (const auto* number = source.number()) {
        EXPECT_PRED2(near, *read.number(), *number);
    }
}

// Alpha blending of a surface with nothing translucent draws it opaque, and the package says so.
bool blendsVisibly(const scene::Material& material) {
    if (material.blendMode != scene::BlendMode::alpha)
        return true;
    const scene::MaterialProperty& diffuse = material.property(scene::MaterialSlot::diffuse);
    const auto image = diffuse.image();
    return material.transparency < 1 || (diffuse.color() && diffuse.color()->alpha < 1) ||
           (image && (image->channels() == 2 || image->channels() == 4));
}

void expectSameMaterial(const scene::Material& read, const scene::Material& source) {
    SCOPED_TRACE("material " + source.name);
    EXPECT_EQ(read.name, source.name);
    EXPECT_EQ(read.doubleSided, source.doubleSided);
    EXPECT_EQ(read.blendMode, blendsVisibly(source) ? source.blendMode : scene::BlendMode::replace);
    for (const scene::MaterialSlot slot :
         {scene::MaterialSlot::normal, scene::MaterialSlot::ambientOcclusion,
          scene::MaterialSlot::emission})
        expectSameSlot(read, source, slot);
    // Specular-glossiness surfaces become metal/roughness ones (roughness baked from the
    // glossiness), so their base slots differ by design.
    if (source.namedValue("glossinessFactor") != nullptr)
        return;
    for (const scene::MaterialSlot slot :
         {scene::MaterialSlot::diffuse, scene::MaterialSlot::metalness,
          scene::MaterialSlot::roughness})
        expectSameSlot(read, source, slot);
}

void expectSameGeometry(const GeometryFacts& read, const GeometryFacts& source) {
    ASSERT_EQ(read.elements.size(), source.elements.size());
    for (std::size_t e = 0; e < source.elements.size(); ++e) {
        SCOPED_TRACE("element " + std::to_string(e));
        const ElementFacts& got = read.elements[e];
        const ElementFacts& wanted = source.elements[e];
        EXPECT_EQ(got.type, wanted.type);
        EXPECT_EQ(got.primitives, wanted.primitives);
        if (wanted.type == scene::PrimitiveType::line)
            // A curve keeps its own copy of a point that two segments of a loop or strip share.
            EXPECT_GE(got.vertices, wanted.vertices);
        else
            EXPECT_EQ(got.vertices, wanted.vertices);
        if (wanted.triangles && wanted.material && got.material &&
            wanted.material->lightingModel == scene::LightingModel::physicallyBased)
            expectSameMaterial(*got.material, *wanted.material);
    }
    if (!source.elements.empty()) {
        expectNear(read.bounds.low, source.bounds.low, "bounds low");
        expectNear(read.bounds.high, source.bounds.high, "bounds high");
    }
}

// `read` is the node read back for `source`. A geometry that could not stay on its node's prim
// (a node with children, or elements needing prims of different types) comes back on child
// nodes of its own, ahead of the node's real children.
void expectSameNode(const scene::Node& read, const scene::Node& source, const std::string& path) {
    SCOPED_TRACE(path);
    const auto& sourceChildren = source.childNodes();
    const auto& readChildren = read.childNodes();
    ASSERT_GE(readChildren.size(), sourceChildren.size());
    const std::size_t geometryChildren = readChildren.size() - sourceChildren.size();
    GeometryFacts readFacts, sourceFacts;
    if (read.geometry())
        addGeometry(readFacts, *read.geometry());
    for (std::size_t c = 0; c < geometryChildren; ++c) {
        ASSERT_TRUE(readChildren[c]->geometry()) << readChildren[c]->name();
        addGeometry(readFacts, *readChildren[c]->geometry());
    }
    if (source.geometry())
        addGeometry(sourceFacts, *source.geometry());
    expectSameGeometry(readFacts, sourceFacts);
    EXPECT_EQ(read.camera() != nullptr, source.camera() != nullptr);
    for (int column = 0; column < 4; ++column)
        expectNear(glm::dvec3(read.transform()[column]), glm::dvec3(source.transform()[column]),
                   "transform column " + std::to_string(column));
    for (std::size_t c = 0; c < sourceChildren.size(); ++c) {
        const scene::Node& child = *readChildren[geometryChildren + c];
        EXPECT_EQ(child.name(), sourceChildren[c]->name());
        expectSameNode(child, *sourceChildren[c], path + "/" + sourceChildren[c]->name());
    }
}

class CorpusRoundTrip : public ::testing::TestWithParam<CorpusModel> {};

TEST_P(CorpusRoundTrip, ReadsBackWhatWasWritten) {
    std::shared_ptr<scene::Scene> source;
    try {
        source = GLTFSceneSource(GetParam().file).sceneWithOptions();
    } catch (const std::exception& error) {
        GTEST_SKIP() << "the glTF reader refuses it: " << error.what();
    }
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "roundtrip";
    std::filesystem::create_directories(folder);
    const auto package = folder / (GetParam().name + ".usdz");
    // Everything the model holds, lines and lights too.
    const USDZWriteResult written = writeUSDZ(*source, package, {}, {}, {}, usdToolsOptions());
    ASSERT_TRUE(written.succeeded) << written.failure;
    for (const std::string& finding : written.notes)
        std::cout << "[ self-check ] " << GetParam().name << ": " << finding << '\n';

    SceneReadNotes readNotes;
    const auto read = readUSDZ(package, readNotes);
    EXPECT_TRUE(readNotes.empty()) << ::testing::PrintToString(readNotes);
    expectSameNode(*read->rootNode(), *source->rootNode(), "");
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusRoundTrip, ::testing::ValuesIn(staticCorpusModels()),
                         [](const auto& info) { return info.param.name; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusRoundTrip);

TEST(CorpusRoundTripPresence, SharedFolderIsThere) {
    if (staticCorpusModels().empty())
        GTEST_SKIP() << "../shared not found: " << BRIGHTFOLD_SHARED_DIR;
}

} // namespace
} // namespace usd::test
