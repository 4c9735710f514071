// Textures within the AR viewer's limits: the sizes chosen, the averaging of each kind of
// texture, and packages whose large textures come out downscaled.

#include "SceneBuilding.h"
#include "textures/ImageDownscaling.h"
#include "textures/PngEncoding.h"
#include "textures/TextureFitting.h"

#include <cmath>
#include <gmock/gmock.h>
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>

namespace usd::test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using writer::FittedSize;
using writer::ImageContent;
using writer::TextureSize;

constexpr std::uint64_t mebibyte = 1 << 20;

// `make(x, y, channel)` for every channel of every pixel.
template <typename Make>
std::vector<std::uint8_t> pixelsOf(int width, int height, int channels, Make make) {
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                   static_cast<std::size_t>(channels));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                pixels.push_back(make(x, y, c));
    return pixels;
}

std::shared_ptr<scene::Image> imageOf(std::vector<std::uint8_t> encoded, std::string name) {
    auto image = scene::Image::fromEncodedBytes(scene::makeBytes(std::move(encoded)));
    image->setName(std::move(name));
    return image;
}

std::shared_ptr<scene::Image> png(const std::vector<std::uint8_t>& pixels, int width, int height,
                                  int channels, std::string name = "big.png") {
    return imageOf(writer::encodePng({width, height, channels, pixels}), std::move(name));
}

void appendBytes(void* context, void* data, int size) {
    auto& out = *static_cast<std::vector<std::uint8_t>*>(context);
    out.insert(out.end(), static_cast<std::uint8_t*>(data),
               static_cast<std::uint8_t*>(data) + size);
}

std::shared_ptr<scene::Image> jpeg(int width, int height, std::uint8_t level, std::string name) {
    const std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height * 3), level);
    std::vector<std::uint8_t> encoded;
    stbi_write_jpg_to_func(appendBytes, &encoded, width, height, 3, pixels.data(), 90);
    return imageOf(std::move(encoded), std::move(name));
}

// A quad per material, side by side.
std::shared_ptr<scene::Scene> sceneOf(const std::vector<std::shared_ptr<scene::Material>>& ms) {
    auto scene = scene::Scene::create();
    for (std::size_t i = 0; i < ms.size(); ++i) {
        auto geometry = quadGeometry(
            {floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}})});
        geometry->setMaterials({ms[i]});
        auto node = scene::Node::create("Quad" + std::to_string(i));
        node->setGeometry(geometry);
        scene->rootNode()->addChildNode(node);
    }
    return scene;
}

std::shared_ptr<scene::Material> colourMaterial(std::shared_ptr<scene::Image> image,
                                                const std::string& name = "Surface") {
    auto material = pbrMaterial(name);
    material->diffuse() = scene::MaterialProperty::withContents(std::move(image));
    return material;
}

const PackagedFile& fileNamed(const SceneLayer& built, const std::string& name) {
    for (const PackagedFile& file : built.files)
        if (file.name == name)
            return file;
    throw std::runtime_error("no packaged file " + name);
}

std::shared_ptr<scene::Image> packagedImage(const SceneLayer& built, const std::string& name) {
    return scene::Image::fromEncodedBytes(fileNamed(built, name).bytes);
}

scene::RGBA8Pixels shrunk(const std::vector<std::uint8_t>& rgba, int width, TextureSize size,
                          ImageContent content) {
    return writer::downscaled(*png(rgba, width, static_cast<int>(rgba.size()) / 4 / width, 4), size,
                              content);
}

