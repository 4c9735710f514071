// Material binding, UsdPreviewSurface inputs, texture nodes and opacity.

#include "SceneReaderTestSupport.h"

#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using scene::Color;
using scene::ColorComponents;

// A 1×1 RGBA PNG.
const std::vector<std::uint8_t> kPng{
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
    0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
    0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF, 0x89, 0x99,
    0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// Builds materials the way authoring tools lay them out.
class MaterialBuilder {
  public:
    // Materials go in a "/Looks" scope.
    explicit MaterialBuilder(LayerBuilder& build) : build_(build) {
        build_.definePrim(Path::fromString("/Looks"), "Scope");
    }

    Path material(const std::string& path) {
        return build_.definePrim(Path::fromString(path), "Material");
    }
    // A UsdPreviewSurface connected to the material's surface output.
    Path surface(const Path& material) {
        const Path shader = node(material, "Surface", "UsdPreviewSurface");
        connect(material, "outputs:surface", "token", shader.appendProperty("outputs:surface"));
        return shader;
    }
    Path node(const Path& parent, const std::string& name, const std::string& id) {
        const Path shader = build_.definePrim(parent.appendChild(name), "Shader");
        build_.addAttribute(shader, "info:id", {"token", Token{id}, Variability::Uniform});
        return shader;
    }
    // A UsdUVTexture reading `file` through a primvar reader of `varname`.
    Path texture(const Path& material, const std::string& name, const std::string& file,
                 const std::string& varname = "st") {
        const Path texture = node(material, name, "UsdUVTexture");
        input(texture, "file", "asset", AssetPath{file});
        const Path reader = node(material, name + "Reader", "UsdPrimvarReader_float2");
        input(reader, "varname", "string", varname);
        connect(texture, "inputs:st", "float2", reader.appendProperty("outputs:result"));
        return texture;
    }
    void input(const Path& shader, const std::string& name, const std::string& type, Value value) {
        build_.addAttribute(shader, "inputs:" + name, {type, std::move(value)});
    }
    void connect(const Path& prim, const std::string& attribute, const std::string& type,
                 const Path& source) {
        const Path path = build_.addAttribute(prim, attribute, {type});
        build_.setConnections(path, {source});
    }
    void bind(const Path& prim, const Path& material,
              const std::string& relationship = "material:binding") {
        build_.addRelationship(prim, relationship, {material});
    }

  private:
    LayerBuilder& build_;
};

std::shared_ptr<scene::Material> materialOf(const ReadResult& result, const std::string& node,
                                            std::size_t element = 0) {
    const auto found = findNode(*result.scene, node);
    return found && found->geometry() ? found->geometry()->materialForElement(element) : nullptr;
}

double named(const scene::Material& material, const std::string& key) {
    const scene::Value* value = material.namedValue(key);
    return value && value->number() ? *value->number() : -1;
}

TEST(PreviewSurface, ConstantsFillSlotsAndUnauthoredInputsTakeUsdFallbacks) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    MaterialBuilder materials(build);
    const Path material = materials.material("/Looks/Paint");
    const Path surface = materials.surface(material);
    materials.input(surface, "diffuseColor", "color3f", Vec3f{0.25f, 0.5f, 0.75f});
    materials.input(surface, "metallic", "float", 1.0f);
    materials.input(surface, "emissiveColor", "color3f", Vec3f{1, 0, 0});
    materials.bind(defineQuad(build, "/Painted"), material);
    const Path tinted = defineQuad(build, "/Tinted");
    build.addAttribute(tinted, "primvars:displayColor", {"color3f[]", Array<Vec3f>{{0, 1, 0}}});
    defineQuad(build, "/Bare");
    const Path group = build.definePrim(Path::fromString("/Blue"), "Xform");
    build.addAttribute(group, "primvars:displayColor", {"color3f[]", Array<Vec3f>{{0, 0, 1}}});
    defineQuad(build, "/Blue/Inheriting");
    const ReadResult result = readLayer(layer);

    const auto paint = materialOf(result, "Painted");
    ASSERT_NE(paint, nullptr);
    EXPECT_EQ(paint->name, "Paint");
    EXPECT_EQ(paint->lightingModel, scene::LightingModel::physicallyBased);
    EXPECT_EQ(*paint->diffuse().color(), (Color{0.25, 0.5, 0.75, 1}));
    EXPECT_EQ(*paint->metalness().color(), Color::white(1));
    EXPECT_EQ(*paint->roughness().color(), Color::white(0.5));
    EXPECT_EQ(*paint->emission().color(), (Color{1, 0, 0, 1}));
    EXPECT_EQ(named(*paint, "emissiveFactorR"), 1);
    EXPECT_EQ(paint->blendMode, scene::BlendMode::replace);
    EXPECT_EQ(*materialOf(result, "Tinted")->diffuse().color(), (Color{0, 1, 0, 1}));
    EXPECT_EQ(*materialOf(result, "Bare")->diffuse().color(), Color::white(0.18));
    EXPECT_EQ(*materialOf(result, "Inheriting")->diffuse().color(), (Color{0, 0, 1, 1}));
    // The Looks scope only gathers materials: it is no node.
    EXPECT_EQ(findNode(*result.scene, "Looks"), nullptr);
}

