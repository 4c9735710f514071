#include "PreviewSurface.h"

#include "ValueReading.h"

#include <SceneGraph/Image.h>
#include <SceneGraph/MaterialContract.h>
#include <algorithm>
#include <array>
#include <span>

namespace usd::reader {
namespace {

using scene::Color;
using scene::MaterialProperty;
namespace material_keys = scene::material_keys;

// How the scene marks a cut-out material: an alpha test against the named "alphaCutoff".
constexpr const char* kCutoutFragment = "#pragma arguments\n"
                                        "float alphaCutoff;\n"
                                        "#pragma body\n"
                                        "if (_output.color.a < alphaCutoff) {\n"
                                        "    discard_fragment();\n"
                                        "}\n";

Color colorOf(const glm::dvec4& rgb, double alpha = 1.0) {
    return {rgb.x, rgb.y, rgb.z, alpha};
}

int channelIndex(const std::string& output) {
    return output == "g" ? 1 : output == "b" ? 2 : output == "a" ? 3 : 0;
}

scene::ColorComponents componentsOf(const std::string& output) {
    if (output == "r") {
        return scene::ColorComponents::red;
    }
    if (output == "g") {
        return scene::ColorComponents::green;
    }
    if (output == "b") {
        return scene::ColorComponents::blue;
    }
    if (output == "a") {
        return scene::ColorComponents::alpha;
    }
    return output == "rgb" ? scene::ColorComponents::rgb : scene::ColorComponents::all;
}

// One UsdPreviewSurface input: a constant, a texture, or a primvar of the mesh (its
// displayColor or displayOpacity).
struct SurfaceInput {
    std::optional<glm::dvec4> constant;
    std::optional<TextureNode> texture;
    std::string primvar;
};

bool isBlack(const SurfaceInput& input) {
    return !input.texture && input.primvar.empty() && input.constant &&
           glm::dvec3(*input.constant) == glm::dvec3(0.0);
}

class SurfaceBuilder {
  public:
    SurfaceBuilder(const ComposedPrim& shader, const ShaderNetwork& network,
                   TextureReader& textures, SceneReadNotes& notes)
        : shader_(shader), network_(network), textures_(textures), notes_(notes),
          material_(*(result_.material = scene::Material::create())) {}

    ResolvedMaterial build() {
        material_.name = std::string(shader_.parent() ? shader_.parent()->name() : shader_.name());
        const bool specularWorkflow =
            readNumber(network_.input(shader_, "useSpecularWorkflow").value.value).value_or(0) != 0;
        const bool unlit = specularWorkflow && isUnlit();
        material_.lightingModel =
            unlit ? scene::LightingModel::constant : scene::LightingModel::physicallyBased;
        setNeutralFactors();
        applyDiffuse(unlit ? "emissiveColor" : "diffuseColor");
        applyScalar("metallic", material_.metalness(), material_keys::metallicFactor, 0.0);
        applyScalar("roughness", material_.roughness(), material_keys::roughnessFactor, 0.5);
        applyNormal();
        applyOcclusion();
        if (!unlit) {
            applyEmission();
        }
        applyOpacity();
        if (specularWorkflow && !unlit) {
            warn("uses the specular workflow; its specular colour is ignored");
            material_.metalness().contents = Color::white(0.0);
        }
        return std::move(result_);
    }

  private:
    // A surface that reflects nothing and shows its emission alone: how unlit materials are
    // written (a black specular colour in the specular workflow over a black diffuse colour).
    bool isUnlit() { return isBlack(input("diffuseColor")) && isBlack(input("specularColor")); }

    SurfaceInput input(std::string_view name) {
        const InputSource source = network_.input(shader_, name);
        if (!source.connected) {
            return {readVector(source.value.value), std::nullopt, {}};
        }
        if (std::optional<TextureNode> texture = textures_.read(*source.connected)) {
            return {std::nullopt, std::move(texture), {}};
        }
        const ComposedPrim& node = *source.connected->shader;
        const std::string varname =
            readText(network_.input(node, "varname").value.value).value_or("");
        if (ShaderNetwork::shaderId(node).starts_with("UsdPrimvarReader_") &&
            (varname == "displayColor" || varname == "displayOpacity")) {
            return {std::nullopt, std::nullopt, varname};
        }
        warn("reads " + std::string(name) + " from an unsupported node; it is left at its default");
        return {};
    }

