#include "materials/TextureNodes.h"

#include "geometry/VertexPrimvars.h"

#include <algorithm>

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

Path TextureNodes::primvarReader(const std::string& varname) {
    if (const auto found = readers_.find(varname); found != readers_.end())
        return found->second;
    const Path reader = shader("uvReader_" + varname, "UsdPrimvarReader_float2");
    build_.addAttribute(reader, "inputs:varname", {"string", varname});
    build_.addAttribute(reader, "outputs:result", {"float2"});
    const Path result = reader.appendProperty("outputs:result");
    readers_.emplace(varname, result);
    return result;
}

Path TextureNodes::primvarOutput(const PrimvarOutput& read) {
    if (const auto found = readers_.find(read.varname); found != readers_.end())
        return found->second;
    const bool isColor = std::holds_alternative<Vec3f>(read.fallback);
    const char* type = isColor ? "float3" : "float";
    const Path reader = shader("reader_" + read.varname,
                               isColor ? "UsdPrimvarReader_float3" : "UsdPrimvarReader_float");
    build_.addAttribute(reader, "inputs:varname", {"string", read.varname});
    if (isColor)
        build_.addAttribute(reader, "inputs:fallback", {type, std::get<Vec3f>(read.fallback)});
    else
        build_.addAttribute(reader, "inputs:fallback", {type, std::get<float>(read.fallback)});
    build_.addAttribute(reader, "outputs:result", {type});
    const Path result = reader.appendProperty("outputs:result");
    readers_.emplace(read.varname, result);
    return result;
}

Path TextureNodes::transformNode(const std::string& textureName, const Transform2d& transform,
                                 const Path& reader) {
    const Path node = shader(textureName + "_transform", "UsdTransform2d");
    build_.setConnections(build_.addAttribute(node, "inputs:in", {"float2"}), {reader});
    build_.addAttribute(node, "inputs:rotation", {"float", transform.rotationDegrees});
    build_.addAttribute(node, "inputs:scale", {"float2", transform.scale});
    build_.addAttribute(node, "inputs:translation", {"float2", transform.translation});
    build_.addAttribute(node, "outputs:result", {"float2"});
    return node.appendProperty("outputs:result");
}

Path TextureNodes::stSource(const TextureRead& texture) {
    const std::string varname = texCoordPrimvarName(texture.texCoordChannel);
    if (texture.contentsTransform == scene::Matrix4(1.0))
        return primvarReader(varname);
    // The AR viewer applies a material's first UsdTransform2d to all of its textures, so one map
    // per material travels as nodes; a different one is baked like a shear.
    const auto transform = transform2dFor(texture.contentsTransform);
    if (transform && (!nodeTransform_ || *nodeTransform_ == texture.contentsTransform)) {
        nodeTransform_ = texture.contentsTransform;
        return transformNode(texture.nodeName, *transform, primvarReader(varname));
    }
    const BakedTexCoords& baked = bakes_.bake(texture.texCoordChannel, texture.contentsTransform);
    if (std::ranges::none_of(baked_, [&](const auto& b) { return b.primvar == baked.primvar; }))
        baked_.push_back(baked);
    return primvarReader(baked.primvar);
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