TEST(PreviewSurface, TextureScalesBecomeFactorsAndImagesKeepTheirBytes) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    MaterialBuilder materials(build);
    const Path material = materials.material("/Looks/Textured");
    const Path surface = materials.surface(material);
    const Path albedo = materials.texture(material, "Albedo", "textures/albedo.png");
    materials.input(albedo, "scale", "float4", Vec4f{0.5f, 0.5f, 0.5f, 1});
    materials.input(albedo, "wrapT", "token", Token{"clamp"});
    materials.connect(surface, "inputs:diffuseColor", "color3f",
                      albedo.appendProperty("outputs:rgb"));
    const Path packed = materials.texture(material, "Packed", "textures/orm.png", "st1");
    materials.input(packed, "scale", "float4", Vec4f{1, 0.25f, 0.75f, 1});
    materials.connect(surface, "inputs:metallic", "float", packed.appendProperty("outputs:b"));
    materials.connect(surface, "inputs:roughness", "float", packed.appendProperty("outputs:g"));
    const Path occlusion = materials.texture(material, "Occlusion", "textures/orm.png", "st1");
    materials.input(occlusion, "scale", "float4", Vec4f{0.5f, 0.5f, 0.5f, 1});
    materials.input(occlusion, "bias", "float4", Vec4f{0.5f, 0.5f, 0.5f, 0});
    materials.connect(surface, "inputs:occlusion", "float", occlusion.appendProperty("outputs:r"));
    const Path missing = materials.texture(material, "Missing", "textures/none.png");
    materials.input(missing, "fallback", "float4", Vec4f{0, 0, 1, 1});
    materials.connect(surface, "inputs:emissiveColor", "color3f",
                      missing.appendProperty("outputs:rgb"));
    const Path mesh = defineQuad(build, "/Quad");
    for (const char* name : {"primvars:st", "primvars:st1"}) {
        build.addAttribute(mesh, name,
                           {"texCoord2f[]", Array<Vec2f>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}});
        build.setMetadata(mesh.appendProperty(name), "interpolation", Token{"vertex"});
    }
    materials.bind(mesh, material);
    const ReadResult result = readPackage({crateFile("scene.usdc", layer),
                                           {"textures/albedo.png", kPng},
                                           {"textures/orm.png", kPng}});
    const auto textured = materialOf(result, "Quad");
    ASSERT_NE(textured, nullptr);
    const auto image = textured->diffuse().image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(*image->encodedBytes(), kPng);
    EXPECT_EQ(named(*textured, "baseColorFactorR"), 0.5);
    EXPECT_EQ(named(*textured, "baseColorFactorA"), 1);
    EXPECT_EQ(textured->diffuse().wrapS, scene::WrapMode::repeat);
    EXPECT_EQ(textured->diffuse().wrapT, scene::WrapMode::clamp);
    EXPECT_EQ(textured->metalness().textureComponents, ColorComponents::blue);
    EXPECT_EQ(textured->roughness().textureComponents, ColorComponents::green);
    EXPECT_EQ(named(*textured, "metallicFactor"), 0.75);
    EXPECT_EQ(named(*textured, "roughnessFactor"), 0.25);
    // One image object per file, shared by the slots that read it.
    EXPECT_EQ(textured->metalness().image(), textured->ambientOcclusion().image());
    EXPECT_EQ(textured->ambientOcclusion().intensity, 0.5);
    EXPECT_EQ(textured->metalness().mappingChannel, 1);
    EXPECT_EQ(*textured->emission().color(), (Color{0, 0, 1, 1}));
    EXPECT_EQ(findNode(*result.scene, "Quad")
                  ->geometry()
                  ->sourcesForSemantic(scene::GeometrySemantic::texcoord)
                  .size(),
              2u);
}

TEST(PreviewSurface, InterfaceInputsAndNodeGraphOutputsAreFollowed) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    MaterialBuilder materials(build);
    const Path material = materials.material("/Looks/Graph");
    materials.input(material, "tint", "color3f", Vec3f{1, 0.5f, 0});
    const Path graph = build.definePrim(material.appendChild("Graph"), "NodeGraph");
    const Path surface = materials.node(graph, "Surface", "UsdPreviewSurface");
    materials.connect(surface, "inputs:diffuseColor", "color3f",
                      material.appendProperty("inputs:tint"));
    materials.connect(graph, "outputs:surface", "token", surface.appendProperty("outputs:surface"));
    materials.connect(material, "outputs:surface", "token",
                      graph.appendProperty("outputs:surface"));
    materials.bind(defineQuad(build, "/Quad"), material);
    const auto graphMaterial = materialOf(readLayer(layer), "Quad");
    ASSERT_NE(graphMaterial, nullptr);
    EXPECT_EQ(*graphMaterial->diffuse().color(), (Color{1, 0.5, 0, 1}));
}