    // Factors the glTF side keeps apart from textures; neutral until a texture needs one.
    void setNeutralFactors() {
        setColorFactor(material_keys::baseColorFactor, glm::dvec4(1.0), 4);
        scene::setNamedNumber(material_, material_keys::metallicFactor, 1.0);
        scene::setNamedNumber(material_, material_keys::roughnessFactor, 1.0);
        setColorFactor(material_keys::emissiveFactor, glm::dvec4(0.0), 3);
    }

    void setColorFactor(std::string_view key, const glm::dvec4& color, std::size_t channels) {
        const std::array<double, 4> rgba{color.x, color.y, color.z, color.w};
        scene::setColorFactor(material_, key, std::span<const double>(rgba).first(channels));
    }

    void applyTexture(const TextureNode& texture, MaterialProperty& slot) {
        if (texture.image) {
            slot.contents = texture.image;
        } else {
            slot.contents = colorOf(texture.fallback * texture.scale + texture.bias,
                                    texture.fallback.w * texture.scale.w + texture.bias.w);
        }
        slot.mappingChannel = channelFor(texture.texcoordPrimvar);
        slot.textureComponents = componentsOf(texture.output);
        slot.wrapS = texture.wrapS;
        slot.wrapT = texture.wrapT;
        slot.contentsTransform = texture.contentsTransform;
    }

    int channelFor(const std::string& primvar) {
        auto& names = result_.texcoordPrimvars;
        const auto found = std::ranges::find(names, primvar);
        if (found != names.end()) {
            return static_cast<int>(found - names.begin());
        }
        names.push_back(primvar);
        return static_cast<int>(names.size() - 1);
    }

    // The base colour: the diffuse colour, or the emission of an unlit surface.
    void applyDiffuse(std::string_view name) {
        SurfaceInput diffuse = input(name);
        if (diffuse.texture) {
            applyTexture(*diffuse.texture, material_.diffuse());
            const glm::dvec4& scale = diffuse.texture->scale;
            setColorFactor(material_keys::baseColorFactor, scale, 4);
            diffuseTexture_ = std::move(diffuse.texture);
        } else if (diffuse.primvar == "displayColor") {
            material_.diffuse().contents = Color::white(1.0);
            result_.readsDisplayColor = true;
        } else {
            material_.diffuse().contents = colorOf(diffuse.constant.value_or(glm::dvec4(0.18)));
        }
    }

    void applyScalar(std::string_view name, MaterialProperty& slot, std::string_view factorName,
                     double fallback) {
        const SurfaceInput value = input(name);
        if (!value.texture) {
            slot.contents = Color::white(value.constant ? value.constant->x : fallback);
            return;
        }
        const TextureNode& texture = *value.texture;
        applyTexture(texture, slot);
        const int channel = channelIndex(texture.output);
        scene::setNamedNumber(material_, factorName, texture.scale[channel]);
        if (texture.bias[channel] != 0) {
            warn("offsets its " + std::string(name) + " texture; the offset is not applied");
        }
    }

    void applyNormal() {
        const SurfaceInput normal = input("normal");
        if (normal.texture) {
            applyTexture(*normal.texture, material_.normal());
        }
    }

    // An occlusion strength s is written as scale s and bias 1 - s.
    void applyOcclusion() {
        const SurfaceInput occlusion = input("occlusion");
        if (!occlusion.texture) {
            return;
        }
        applyTexture(*occlusion.texture, material_.ambientOcclusion());
        const int channel = channelIndex(occlusion.texture->output);
        material_.ambientOcclusion().intensity = occlusion.texture->scale[channel];
    }

    void applyEmission() {
        const SurfaceInput emission = input("emissiveColor");
        if (emission.texture) {
            applyTexture(*emission.texture, material_.emission());
            setColorFactor(material_keys::emissiveFactor, emission.texture->scale, 3);
        } else if (emission.constant && glm::dvec3(*emission.constant) != glm::dvec3(0.0)) {
            material_.emission().contents = colorOf(*emission.constant);
            setColorFactor(material_keys::emissiveFactor, *emission.constant, 3);
        }
    }

