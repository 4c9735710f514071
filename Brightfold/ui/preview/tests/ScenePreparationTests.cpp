#include "ImagesDecodedAhead.h"
#include "PreparedScene.h"
#include "PreparedSceneShelf.h"
#include "SceneBuilding.h"

#include <Brightfold/Preview/ScenePreparation.h>
#include <QImage>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <gtest/gtest.h>

namespace brightfold::preview {
namespace {

using namespace fixtures;

std::shared_ptr<scene::Image> halfTransparentPixel() {
    QImage image(1, 1, QImage::Format_RGBA8888);
    image.setPixelColor(0, 0, QColor(0, 0, 255, 128));
    return scene::Image::fromEncodedBytes(pngBytes(image));
}

std::shared_ptr<scene::Image> damagedImage() {
    QImage image(64, 64, QImage::Format_RGB888);
    image.fill(Qt::green);
    const scene::Bytes whole = pngBytes(image);
    std::vector<std::uint8_t> cut(whole->begin(), whole->begin() + whole->size() / 2);
    return scene::Image::fromEncodedBytes(scene::makeBytes(std::move(cut)));
}

std::shared_ptr<scene::Node> quadNode(const std::shared_ptr<scene::Image>& image) {
    auto material = scene::Material::create();
    material->diffuse() = scene::MaterialProperty::withContents(image);
    auto geometry = quad();
    geometry->setMaterials({material});
    auto node = scene::Node::create();
    node->setGeometry(geometry);
    return node;
}

struct TwoQuads {
    std::shared_ptr<scene::Scene> scene = scene::Scene::create();
    std::shared_ptr<scene::Image> good = halfTransparentPixel();
    std::shared_ptr<scene::Image> bad = damagedImage();
    std::shared_ptr<scene::Node> first = quadNode(good);
    std::shared_ptr<scene::Node> second = quadNode(bad);

    TwoQuads() {
        scene->rootNode()->addChildNode(first);
        first->addChildNode(second);
    }
};

TEST(ScenePreparation, PacksEveryMeshAndDecodesEveryImageOnce) {
    const TwoQuads quads;
    const PreparedScene prepared = prepareScene(*quads.scene, {});

    ASSERT_EQ(prepared.meshes.size(), 2u);
    for (const auto* node : {quads.first.get(), quads.second.get()}) {
        const PreparedMesh& mesh = prepared.meshes.at(node);
        EXPECT_EQ(mesh.vertices.data.size(), 4 * mesh.vertices.stride);
        ASSERT_EQ(mesh.parts.size(), 1u);
        EXPECT_EQ(mesh.parts[0].data.size(), 6 * 2);
        EXPECT_TRUE(mesh.problems.isEmpty());
        EXPECT_EQ(mesh.streams.vertexCount(), 0u) << "without morph targets nothing is kept";
    }

    ASSERT_EQ(prepared.textures.size(), 2u);
    const PreparedTexture& good = prepared.textures.at(quads.good.get());
    ASSERT_TRUE(good.decoded);
    EXPECT_EQ(good.pixels.size, QSize(1, 1));
    EXPECT_TRUE(good.pixels.hasTransparency);
    const PreparedTexture& bad = prepared.textures.at(quads.bad.get());
    EXPECT_FALSE(bad.decoded);
    EXPECT_FALSE(bad.error.isEmpty());
}

TEST(ScenePreparation, MeshesWithMorphTargetsKeepTheirStreamsForBlending) {
    auto node = quadNode(halfTransparentPixel());
    auto morpher = scene::Morpher::create();
    morpher->setTargets({quad()});
    node->setMorpher(morpher);
    EXPECT_EQ(prepareMesh(*node).streams.vertexCount(), 4u);
}

std::shared_ptr<scene::Image> copyOf(const scene::Image& image) {
    const scene::Bytes& bytes = image.encodedBytes();
    return scene::Image::fromEncodedBytes(
        scene::makeBytes(std::vector<std::uint8_t>(bytes->begin(), bytes->end())));
}

// The read-back package holds images of its own: only one with the very same bytes may take
// the pixels decoded from the source.
TEST(ImagesDecodedAhead, MatchesImagesByTheirBytesOnly) {
    const auto transparent = halfTransparentPixel();
    QImage opaque(1, 1, QImage::Format_RGBA8888);
    opaque.fill(Qt::red);
    const auto other = scene::Image::fromEncodedBytes(pngBytes(opaque));
    const ImagesDecodedAhead ahead({transparent});

    const std::optional<PreparedTexture> same = ahead.pixelsFor(*copyOf(*transparent));
    ASSERT_TRUE(same && same->decoded);
    EXPECT_EQ(same->pixels.size, QSize(1, 1));
    EXPECT_TRUE(same->pixels.hasTransparency);
    EXPECT_FALSE(ahead.pixelsFor(*other));
    EXPECT_FALSE(ImagesDecodedAhead().pixelsFor(*transparent));
}

TEST(ScenePreparation, TakesImagesDecodedAheadAndDecodesTheRest) {
    const TwoQuads source;
    const TwoQuads readBack; // the same images' bytes in objects of its own
    const ImagesDecodedAhead ahead(materialImagesOf(*source.scene));
    const PreparedScene prepared = prepareScene(*readBack.scene, ahead);
    ASSERT_EQ(prepared.textures.size(), 2u);
    EXPECT_TRUE(prepared.textures.at(readBack.good.get()).decoded);
    EXPECT_FALSE(prepared.textures.at(readBack.bad.get()).decoded);
}

TEST(PreparedSceneShelf, HandsThePreparationToItsOwnSceneOnlyAndOnlyOnce) {
    const TwoQuads shown;
    const TwoQuads other;
    prepareForPreview(shown.scene);
    EXPECT_EQ(takePreparedScene(*other.scene), nullptr);
    const std::shared_ptr<PreparedScene> taken = takePreparedScene(*shown.scene);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->meshes.count(shown.first.get()), 1u);
    EXPECT_EQ(takePreparedScene(*shown.scene), nullptr);

    prepareForPreview(shown.scene);
    prepareForPreview(other.scene); // only the latest is kept
    EXPECT_EQ(takePreparedScene(*shown.scene), nullptr);
    EXPECT_NE(takePreparedScene(*other.scene), nullptr);
}

TEST(PreparedSceneShelf, NothingIsHandedOnForASceneThatHasGone) {
    const TwoQuads kept;
    {
        const TwoQuads gone;
        prepareForPreview(gone.scene);
    }
    EXPECT_EQ(takePreparedScene(*kept.scene), nullptr);
    prepareForPreview(nullptr);
    EXPECT_EQ(takePreparedScene(*kept.scene), nullptr);
}

} // namespace
} // namespace brightfold::preview
