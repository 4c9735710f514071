// Material variants: the looks a document offers besides each primitive's own material.
#include "support/GLTFTestDocument.h"
#include "support/TestUnarchiver.h"
#include "support/ThrownBy.h"

#include <GLTFReader/DecodingError.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <gtest/gtest.h>
#include <utility>

using gltf::testing::failureOf;
using gltf::testing::GLTFTestDocument;
using gltf::testing::thrownBy;
using gltf::testing::unarchiverOf;

namespace {

// Three named materials, three zero positions, and the document's variants.
std::string documentWithVariants(const std::string& primitiveExtensions,
                                 const std::string& variants =
                                     R"([{"name": "midnight"}, {"name": "beach"},
                                         {"name": "street"}])") {
    return R"("accessors": [{"componentType": 5126, "count": 3, "type": "VEC3"}],
        "materials": [{"name": "leather"}, {"name": "canvas"}, {"name": "suede"}],
        "extensions": {"KHR_materials_variants": {"variants": )" +
           variants + R"(}},
        "meshes": [{"primitives": [
            {"attributes": {"POSITION": 0}, "material": 0, "extensions": )" +
           primitiveExtensions + R"(},
            {"attributes": {"POSITION": 0}, "material": 2}]}],
        "nodes": [{"mesh": 0}], "scenes": [{"nodes": [0]}])";
}

std::string mappings(const std::string& list) {
    return R"({"KHR_materials_variants": {"mappings": )" + list + "}}";
}

std::vector<std::pair<std::string, std::string>> variantsOf(const scene::Geometry& geometry) {
    std::vector<std::pair<std::string, std::string>> looks;
    for (const scene::MaterialVariant& variant : geometry.materialVariants()) {
        looks.emplace_back(variant.name, variant.material->name);
    }
    return looks;
}

} // namespace

TEST(MaterialVariants, AMappedPrimitiveKeepsItsOwnMaterialAndShowsOneMaterialPerVariant) {
    const auto scene = GLTFSceneSource(GLTFTestDocument(documentWithVariants(mappings(R"([
        {"material": 1, "variants": [2]}, {"material": 2, "variants": [0]}])")))
                                           .gltf())
                           .sceneWithOptions();
    const scene::Value* names = scene->value("materialVariants");
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(*names, scene::Value(scene::ValueArray{"midnight", "beach", "street"}));

    const auto& primitives =
        scene->rootNode()->childNodes().at(0)->childNodes().at(0)->childNodes();
    const scene::Geometry& mapped = *primitives.at(0)->geometry();
    EXPECT_EQ(mapped.materials().at(0)->name, "leather");
    // A variant the primitive does not map shows its own material.
    EXPECT_EQ(variantsOf(mapped),
              (std::vector<std::pair<std::string, std::string>>{
                  {"midnight", "suede"}, {"beach", "leather"}, {"street", "canvas"}}));
    EXPECT_EQ(mapped.materialVariants()[1].material, mapped.materials()[0]);
    // The first primitive's midnight look and the second one's own material are one material.
    EXPECT_EQ(mapped.materialVariants()[0].material, primitives.at(1)->geometry()->materials()[0]);

    const scene::Geometry& plain = *primitives.at(1)->geometry();
    EXPECT_EQ(plain.materials().at(0)->name, "suede");
    EXPECT_TRUE(plain.materialVariants().empty());
    EXPECT_TRUE(plain.copy()->materialVariants().empty());
    EXPECT_EQ(variantsOf(*mapped.copy()), variantsOf(mapped));
}

TEST(MaterialVariants, MappingsThatCannotBeFollowedRefuseTheMesh) {
    const std::pair<std::string, std::string> cases[] = {
        {mappings(R"([{"material": 1, "variants": [3]}])"),
         "DataInconsistent: loadMesh: KHR_materials_variants variant 3 is out of range: the "
         "document names 3 variants"},
        {mappings(R"([{"material": 1, "variants": [-1]}])"),
         "DataInconsistent: loadMesh: KHR_materials_variants variant -1 is out of range: the "
         "document names 3 variants"},
        {mappings(R"([{"material": 1, "variants": [0, 1]}, {"material": 2, "variants": [1]}])"),
         "DataInconsistent: loadMesh: KHR_materials_variants variant 1 is mapped twice in one "
         "primitive"},
        {mappings(R"([{"material": 7, "variants": [0]}])"),
         "DataInconsistent: loadMaterial: out of index: 7 < 3"},
    };
    for (const auto& [extensions, failure] : cases) {
        EXPECT_EQ(failureOf([&extensions = extensions] {
                      unarchiverOf(documentWithVariants(extensions)).loadMesh(0);
                  }),
                  failure)
            << extensions;
    }
    // Mappings in a document that names no variants point past an empty list.
    EXPECT_EQ(failureOf([&] {
                  unarchiverOf(documentWithVariants(mappings(R"([{"material": 1,
                                                                  "variants": [0]}])"),
                                                    "[]"))
                      .loadMesh(0);
              }),
              "DataInconsistent: loadMesh: KHR_materials_variants variant 0 is out of range: the "
              "document names 0 variants");
}

TEST(MaterialVariants, AVariantWithoutANameOrAMappingWithoutMaterialRefusesTheDocument) {
    const auto decodingFailure = [](const std::string& members) {
        return thrownBy<gltf::DecodingError>([&] { unarchiverOf(members); });
    };
    const gltf::DecodingError unnamed =
        decodingFailure(documentWithVariants("{}", R"([{"name": "a"}, {}])"));
    EXPECT_EQ(unnamed.kind(), gltf::DecodingError::Kind::keyNotFound);
    EXPECT_EQ(unnamed.codingPath(), "extensions.KHR_materials_variants.variants[1].name");

    const gltf::DecodingError noMaterial =
        decodingFailure(documentWithVariants(mappings(R"([{"variants": [0]}])")));
    EXPECT_EQ(noMaterial.kind(), gltf::DecodingError::Kind::keyNotFound);
}