    void applyOpacity() {
        const SurfaceInput opacity = input("opacity");
        const double threshold =
            readNumber(network_.input(shader_, "opacityThreshold").value.value).value_or(0.0);
        if (opacity.texture) {
            applyOpacityTexture(*opacity.texture);
        } else if (opacity.constant && opacity.constant->x < 1.0) {
            setConstantOpacity(opacity.constant->x);
        }
        // Vertex opacities (displayOpacity) reach the colour source's alpha.
        const bool translucent = opacity.texture || opacity.primvar == "displayOpacity" ||
                                 (opacity.constant && opacity.constant->x < 1.0);
        if (threshold > 0) {
            material_.blendMode = scene::BlendMode::replace;
            scene::setCutoutThreshold(material_, threshold);
            material_.shaderModifiers[scene::ShaderEntryPoint::fragment] = kCutoutFragment;
        } else if (translucent) {
            material_.blendMode = scene::BlendMode::alpha;
            material_.writesToDepthBuffer = false;
        } else {
            material_.blendMode = scene::BlendMode::replace;
        }
    }

    // The diffuse texture's own alpha, or a texture of its own in the transparent slot.
    void applyOpacityTexture(const TextureNode& texture) {
        if (diffuseTexture_ && diffuseTexture_->shader == texture.shader && texture.output == "a") {
            material_.diffuse().textureComponents = scene::ColorComponents::all;
            return;
        }
        applyTexture(texture, material_.transparent());
    }

    void setConstantOpacity(double opacity) {
        if (const Color* diffuse = material_.diffuse().color()) {
            Color withAlpha = *diffuse;
            withAlpha.alpha = opacity;
            material_.diffuse().contents = withAlpha;
        } else {
            material_.transparency = opacity;
        }
    }

    void warn(const std::string& what) {
        notes_.push_back(
            "The material " +
            (shader_.parent() ? shader_.parent()->path().text() : shader_.path().text()) + " " +
            what + ".");
    }

    const ComposedPrim& shader_;
    const ShaderNetwork& network_;
    TextureReader& textures_;
    SceneReadNotes& notes_;
    ResolvedMaterial result_;
    scene::Material& material_;
    std::optional<TextureNode> diffuseTexture_;
};

// The gprim's own values, else a constant one authored on the nearest ancestor.
VectorArray inheritedPrimvar(const ComposedPrim& gprim, const std::string& name) {
    for (const ComposedPrim* prim = &gprim; prim != nullptr; prim = prim->parent()) {
        VectorArray values = readVectorArray(prim->attributeValue(name));
        const bool constant =
            readText(prim->propertyField(name, "interpolation")).value_or("constant") == "constant";
        if (!values.empty() && (prim == &gprim || constant)) {
            return values;
        }
    }
    return {};
}

} // namespace

ResolvedMaterial previewSurfaceMaterial(const ComposedPrim& shader, const ShaderNetwork& network,
                                        TextureReader& textures, SceneReadNotes& notes) {
    return SurfaceBuilder(shader, network, textures, notes).build();
}

ResolvedMaterial displayColorMaterial(const ComposedPrim& gprim) {
    auto material = scene::Material::create();
    material->lightingModel = scene::LightingModel::physicallyBased;
    material->blendMode = scene::BlendMode::replace;
    const auto color = inheritedPrimvar(gprim, "primvars:displayColor");
    const auto opacity = inheritedPrimvar(gprim, "primvars:displayOpacity");
    // Colours that vary over the mesh come as a vertex colour source, over white.
    const bool varies = color.size() > 1;
    const glm::dvec4 rgb =
        color.size() == 1 ? glm::dvec4(color[0]) : glm::dvec4(varies ? 1.0 : 0.18);
    const double alpha = opacity.size() == 1 ? opacity[0].x : 1.0;
    material->diffuse().contents = colorOf(rgb, alpha);
    material->metalness().contents = Color::white(0.0);
    material->roughness().contents = Color::white(0.5);
    if (alpha < 1.0) {
        material->blendMode = scene::BlendMode::alpha;
        material->writesToDepthBuffer = false;
    }
    return {material, {}, varies};
}

} // namespace usd::reader