TEST(TextureFitting, LongSidesComeDownToTheLimitKeepingTheAspect) {
    const auto fitted =
        writer::fitTextures({{4096, 1024}, {1000, 3000}, {2048, 2048}, {9, 9000}}, {2048, 0});
    EXPECT_EQ(fitted[0].size, (TextureSize{2048, 512}));
    EXPECT_EQ(fitted[1].size, (TextureSize{683, 2048}));
    EXPECT_EQ(fitted[2].size, (TextureSize{2048, 2048}));
    EXPECT_EQ(fitted[3].size, (TextureSize{2, 2048}));
    EXPECT_TRUE(fitted[0].cappedToSide);
    EXPECT_FALSE(fitted[2].cappedToSide);
    EXPECT_FALSE(fitted[0].halvedForBudget);
    EXPECT_EQ(writer::fitTextures({{8192, 8192}}, {0, 0})[0].size, (TextureSize{8192, 8192}));
}

TEST(TextureFitting, TheBudgetHalvesTheLargestFirstUntilAllFit) {
    // Eight 2048² textures need 8 × 21⅓ MiB with their mip levels: halving one fits 160 MiB.
    const std::vector<TextureSize> eight(8, {2048, 2048});
    const auto fitted = writer::fitTextures(eight, {2048, 160 * mebibyte});
    EXPECT_EQ(fitted[0].size, (TextureSize{1024, 1024})) << "the earliest of equals";
    EXPECT_TRUE(fitted[0].halvedForBudget);
    for (std::size_t i = 1; i < fitted.size(); ++i)
        EXPECT_EQ(fitted[i].size, (TextureSize{2048, 2048})) << i;
    std::uint64_t total = 0;
    for (const FittedSize& each : fitted)
        total += writer::decodedBytesWithMips(each.size);
    EXPECT_LE(total, 160 * mebibyte);

    // A large texture is capped first, then halved as often as the budget needs.
    const auto both = writer::fitTextures({{8192, 4096}, {512, 512}}, {2048, 4 * mebibyte});
    EXPECT_EQ(both[0].size, (TextureSize{1024, 512}));
    EXPECT_TRUE(both[0].cappedToSide && both[0].halvedForBudget);
    EXPECT_EQ(both[1].size, (TextureSize{512, 512}));

    // A budget nothing fits into ends with every texture at one pixel.
    for (const FittedSize& each : writer::fitTextures({{3, 5}, {64, 1}}, {0, 1}))
        EXPECT_EQ(each.size, (TextureSize{1, 1}));
}

TEST(ImageDownscaling, ColourAveragesInLinearLightWeightedByAlphaDataAsStored) {
    // Black and white, then opaque red beside transparent black.
    const std::vector<std::uint8_t> pixels = {0,   0, 0, 255, 255, 255, 255, 255,
                                              255, 0, 0, 255, 0,   0,   0,   0};
    const auto colour = shrunk(pixels, 2, {1, 2}, ImageContent::colour);
    EXPECT_THAT(colour.pixels, ElementsAre(188, 188, 188, 255, 255, 0, 0, 128));
    const auto data = shrunk(pixels, 2, {1, 2}, ImageContent::data);
    EXPECT_THAT(data.pixels, ElementsAre(128, 128, 128, 255, 128, 0, 0, 128));
}

TEST(ImageDownscaling, PixelsStraddlingANewPixelShareTheirWeight) {
    // Three pixels become two: the middle one counts half for each.
    const std::vector<std::uint8_t> pixels = {0, 0, 0, 255, 90, 0, 0, 255, 180, 0, 0, 255};
    const auto data = shrunk(pixels, 3, {2, 1}, ImageContent::data);
    EXPECT_THAT(data.pixels, ElementsAre(30, 0, 0, 255, 150, 0, 0, 255));
    EXPECT_THROW(shrunk(pixels, 3, {4, 1}, ImageContent::data), std::invalid_argument);
}

TEST(ImageDownscaling, NormalsAreAveragedAsVectorsAndMadeUnitLength) {
    // (1, 0, 0) and (0, 1, 0); then two tilts that cancel out, leaving the surface normal.
    const std::vector<std::uint8_t> pixels = {255, 128, 128, 255, 128, 255, 128, 255,
                                              230, 128, 204, 255, 26,  128, 204, 255};
    const auto normals = shrunk(pixels, 2, {1, 2}, ImageContent::normal);
    EXPECT_THAT(normals.pixels, ElementsAre(218, 218, 128, 255, 128, 128, 255, 255));
}

