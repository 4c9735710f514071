#include "LayerQueries.h"
#include "SelfCheckRules.h"

#include <USD/FieldNames.h>
#include <map>

namespace usd::writer::check {
namespace {

using InputTypes = std::map<std::string, std::string, std::less<>>;

const InputTypes previewSurfaceInputs{{"diffuseColor", "color3f"},
                                      {"emissiveColor", "color3f"},
                                      {"specularColor", "color3f"},
                                      {"useSpecularWorkflow", "int"},
                                      {"metallic", "float"},
                                      {"roughness", "float"},
                                      {"clearcoat", "float"},
                                      {"clearcoatRoughness", "float"},
                                      {"opacity", "float"},
                                      {"opacityThreshold", "float"},
                                      {"ior", "float"},
                                      {"normal", "normal3f"},
                                      {"displacement", "float"},
                                      {"occlusion", "float"}};

const InputTypes uvTextureInputs{
    {"file", "asset"},      {"st", "float2"},    {"wrapS", "token"}, {"wrapT", "token"},
    {"fallback", "float4"}, {"scale", "float4"}, {"bias", "float4"}, {"sourceColorSpace", "token"}};

const InputTypes primvarReaderInputs{{"varname", "string"}, {"fallback", "float2"}};
const InputTypes colorReaderInputs{{"varname", "string"}, {"fallback", "float3"}};
const InputTypes numberReaderInputs{{"varname", "string"}, {"fallback", "float"}};

const InputTypes transform2dInputs{
    {"in", "float2"}, {"rotation", "float"}, {"scale", "float2"}, {"translation", "float2"}};

const InputTypes* inputTypesOf(const std::string& id) {
    if (id == "UsdPreviewSurface")
        return &previewSurfaceInputs;
    if (id == "UsdUVTexture")
        return &uvTextureInputs;
    if (id == "UsdPrimvarReader_float2")
        return &primvarReaderInputs;
    if (id == "UsdPrimvarReader_float3")
        return &colorReaderInputs;
    if (id == "UsdPrimvarReader_float")
        return &numberReaderInputs;
    if (id == "UsdTransform2d")
        return &transform2dInputs;
    return nullptr;
}

void checkInputTypes(const Layer& layer, const Path& shader, const InputTypes& types,
                     Findings& findings) {
    for (const std::string& name : propertyNames(layer, shader)) {
        if (!name.starts_with("inputs:"))
            continue;
        const auto wanted = types.find(std::string_view(name).substr(7));
        const std::string type = attributeType(layer, shader.appendProperty(name));
        if (wanted == types.end())
            findings.push_back(shader.text() + " has an input its shader does not know: " + name);
        else if (type != wanted->second)
            findings.push_back(shader.text() + "." + name + " is " + type + ", not " +
                               wanted->second + ".");
    }
}

void checkConnections(const Layer& layer, Findings& findings) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Attribute || !spec.field(field::kConnectionPaths))
            continue;
        const std::vector<Path> sources = pathsOf(layer, path, field::kConnectionPaths);
        if (sources.size() != 1)
            findings.push_back(path.text() + " is connected to " + std::to_string(sources.size()) +
                               " sources instead of one.");
        for (const Path& source : sources)
            if (attributeType(layer, source).empty())
                findings.push_back(path.text() + " is connected to a missing output " +
                                   source.text() + ".");
    }
}

// A normal map must be read as raw data and moved from [0, 1] to [−1, 1].
void checkNormalMaps(const Layer& layer, Findings& findings) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Attribute || path.name() != "inputs:normal")
            continue;
        for (const Path& source : pathsOf(layer, path, field::kConnectionPaths)) {
            const Path node = source.primPath();
            const Value* scale = attributeValue(layer, node, "inputs:scale");
            const Value* bias = attributeValue(layer, node, "inputs:bias");
            const bool standard =
                tokenOf(attributeValue(layer, node, "inputs:sourceColorSpace")) == "raw" && scale &&
                *scale == Value(Vec4f{2, 2, 2, 1}) && bias && *bias == Value(Vec4f{-1, -1, -1, 0});
            if (!standard)
                findings.push_back(node.text() + " reads a normal map without raw colour space, "
                                                 "scale (2, 2, 2, 1) and bias (-1, -1, -1, 0).");
        }
    }
}

} // namespace

void checkShaders(const Layer& layer, Findings& findings) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Prim || primType(layer, path) != "Shader")
            continue;
        const std::string id = tokenOf(attributeValue(layer, path, "info:id"));
        if (const InputTypes* types = inputTypesOf(id))
            checkInputTypes(layer, path, *types, findings);
        else if (!id.starts_with("UsdPrimvarReader_"))
            findings.push_back(path.text() + ": the AR viewer does not know shader \"" + id +
                               "\".");
        if (primType(layer, path.parent()) != "Material")
            findings.push_back(path.text() + " is a shader outside a material.");
    }
    checkConnections(layer, findings);
    checkNormalMaps(layer, findings);
}

} // namespace usd::writer::check
