#include "CorpusFiles.h"
#include "SceneInspection.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/Camera.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Skinner.h>
#include <gmock/gmock.h>

using namespace modelimporter;
using ::testing::HasSubstr;

namespace {

TEST(AssimpImport, DracoCompressedMeshesHaveRealGeometry) {
    for (const char* path : {"gltf/BoxDraco/BoxDraco.gltf", "glb/DenseSphere.glb"}) {
        const auto file = brightfold::testing::corpusFile(path);
        REQUIRE_CORPUS_FILE(file);
        const auto scene = importWithAssimp(file);
        EXPECT_TRUE(hasGeometry(*scene)) << path;
        const glm::dvec3 size = vertexBounds(*scene).size();
        EXPECT_GT(size.x, 0.0) << path;
        EXPECT_GT(size.y, 0.0) << path;
        EXPECT_GT(size.z, 0.0) << path;
        EXPECT_LT(glm::length(size), 1e3) << path;
    }
}

TEST(AssimpImport, TexturedBoxKeepsItsMeshAndMaterial) {
    const auto file = brightfold::testing::corpusFile("gltf/BoxTextured/BoxTextured.gltf");
    REQUIRE_CORPUS_FILE(file);
    const auto scene = importWithAssimp(file);

    const auto nodes = geometryNodes(*scene);
    ASSERT_EQ(nodes.size(), 1u);
    const auto& geometry = *nodes[0]->geometry();
    EXPECT_EQ(totalVertexCount(*scene), 24u);
    ASSERT_EQ(geometry.elements().size(), 1u);
    EXPECT_EQ(geometry.elements()[0]->primitiveCount(), 12u);
    EXPECT_EQ(geometry.sourcesForSemantic(scene::GeometrySemantic::normal).size(), 1u);
    const auto uvs = geometry.firstSource(scene::GeometrySemantic::texcoord);
    ASSERT_NE(uvs, nullptr);
    EXPECT_NEAR(uvs->vector(2).x, 6.0, 1e-6);
    EXPECT_NEAR(uvs->vector(2).y, 0.9999999, 1e-6) << "the file's own v, not flipped";

    const auto material = geometry.materialForElement(0);
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->name, "Texture");
    EXPECT_EQ(material->lightingModel, scene::LightingModel::physicallyBased);
    const auto image = material->diffuse().image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->format(), scene::ImageFormat::png);
    EXPECT_EQ(material->diffuse().wrapS, scene::WrapMode::mirror);
    EXPECT_EQ(material->diffuse().wrapT, scene::WrapMode::clamp);
    EXPECT_EQ(*material->metalness().color(), scene::Color::white(0.0));
    EXPECT_EQ(material->blendMode, scene::BlendMode::replace);
}

TEST(AssimpImport, EmbeddedImagesAreRead) {
    const auto file = brightfold::testing::corpusFile("gltf/BoxTextured-Embedded/BoxTextured.gltf");
    REQUIRE_CORPUS_FILE(file);
    const auto material =
        geometryNodes(*importWithAssimp(file))[0]->geometry()->materialForElement(0);
    ASSERT_NE(material->diffuse().image(), nullptr);
    EXPECT_GT(material->diffuse().image()->width(), 0);
}

TEST(AssimpImport, CamerasKeepTheirProjection) {
    const auto file = brightfold::testing::corpusFile("gltf/Cameras/Cameras.gltf");
    REQUIRE_CORPUS_FILE(file);
    const auto scene = importWithAssimp(file);
    const auto cameraNodes = nodesWith(*scene, &scene::Node::camera);
    ASSERT_EQ(cameraNodes.size(), 2u);
    const auto& perspective = *cameraNodes[0]->camera();
    EXPECT_FALSE(perspective.usesOrthographicProjection);
    EXPECT_NEAR(perspective.fieldOfView, 0.7 * 180.0 / 3.14159265358979, 1e-4);
    EXPECT_NEAR(perspective.zNear, 0.01, 1e-6);
    const auto& orthographic = *cameraNodes[1]->camera();
    EXPECT_TRUE(orthographic.usesOrthographicProjection);
    EXPECT_NEAR(orthographic.orthographicScale, 1.0, 1e-6);
}

TEST(AssimpImport, SkinBindsTheMeshToItsJoints) {
    const auto file = brightfold::testing::corpusFile("glb/quad_skin.glb");
    REQUIRE_CORPUS_FILE(file);
    const auto scene = importWithAssimp(file);
    const auto skinned = nodesWith(*scene, &scene::Node::skinner);
    ASSERT_FALSE(skinned.empty());
    const auto& skinner = *skinned[0]->skinner();
    EXPECT_EQ(skinner.boneCount(), 10u);
    for (const auto& bone : skinner.bones()) {
        EXPECT_NE(bone, nullptr);
    }
    const auto vertices = skinned[0]->geometry()->firstSource(scene::GeometrySemantic::vertex);
    ASSERT_EQ(skinner.boneWeights()->vectorCount(), vertices->vectorCount());
    const glm::dvec4 weights = skinner.boneWeights()->vector(0);
    EXPECT_NEAR(weights.x + weights.y + weights.z + weights.w, 1.0, 1e-5);
}

TEST(AssimpImport, BrokenFilesFailWithAClearMessage) {
    const auto truncated = brightfold::testing::corpusFile("malformed/truncated_BoxTextured.glb");
    REQUIRE_CORPUS_FILE(truncated);
    for (const auto& file : {truncated, brightfold::testing::corpusFile("no-such-file.glb")}) {
        try {
            importWithAssimp(file);
            ADD_FAILURE() << "imported " << file;
        } catch (const ImportError& error) {
            EXPECT_THAT(error.what(),
                        HasSubstr("could not read \"" + file.filename().string() + "\": "));
        }
    }
}

TEST(ModelImporter, UsdcFilesGoToTheUsdReader) {
    EXPECT_THROW(importModel("/nowhere/scene.USDC"), ImportError);
}

} // namespace

namespace {

// Every glTF-family file of the corpus, broken ones included, either imports or is refused
// with an ImportError; nothing else escapes.
TEST(AssimpImport, EveryCorpusFileImportsOrFailsCleanly) {
    const auto corpus = brightfold::testing::corpusFile("");
    REQUIRE_CORPUS_FILE(corpus);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        const auto extension = entry.path().extension();
        if (extension != ".gltf" && extension != ".glb" && extension != ".vrm") {
            continue;
        }
        try {
            importWithAssimp(entry.path());
        } catch (const ImportError& error) {
            EXPECT_STRNE(error.what(), "") << entry.path();
        }
    }
}

} // namespace
