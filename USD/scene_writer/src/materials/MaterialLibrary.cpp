#include "materials/MaterialLibrary.h"

#include "ApiSchemas.h"
#include "CustomData.h"
#include "materials/SurfaceDescription.h"
#include "materials/TextureNodes.h"

#include <algorithm>

namespace usd::writer {
namespace {

// A constant input's value; none for an input fed by a node.
std::optional<Value> constantOf(const SurfaceInput::Value& value) {
    if (const auto* color = std::get_if<Vec3f>(&value))
        return Value(*color);
    if (const auto* number = std::get_if<float>(&value))
        return Value(*number);
    if (const auto* integer = std::get_if<std::int32_t>(&value))
        return Value(*integer);
    return std::nullopt;
}

// Writes the surface inputs; an input whose texture could not be written is left to the
// shader's fallback.
void writeInputs(LayerBuilder& build, const Path& surface, const SurfaceDescription& description,
                 const std::vector<std::optional<Path>>& nodes, TextureNodes& textureNodes) {
    for (const SurfaceInput& input : description.inputs) {
        const std::string name = "inputs:" + input.name;
        if (std::optional<Value> constant = constantOf(input.value)) {
            build.addAttribute(surface, name, {input.typeName, std::move(*constant)});
        } else if (const auto* primvar = std::get_if<PrimvarOutput>(&input.value)) {
            build.setConnections(build.addAttribute(surface, name, {input.typeName}),
                                 {textureNodes.primvarOutput(*primvar)});
        } else if (const auto& node = nodes[std::get<TextureOutput>(input.value).texture]) {
            build.setConnections(
                build.addAttribute(surface, name, {input.typeName}),
                {textureNodes.output(*node, std::get<TextureOutput>(input.value).output)});
        }
    }
}

// How the texture's pixels are averaged should it be downscaled: colour read as sRGB, the
// directions of the normal input, and numbers.
ImageUse useOf(const SurfaceDescription& description, std::size_t texture) {
    ImageUse use = description.textures[texture].use;
    const bool normalMap = std::ranges::any_of(description.inputs, [&](const SurfaceInput& input) {
        const auto* output = std::get_if<TextureOutput>(&input.value);
        return input.name == "normal" && output && output->texture == texture;
    });
    use.content = description.textures[texture].sRGB ? ImageContent::colour
                  : normalMap                        ? ImageContent::normal
                                                     : ImageContent::data;
    return use;
}

void noteTextureLimits(const scene::Material& material, const SurfaceDescription& description,
                       std::size_t primvarsRead, Notes& notes) {
    const std::string who = "Material \"" + material.name + "\": ";
    if (primvarsRead > 2)
        notes.push_back(who + "textures read " + std::to_string(primvarsRead) +
                        " texture-coordinate sets; the AR viewer reads at most two.");
    for (const TextureRead& texture : description.textures) {
        if (texture.asksForNearestFilter)
            notes.push_back(who + texture.nodeName +
                            " asks for nearest (unsmoothed) filtering; the AR viewer always "
                            "filters linearly.");
    }
}

} // namespace

void bindMaterial(LayerBuilder& build, const Path& prim, const Path& material) {
    applySchema(build, prim, "MaterialBindingAPI");
    build.addRelationship(prim, "material:binding", {material});
}

std::shared_ptr<scene::Material> defaultWhiteMaterial() {
    auto material = scene::Material::create();
    material->lightingModel = scene::LightingModel::physicallyBased;
    material->diffuse().contents = scene::Color::white(1.0);
    material->metalness().contents = scene::Color::white(1.0);
    material->roughness().contents = scene::Color::white(1.0);
    return material;
}

MaterialLibrary::MaterialLibrary(LayerBuilder& build, Path scope, ImageLibrary& images,
                                 Notes& notes)
    : build_(build), scope_(std::move(scope)), images_(images), findings_(notes) {}

const WrittenMaterial& MaterialLibrary::use(const std::shared_ptr<scene::Material>& material,
                                            VertexColorUse vertexColors) {
    if (!material && !defaultMaterial_)
        defaultMaterial_ = defaultWhiteMaterial();
    const scene::Material& chosen = material ? *material : *defaultMaterial_;
    const VertexColorUse shown = visibleVertexColors(chosen, vertexColors);
    const auto key = std::pair(&chosen, shown);
    if (const auto found = written_.find(key); found != written_.end())
        return found->second;
    return written_.emplace(key, write(chosen, shown)).first->second;
}

WrittenMaterial MaterialLibrary::write(const scene::Material& material,
                                       VertexColorUse vertexColors) {
    if (written_.empty())
        build_.definePrim(scope_, "Scope");
    const Path path =
        build_.definePrim(scope_.appendChild(names_.claim(material.name, "material")), "Material");
    Dictionary customData;
    keepOriginalName(customData, material.name, path.name());
    if (!customData.empty())
        build_.setMetadata(path, "customData", customData);
    const Path surface = build_.definePrim(path.appendChild("PreviewSurface"), "Shader");
    build_.addAttribute(surface, "info:id",
                        {"token", Token{"UsdPreviewSurface"}, Variability::Uniform});
    build_.addAttribute(surface, "outputs:surface", {"token"});
    build_.setConnections(build_.addAttribute(path, "outputs:surface", {"token"}),
                          {surface.appendProperty("outputs:surface")});

    const SurfaceDescription description =
        describeSurface(material, vertexColors, images_, findings_);
    SiblingNames nodeNames;
    nodeNames.claim("PreviewSurface", "shader");
    TextureNodes textureNodes(build_, path, nodeNames, bakes_);
    WrittenMaterial written{path, {}, {}, description.vertexColorScale};
    std::vector<std::optional<Path>> nodes;
    for (std::size_t t = 0; t < description.textures.size(); ++t) {
        const TextureRead& texture = description.textures[t];
        const auto file = images_.fileFor(*texture.image, useOf(description, t));
        nodes.push_back(file ? std::optional(textureNodes.write(texture, *file)) : std::nullopt);
        if (file)
            written.texCoordChannels.insert(texture.texCoordChannel);
    }
    writeInputs(build_, surface, description, nodes, textureNodes);
    written.bakedTexCoords = textureNodes.bakedTexCoords();
    noteTextureLimits(material, description, textureNodes.primvarsRead(), findings_);
    return written;
}

} // namespace usd::writer
