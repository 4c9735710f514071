// Avatar materials are drawn unlit, with the blending, culling and depth settings of the
// avatar's own shader. A material the avatar leaves to glTF keeps the glTF material as it is.
#include "ShaderModifiers.h"
#include "vrm/VRMSetUpSteps.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace gltf::vrm {
namespace {

using Properties = GLTFVRM_GLTFVRMMaterialProperties;

// A float setting as the integer it selects: truncated, or none when it is not finite or
// beyond any integer the settings use, so that it counts as absent.
std::optional<int> integerSetting(const Properties& properties, const std::string& key) {
    const auto found = properties.floatProperties.find(key);
    if (found == properties.floatProperties.end() || !std::isfinite(found->second)) {
        return std::nullopt;
    }
    const float truncated = std::trunc(found->second);
    if (truncated < static_cast<float>(INT_MIN) || truncated >= static_cast<float>(INT_MAX)) {
        return std::nullopt;
    }
    return static_cast<int>(truncated);
}

float floatSetting(const Properties& properties, const std::string& key, float fallback) {
    const auto found = properties.floatProperties.find(key);
    return found == properties.floatProperties.end() ? fallback : found->second;
}

// The avatar shader's colours are gamma-encoded (exponent 2.2), as the glTF base colour factor
// of the same material shows; the scene's factors are linear, like every glTF factor.
double linearFromGamma(float encoded) {
    return std::pow(std::max(static_cast<double>(encoded), 0.0), 2.2);
}

glm::dvec4 baseColorOf(const Properties& properties) {
    const auto found = properties.vectorProperties.find("_Color");
    if (found == properties.vectorProperties.end() || found->second.size() <= 3) {
        return glm::dvec4(1.0);
    }
    const std::vector<float>& color = found->second;
    return {linearFromGamma(color[0]), linearFromGamma(color[1]), linearFromGamma(color[2]),
            color[3]};
}

// Vertex colours would tint the unlit surface, which the avatar's shader does not do.
void dropVertexColors(scene::Node& node) {
    const scene::Geometry& old = *node.geometry();
    std::vector<std::shared_ptr<scene::GeometrySource>> sources;
    std::copy_if(
        old.sources().begin(), old.sources().end(), std::back_inserter(sources),
        [](const auto& source) { return source->semantic() != scene::GeometrySemantic::color; });
    const std::shared_ptr<scene::Geometry> geometry =
        scene::Geometry::create(std::move(sources), old.elements());
    geometry->setMaterials(old.materials());
    geometry->setName(old.name());
    node.setGeometry(geometry);
}

// "_BlendMode" 1 is cut-out; returns whether it is.
bool applyBlending(const Properties& properties, scene::Material& material) {
    const int blendMode = integerSetting(properties, "_BlendMode").value_or(0);
    material.blendMode =
        blendMode == 2 || blendMode == 3 ? scene::BlendMode::alpha : scene::BlendMode::replace;
    return blendMode == 1;
}

void applyCulling(const Properties& properties, scene::Material& material) {
    const int cullMode = integerSetting(properties, "_CullMode").value_or(0);
    material.cullMode = cullMode == 2 ? scene::CullMode::back : scene::CullMode::front;
    material.doubleSided = cullMode != 1 && cullMode != 2;
}

void applyUnlitShading(const Properties& properties, bool cutOut, scene::Material& material) {
    const char* modifier = cutOut ? "GLTFShaderModifierFragment_VRMUnlitTexture_Cutoff"
                                  : "GLTFShaderModifierFragment_VRMUnlitTexture";
    material.shaderModifiers = {
        {scene::ShaderEntryPoint::fragment, std::string(gltf::shaderModifier(modifier))}};
    // The avatar's shader decides the alpha, whatever the glTF material said.
    if (cutOut) {
        scene::setCutoutThreshold(material, floatSetting(properties, "_Cutoff", 0.0f));
    } else {
        scene::clearCutout(material);
    }
    scene::setAvatarBaseColor(material, baseColorOf(properties));
}

// The shader name of a material the avatar draws with its glTF material (lit or unlit, with
// all its textures and its vertex colours).
constexpr const char* kGltfShader = "VRM_USE_GLTFSHADER";

void applyToNode(const Properties& properties, scene::Node& node) {
    node.setRenderingOrder(
        static_cast<int>(std::clamp<std::int64_t>(properties.renderQueue, INT_MIN, INT_MAX)));
    const std::shared_ptr<scene::Material> material =
        node.geometry() ? node.geometry()->materialWithName(properties.name) : nullptr;
    if (!material || properties.shader == kGltfShader) {
        return;
    }
    dropVertexColors(node);
    const bool cutOut = applyBlending(properties, *material);
    applyCulling(properties, *material);
    material->writesToDepthBuffer = integerSetting(properties, "_ZWrite").value_or(1) == 1;
    applyUnlitShading(properties, cutOut, *material);
}

} // namespace

void applyMaterialProperties(const std::vector<Properties>& properties,
                             const scene::Node& rootNode) {
    for (const Properties& entry : properties) {
        const auto usingMaterial = [&](const scene::Node& node) {
            return node.geometry() && node.geometry()->materialWithName(entry.name);
        };
        for (const std::shared_ptr<scene::Node>& node :
             rootNode.childNodesPassingTest(usingMaterial)) {
            applyToNode(entry, *node);
        }
    }
}

} // namespace gltf::vrm