// Every eighth of a texel is a different colour, so no two of the 4 × 4 squares averaged
// into one new pixel agree.
std::uint8_t busyPattern(int x, int y, int channel) {
    switch (channel) {
    case 0:
        return static_cast<std::uint8_t>(x * 7 + y * 3);
    case 1:
        return static_cast<std::uint8_t>((x ^ y) * 5);
    default:
        return ((x / 3 + y / 5) & 1) ? 230 : 20;
    }
}

TEST(PackagedTextures, An8192TextureBecomes2048CloseToAReferenceDownscale) {
    constexpr int side = 8192, fitted = 2048;
    std::vector<std::uint8_t> source = pixelsOf(side, side, 3, busyPattern);
    const auto built = buildSceneLayer(*sceneOf({colourMaterial(png(source, side, side, 3))}));
    const auto image = packagedImage(built, "textures/big.png");
    ASSERT_EQ(image->width(), fitted);
    ASSERT_EQ(image->height(), fitted);
    EXPECT_EQ(image->channels(), 3);
    EXPECT_THAT(built.notes,
                ElementsAre("Texture textures/big.png was downscaled from 8192×8192 to 2048×2048 "
                            "pixels: 2048 pixels a side is AR Quick Look's limit "
                            "(--max-texture-size keep keeps it)."));

    std::vector<std::uint8_t> reference(static_cast<std::size_t>(fitted * fitted * 3));
    ASSERT_TRUE(stbir_resize_uint8_generic(source.data(), side, side, side * 3, reference.data(),
                                           fitted, fitted, fitted * 3, 3, STBIR_ALPHA_CHANNEL_NONE,
                                           0, STBIR_EDGE_CLAMP, STBIR_FILTER_BOX,
                                           STBIR_COLORSPACE_SRGB, nullptr));
    source = {};
    const scene::RGBA8Pixels written = image->decodeRGBA8();
    int largest = 0;
    for (std::size_t p = 0; p < reference.size() / 3; ++p)
        for (std::size_t c = 0; c < 3; ++c)
            largest = std::max(largest, std::abs(written.pixels[p * 4 + c] - reference[p * 3 + c]));
    EXPECT_LE(largest, 1) << "levels apart from the reference at worst";
}

TEST(PackagedTextures, ANormalMapIsRenormalisedAfterItsDownscale) {
    // Tilts of ±37° in a checkerboard of single pixels: each new pixel averages two of each,
    // which only renormalising turns back into the flat normal.
    constexpr int side = 4096;
    const auto tilts = pixelsOf(side, side, 3, [](int x, int y, int c) -> std::uint8_t {
        const bool left = ((x + y) & 1) != 0;
        return c == 0 ? (left ? 51 : 204) : c == 1 ? 128 : 230;
    });
    auto material = pbrMaterial();
    material->normal() = scene::MaterialProperty::withContents(png(tilts, side, side, 3, "n.png"));
    const auto built = buildSceneLayer(*sceneOf({material}));
    const auto image = packagedImage(built, "textures/n.png");
    ASSERT_EQ(image->width(), 2048);
    const scene::RGBA8Pixels written = image->decodeRGBA8();
    for (std::size_t p = 0; p < written.pixels.size(); p += 4 * 4099)
        ASSERT_THAT(std::vector(written.pixels.begin() + static_cast<std::ptrdiff_t>(p),
                                written.pixels.begin() + static_cast<std::ptrdiff_t>(p + 3)),
                    ElementsAre(128, 128, 255))
            << "pixel " << p / 4;
}