TEST(MaterialBinding, NearestBindingWinsUnlessAnAncestorIsStronger) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    MaterialBuilder materials(build);
    std::map<std::string, Path> looks;
    for (const char* name : {"Red", "Green", "Blue", "Preview"}) {
        looks[name] = materials.material(std::string("/Looks/") + name);
        materials.surface(looks[name]);
    }
    const Path group = build.definePrim(Path::fromString("/Group"), "Xform");
    materials.bind(group, looks["Red"]);
    defineQuad(build, "/Group/Inherits");
    materials.bind(defineQuad(build, "/Group/Own"), looks["Green"]);
    const Path both = defineQuad(build, "/Group/Both");
    materials.bind(both, looks["Green"]);
    materials.bind(both, looks["Preview"], "material:binding:preview");
    const Path strong = build.definePrim(Path::fromString("/Strong"), "Xform");
    materials.bind(strong, looks["Blue"]);
    build.setMetadata(strong.appendProperty("material:binding"), "bindMaterialAs",
                      Token{"strongerThanDescendants"});
    materials.bind(defineQuad(build, "/Strong/Overruled"), looks["Green"]);
    materials.bind(defineQuad(build, "/Dangling"), Path::fromString("/Looks/Nothing"));
    const ReadResult result = readLayer(layer);
    EXPECT_EQ(materialOf(result, "Inherits")->name, "Red");
    EXPECT_EQ(materialOf(result, "Own")->name, "Green");
    EXPECT_EQ(materialOf(result, "Both")->name, "Preview");
    EXPECT_EQ(materialOf(result, "Overruled")->name, "Blue");
    EXPECT_EQ(*materialOf(result, "Dangling")->diffuse().color(), Color::white(0.18));
    EXPECT_THAT(::testing::PrintToString(result.notes), ::testing::HasSubstr("/Looks/Nothing"));
}

TEST(PreviewSurface, OpacityChoosesCutOutBlendOrOpaque) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    MaterialBuilder materials(build);
    const auto look = [&](const std::string& name, float opacity, float threshold) {
        const Path material = materials.material("/Looks/" + name);
        const Path surface = materials.surface(material);
        materials.input(surface, "opacity", "float", opacity);
        if (threshold > 0) {
            materials.input(surface, "opacityThreshold", "float", threshold);
        }
        materials.bind(defineQuad(build, "/" + name), material);
    };
    look("Cutout", 0.9f, 0.3f);
    look("Glass", 0.25f, 0);
    look("Solid", 1, 0);
    const ReadResult result = readLayer(layer);
    const auto cutout = materialOf(result, "Cutout");
    EXPECT_EQ(cutout->blendMode, scene::BlendMode::replace);
    EXPECT_NEAR(named(*cutout, "alphaCutoff"), 0.3, 1e-6);
    EXPECT_TRUE(cutout->shaderModifiers.contains(scene::ShaderEntryPoint::fragment));
    const auto glass = materialOf(result, "Glass");
    EXPECT_EQ(glass->blendMode, scene::BlendMode::alpha);
    EXPECT_FALSE(glass->writesToDepthBuffer);
    EXPECT_EQ(glass->diffuse().color()->alpha, 0.25);
    EXPECT_EQ(materialOf(result, "Solid")->blendMode, scene::BlendMode::replace);
}

TEST(PreviewSurface, TextureTransformsAndDoubleSidedCopies) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    MaterialBuilder materials(build);
    const Path material = materials.material("/Looks/Tiled");
    const Path surface = materials.surface(material);
    const Path texture = materials.texture(material, "Albedo", "albedo.png");
    const Path transform = materials.node(material, "Tiling", "UsdTransform2d");
    materials.input(transform, "scale", "float2", Vec2f{2, 2});
    materials.connect(transform, "inputs:in", "float2",
                      Path::fromString("/Looks/Tiled/AlbedoReader.outputs:result"));
    build.setConnections(texture.appendProperty("inputs:st"),
                         {transform.appendProperty("outputs:result")});
    materials.connect(surface, "inputs:diffuseColor", "color3f",
                      texture.appendProperty("outputs:rgb"));
    materials.bind(defineQuad(build, "/OneSided"), material);
    const Path twoSided = defineQuad(build, "/TwoSided");
    build.addAttribute(twoSided, "doubleSided", {"bool", true, Variability::Uniform});
    materials.bind(twoSided, material);
    const ReadResult result =
        readLayerFiles({crateFile("scene.usdc", layer), {"albedo.png", kPng}});
    const auto oneSided = materialOf(result, "OneSided");
    ASSERT_NE(oneSided->diffuse().image(), nullptr);
    // st' = 2·st, seen in uv (v = 1 − t): v' = 2v − 1.
    const glm::dvec4 mapped = oneSided->diffuse().contentsTransform * glm::dvec4(0.5, 0.25, 0, 1);
    EXPECT_NEAR(mapped.x, 1.0, 1e-9);
    EXPECT_NEAR(mapped.y, -0.5, 1e-9);
    EXPECT_FALSE(oneSided->doubleSided);
    EXPECT_TRUE(materialOf(result, "TwoSided")->doubleSided);
    EXPECT_NE(oneSided, materialOf(result, "TwoSided"));
}

} // namespace
} // namespace usd::test
