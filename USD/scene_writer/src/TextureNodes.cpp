#include "TextureNodes.h"

#include "VertexPrimvars.h"

#include <cmath>
#include <numbers>

namespace usd::writer {
namespace {

Token wrapToken(scene::WrapMode mode) {
    switch (mode) {
    case scene::WrapMode::clamp:
        return {"clamp"};
    case scene::WrapMode::mirror:
        return {"mirror"};
    case scene::WrapMode::clampToBorder:
        return {"black"};
    default:
        return {"repeat"};
    }
}

struct Transform2d {
    float rotationDegrees = 0;
    Vec2f scale{1, 1};
    Vec2f translation{0, 0};
};

// The slot's uv map A expressed for USD's st = (u, 1 − v), F∘A∘F, as scale, then rotation,
// then translation. Shear cannot be expressed and is dropped.
Transform2d transformForSt(const scene::Matrix4& m) {
    const double a = m[0][0], b = m[1][0], c = m[0][1], d = m[1][1];
    const double theta = std::atan2(-c, a);
    Transform2d result;
    result.rotationDegrees = static_cast<float>(theta * 180.0 / std::numbers::pi);
    result.scale = {static_cast<float>(std::hypot(a, c)),
                    static_cast<float>(b * std::sin(theta) + d * std::cos(theta))};
    result.translation = {static_cast<float>(b + m[3][0]), static_cast<float>(1.0 - d - m[3][1])};
    return result;
}

} // namespace

Path TextureNodes::shader(std::string_view wantedName, std::string_view id) {
    const Path node =
        build_.definePrim(material_.appendChild(names_.claim(wantedName, "shader")), "Shader");
    build_.addAttribute(node, "info:id", {"token", Token{std::string(id)}, Variability::Uniform});
    return node;
}

Path TextureNodes::output(const Path& node, const std::string& output) {
    const Path attribute = node.appendProperty("outputs:" + output);
    if (outputs_.insert(attribute).second)
        build_.addAttribute(node, "outputs:" + output, {output == "rgb" ? "float3" : "float"});
    return attribute;
}

Path TextureNodes::primvarReader(int texCoordChannel) {
    if (const auto found = readers_.find(texCoordChannel); found != readers_.end())
        return found->second;
    const std::string varname = texCoordPrimvarName(texCoordChannel);
    const Path reader = shader("uvReader_" + varname, "UsdPrimvarReader_float2");
    build_.addAttribute(reader, "inputs:varname", {"string", varname});
    build_.addAttribute(reader, "outputs:result", {"float2"});
    const Path result = reader.appendProperty("outputs:result");
    readers_.emplace(texCoordChannel, result);
    return result;
}

Path TextureNodes::stSource(const TextureRead& texture) {
    const Path reader = primvarReader(texture.texCoordChannel);
    if (texture.contentsTransform == scene::Matrix4(1.0))
        return reader;
    const Transform2d transform = transformForSt(texture.contentsTransform);
    const Path node = shader(texture.nodeName + "_transform", "UsdTransform2d");
    build_.setConnections(build_.addAttribute(node, "inputs:in", {"float2"}), {reader});
    build_.addAttribute(node, "inputs:rotation", {"float", transform.rotationDegrees});
    build_.addAttribute(node, "inputs:scale", {"float2", transform.scale});
    build_.addAttribute(node, "inputs:translation", {"float2", transform.translation});
    build_.addAttribute(node, "outputs:result", {"float2"});
    return node.appendProperty("outputs:result");
}

Path TextureNodes::write(const TextureRead& texture, const std::string& file) {
    const Path node = shader(texture.nodeName, "UsdUVTexture");
    build_.addAttribute(node, "inputs:file", {"asset", AssetPath{"./" + file}});
    build_.setConnections(build_.addAttribute(node, "inputs:st", {"float2"}), {stSource(texture)});
    build_.addAttribute(node, "inputs:wrapS", {"token", wrapToken(texture.wrapS)});
    build_.addAttribute(node, "inputs:wrapT", {"token", wrapToken(texture.wrapT)});
    build_.addAttribute(node, "inputs:sourceColorSpace",
                        {"token", Token{texture.sRGB ? "sRGB" : "raw"}});
    build_.addAttribute(node, "inputs:fallback", {"float4", texture.fallback});
    if (texture.scale != Vec4f{1, 1, 1, 1})
        build_.addAttribute(node, "inputs:scale", {"float4", texture.scale});
    if (texture.bias != Vec4f{0, 0, 0, 0})
        build_.addAttribute(node, "inputs:bias", {"float4", texture.bias});
    return node;
}

} // namespace usd::writer