TEST(PackagedTextures, TheBudgetHalvesTheFirstOfEightAndAJpegStaysAJpeg) {
    std::vector<std::shared_ptr<scene::Material>> materials{
        colourMaterial(jpeg(2048, 2048, 100, "photo.jpg"), "Photo")};
    for (int i = 1; i < 8; ++i)
        materials.push_back(colourMaterial(
            png(std::vector<std::uint8_t>(2048 * 2048, static_cast<std::uint8_t>(i * 30)), 2048,
                2048, 1, "grey" + std::to_string(i) + ".png"),
            "Grey" + std::to_string(i)));
    const auto built = buildSceneLayer(*sceneOf(materials));
    const auto photo = packagedImage(built, "textures/photo.jpg");
    EXPECT_EQ(photo->format(), scene::ImageFormat::jpeg);
    EXPECT_EQ(photo->width(), 1024);
    EXPECT_NEAR(photo->decodeRGBA8().pixels[0], 100, 2);
    const auto grey = packagedImage(built, "textures/grey1.png");
    EXPECT_EQ(grey->width(), 2048);
    EXPECT_EQ(grey->channels(), 1);
    EXPECT_THAT(
        built.notes,
        ElementsAre(AllOf(HasSubstr("photo.jpg was downscaled from 2048×2048 to 1024×1024"),
                          HasSubstr("fit into 160 MiB once decoded with their mip levels"))));

    WriteOptions unlimited;
    unlimited.textureBudgetBytes = 0;
    const auto kept = buildSceneLayer(*sceneOf(materials), "Root", {}, unlimited);
    EXPECT_EQ(packagedImage(kept, "textures/photo.jpg")->width(), 2048);
    // Kept as asked: the package check after writing is what names the budget it exceeds.
    EXPECT_THAT(kept.notes, IsEmpty());
}

// 2 × 2 RGB pixels, red and green in a checkerboard, whose transparency chunk makes red
// transparent: three channels in the header, four once decoded.
const std::vector<std::uint8_t> colourKeyedPng = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0xfd, 0xd4, 0x9a,
    0x73, 0x00, 0x00, 0x00, 0x06, 0x74, 0x52, 0x4e, 0x53, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0xa4,
    0xc2, 0xc0, 0x1d, 0x00, 0x00, 0x00, 0x10, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf,
    0xc0, 0xc0, 0x00, 0xc1, 0x40, 0x12, 0x00, 0x1d, 0xf0, 0x03, 0xfd, 0xe1, 0xdc, 0x35, 0x28, 0x00,
    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

TEST(PackagedTextures, ADownscaledColourKeyKeepsItsTransparencyAsAlpha) {
    WriteOptions options;
    options.maxTextureSize = 1;
    const auto source = imageOf(colourKeyedPng, "keyed.png");
    ASSERT_EQ(source->channels(), 3);
    const auto built = buildSceneLayer(*sceneOf({colourMaterial(source)}), "Root", {}, options);
    const auto image = packagedImage(built, "textures/keyed.png");
    EXPECT_EQ(image->channels(), 4);
    EXPECT_THAT(image->decodeRGBA8().pixels, ElementsAre(0, 255, 0, 128)) << "green, half seen";
}

TEST(PackagedTextures, ATextureThatCannotBeDecodedIsKeptAndNoted) {
    // A whole PNG header, then no image data.
    std::vector<std::uint8_t> bytes =
        writer::encodePng({4096, 1, 1, std::vector<std::uint8_t>(4096)});
    bytes.resize(33);
    const auto built = buildSceneLayer(*sceneOf({colourMaterial(imageOf(bytes, "cut.png"))}));
    EXPECT_EQ(fileNamed(built, "textures/cut.png").bytes->size(), 33u);
    EXPECT_THAT(built.notes, Contains(AllOf(HasSubstr("textures/cut.png could not be downscaled"),
                                            HasSubstr("packaged at 4096×1 pixels"))));
}

} // namespace
} // namespace usd::test
