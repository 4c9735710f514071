#include "support/GLTFTestDocument.h"
#include "support/ThrownBy.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <gtest/gtest.h>

using gltf::DecodingError;
using gltf::testing::GLTFTestDocument;
using gltf::testing::thrownBy;

namespace {

GLTFGlTF decode(std::string_view members) {
    return GLTFUnarchiver(GLTFTestDocument(members).gltf()).json();
}

DecodingError decodingErrorOf(std::string_view members) {
    return thrownBy<DecodingError>([&] { decode(members); });
}

} // namespace

TEST(DocumentDecoding, AnAssetWithAVersionIsAWholeDocument) {
    const GLTFGlTF document = decode("");
    EXPECT_EQ(document.asset.version, "2.0");
    EXPECT_FALSE(document.scene);
    EXPECT_FALSE(document.nodes);
    EXPECT_FALSE(document.accessors);
    EXPECT_FALSE(document.buffers);
    EXPECT_FALSE(document.extensions);

    EXPECT_EQ(
        thrownBy<DecodingError>([] { GLTFUnarchiver(gltf::testing::blockOf("{}")); }).codingPath(),
        "asset");
    EXPECT_EQ(thrownBy<DecodingError>([] {
                  GLTFUnarchiver(gltf::testing::blockOf(R"({"asset": {"generator": "x"}})"));
              }).codingPath(),
              "asset.version");
}

TEST(DocumentDecoding, ARecordNobodyReadsStillHasToBeWellFormed) {
    const std::pair<const char*, const char*> accessorsMissingAKey[] = {
        {R"({"count": 1, "type": "SCALAR"})", "componentType"},
        {R"({"componentType": 5126, "type": "SCALAR"})", "count"},
        {R"({"componentType": 5126, "count": 1})", "type"},
    };
    for (const auto& [accessor, missingKey] : accessorsMissingAKey) {
        const DecodingError error = decodingErrorOf(
            std::string(R"("accessors": [{"componentType": 5126, "count": 1, "type": "VEC3"}, )") +
            accessor + "]");
        EXPECT_EQ(error.kind(), DecodingError::Kind::keyNotFound) << accessor;
        EXPECT_EQ(error.codingPath(), std::string("accessors[1].") + missingKey);
    }
}

TEST(DocumentDecoding, UnderscoredFieldsKeepTheRawValueAndDefaultsAreLeftToTheLoaders) {
    const GLTFGlTF document = decode(R"(
        "bufferViews": [{"buffer": 0, "byteLength": 4}, {"buffer": 0, "byteLength": 4,
                         "byteOffset": 8, "byteStride": 12, "uri": "ignored.bin"}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0}}, {"attributes": {}, "mode": 1}]}],
        "animations": [{"channels": [], "samplers": [{"input": 0, "output": 1}]}])");
    EXPECT_FALSE(document.bufferViews->at(0)._byteOffset);
    EXPECT_EQ(document.bufferViews->at(1)._byteOffset, 8);
    EXPECT_EQ(document.bufferViews->at(1).byteStride, 12);
    const GLTFMesh& mesh = document.meshes->at(0);
    EXPECT_EQ(mesh.primitives[0].attributes.at("POSITION"), 0);
    EXPECT_FALSE(mesh.primitives[0]._mode);
    EXPECT_EQ(mesh.primitives[1]._mode, 1);
    EXPECT_FALSE(document.animations->at(0).samplers[0]._interpolation);
}

TEST(DocumentDecoding, SparseAccessorsAreDecodedAndMustBeComplete) {
    const GLTFGlTF document = decode(R"("accessors": [{"componentType": 5126, "count": 4,
        "type": "SCALAR", "sparse": {"count": 1,
        "indices": {"bufferView": 1, "componentType": 5123}, "values": {"bufferView": 2}}}])");
    const GLTFAccessorSparse& sparse = *document.accessors->at(0).sparse;
    EXPECT_EQ(sparse.count, 1);
    EXPECT_EQ(sparse.indices.componentType, 5123);
    EXPECT_EQ(sparse.values.bufferView, 2);
    EXPECT_FALSE(document.accessors->at(0).bufferView);

    EXPECT_EQ(decodingErrorOf(R"("accessors": [{"componentType": 5126, "count": 4,
        "type": "SCALAR", "sparse": {"count": 1, "indices": {"bufferView": 1}, "values": {}}}])")
                  .codingPath(),
              "accessors[0].sparse.indices.componentType");
}

TEST(DocumentDecoding, FieldsAreDecodedInDeclarationOrder) {
    // The first field in declaration order is reported, not the first in the text.
    EXPECT_EQ(
        decodingErrorOf(R"("cameras": [{"type": 1, "perspective": {"znear": 1}}])").codingPath(),
        "cameras[0].perspective.yfov");
    // A material reads its extension containers right after its name.
    EXPECT_EQ(
        decodingErrorOf(R"("materials": [{"pbrMetallicRoughness": 1, "extras": 2}])").codingPath(),
        "materials[0].extras");
    // The root reads "accessors" before "asset".
    EXPECT_EQ(thrownBy<DecodingError>([] {
                  GLTFUnarchiver(gltf::testing::blockOf(R"({"accessors": 0})"));
              }).codingPath(),
              "accessors");
}

TEST(DocumentDecoding, MaterialsAndTexturesKeepEveryReference) {
    const GLTFGlTF document = decode(R"(
        "materials": [{"name": "m", "pbrMetallicRoughness": {"baseColorFactor": [1, 0, 0, 1],
            "baseColorTexture": {"index": 2, "texCoord": 1}},
            "normalTexture": {"index": 0, "scale": 0.5},
            "occlusionTexture": {"index": 1, "strength": 0.25},
            "emissiveFactor": [0.1, 0.2, 0.3], "alphaMode": "MASK", "alphaCutoff": 0.3,
            "doubleSided": true}],
        "textures": [{"sampler": 0, "source": 1}],
        "samplers": [{"magFilter": 9729, "wrapS": 33648}],
        "images": [{"bufferView": 3, "mimeType": "image/png"}])");
    const GLTFMaterial& material = document.materials->at(0);
    EXPECT_EQ(material.pbrMetallicRoughness->baseColorTexture->index, 2);
    EXPECT_EQ(material.pbrMetallicRoughness->baseColorTexture->_texCoord, 1);
    EXPECT_EQ(material.normalTexture->_scale, 0.5f);
    EXPECT_EQ(material.occlusionTexture->_strength, 0.25f);
    EXPECT_EQ(material._alphaMode, "MASK");
    EXPECT_EQ(material._doubleSided, true);
    EXPECT_EQ(document.textures->at(0).source, 1);
    EXPECT_EQ(document.samplers->at(0)._wrapS, 33648);
    EXPECT_FALSE(document.samplers->at(0)._wrapT);
    EXPECT_EQ(document.images->at(0).bufferView, 3);
}
