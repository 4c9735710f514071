#include "RuleParts.h"

#include <USD/ar_check/LayerQueries.h>
#include <USD/layer/FieldNames.h>
#include <map>

namespace usd::ar {
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

// The inputs of the shaders whose every input is known; null for the other primvar readers,
// whose fallback type follows the primvar's.
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

// The value type without its role: colours, normals, vectors and points are all float3 to the
// viewer, which reads their values alike.
std::string_view withoutRole(std::string_view type) {
    for (const std::string_view role : {"color3f", "normal3f", "vector3f", "point3f"})
        if (type == role)
            return "float3";
    return type;
}

// Older files author a primvar reader's varname as a token, which readers still take.
bool typeFits(std::string_view input, std::string_view type, std::string_view wanted) {
    return withoutRole(type) == withoutRole(wanted) || (input == "varname" && type == "token");
}

void checkInputTypes(const Layer& layer, const Path& shader, const InputTypes& types,
                     RuleProblems& problems) {
    for (const std::string& name : propertyNames(layer, shader)) {
        if (!name.starts_with("inputs:"))
            continue;
        const std::string_view inputName = std::string_view(name).substr(7);
        const auto wanted = types.find(inputName);
        const Path input = shader.appendProperty(name);
        const std::string type = attributeType(layer, input);
        if (wanted == types.end())
            addProblem(problems, rule::shaderInputs, input,
                       "an input its shader does not know: leave it out.");
        else if (!typeFits(inputName, type, wanted->second))
            addProblem(problems, rule::shaderInputs, input,
                       "is " + type + ", not " + wanted->second + ": author it as " +
                           wanted->second + ".");
    }
}

void checkConnections(const Layer& layer, RuleProblems& problems) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Attribute || !spec.field(field::kConnectionPaths))
            continue;
        const std::vector<Path> sources = pathsOf(layer, path, field::kConnectionPaths);
        if (sources.size() != 1)
            addProblem(problems, rule::connections, path,
                       "is connected to " + std::to_string(sources.size()) +
                           " sources instead of one: connect it to exactly one output.");
        for (const Path& source : sources)
            if (attributeType(layer, source).empty())
                addProblem(problems, rule::connections, path,
                           "is connected to a missing output " + source.text() +
                               ": connect it to an output that exists, or remove the "
                               "connection.");
    }
}

bool readsRawNormals(const Layer& layer, const Path& node) {
    const Value* scale = attributeValue(layer, node, "inputs:scale");
    const Value* bias = attributeValue(layer, node, "inputs:bias");
    return tokenOf(attributeValue(layer, node, "inputs:sourceColorSpace")) == "raw" && scale &&
           *scale == Value(Vec4f{2, 2, 2, 1}) && bias && *bias == Value(Vec4f{-1, -1, -1, 0});
}

// A normal map must be read as raw data and moved from [0, 1] to [−1, 1].
void checkNormalMaps(const Layer& layer, RuleProblems& problems) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Attribute || path.name() != "inputs:normal")
            continue;
        for (const Path& source : pathsOf(layer, path, field::kConnectionPaths)) {
            const Path node = source.primPath();
            if (tokenOf(attributeValue(layer, node, "info:id")) == "UsdUVTexture" &&
                !readsRawNormals(layer, node))
                addProblem(problems, rule::normalMaps, node,
                           "reads a normal map without raw colour space, scale (2, 2, 2, 1) and "
                           "bias (-1, -1, -1, 0): author those three inputs.");
        }
    }
}

} // namespace

void checkShaders(const Layer& layer, RuleProblems& problems) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Prim || primType(layer, path) != "Shader")
            continue;
        const std::string id = tokenOf(attributeValue(layer, path, "info:id"));
        if (const InputTypes* types = inputTypesOf(id))
            checkInputTypes(layer, path, *types, problems);
        else if (!id.starts_with("UsdPrimvarReader_"))
            addProblem(problems, rule::shaderIds, path,
                       "AR Quick Look does not know shader \"" + id +
                           "\": use UsdPreviewSurface, UsdUVTexture, UsdTransform2d or a "
                           "UsdPrimvarReader.");
        if (primType(layer, path.parent()) != "Material")
            addProblem(problems, rule::shaderIds, path,
                       "a shader outside a material: move it into the material that uses it.");
    }
    checkConnections(layer, problems);
    checkNormalMaps(layer, problems);
}

} // namespace usd::ar
