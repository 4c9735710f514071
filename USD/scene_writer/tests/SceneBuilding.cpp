#include "SceneBuilding.h"

#include <SceneGraph/Light.h>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stb/stb_image_write.h>

namespace usd::test {
namespace {

std::vector<std::uint8_t> littleEndian(const std::vector<std::uint64_t>& values, int bytes) {
    std::vector<std::uint8_t> out;
    for (const std::uint64_t value : values)
        for (int b = 0; b < bytes; ++b)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
    return out;
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    out->insert(out->end(), static_cast<std::uint8_t*>(data),
                static_cast<std::uint8_t*>(data) + size);
}

const Spec* specAt(const Layer& layer, const std::string& path) {
    return layer.spec(Path::fromString(path));
}

} // namespace

std::shared_ptr<scene::GeometrySource> floatSource(scene::GeometrySemantic semantic,
                                                   const std::vector<std::vector<float>>& vectors) {
    const int components = static_cast<int>(vectors.front().size());
    std::vector<std::uint8_t> bytes(vectors.size() * static_cast<std::size_t>(components) * 4);
    for (std::size_t v = 0; v < vectors.size(); ++v)
        std::memcpy(bytes.data() + v * components * 4, vectors[v].data(),
                    static_cast<std::size_t>(components) * 4);
    scene::SourceLayout layout;
    layout.vectorCount = vectors.size();
    layout.componentsPerVector = components;
    layout.dataStride = static_cast<std::size_t>(components) * 4;
    return scene::GeometrySource::create(scene::makeBytes(std::move(bytes)), semantic, layout);
}

std::shared_ptr<scene::GeometryElement> elementOf(const std::vector<std::uint64_t>& indices,
                                                  scene::PrimitiveType type, int bytesPerIndex) {
    return scene::GeometryElement::create(scene::makeBytes(littleEndian(indices, bytesPerIndex)),
                                          type, scene::primitiveCountFor(type, indices.size()),
                                          bytesPerIndex);
}

std::shared_ptr<scene::Geometry> geometryWith(const std::vector<std::vector<float>>& positions,
                                              const std::vector<std::uint64_t>& indices,
                                              scene::PrimitiveType type, int bytesPerIndex) {
    return scene::Geometry::create({floatSource(scene::GeometrySemantic::vertex, positions)},
                                   {elementOf(indices, type, bytesPerIndex)});
}

std::shared_ptr<scene::Geometry>
quadGeometry(std::vector<std::shared_ptr<scene::GeometrySource>> extraSources) {
    extraSources.insert(
        extraSources.begin(),
        floatSource(scene::GeometrySemantic::vertex, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    return scene::Geometry::create(
        std::move(extraSources),
        {elementOf({0, 1, 2, 0, 2, 3}, scene::PrimitiveType::triangles, 2)});
}

std::shared_ptr<scene::Scene> sceneWithGeometry(std::shared_ptr<scene::Geometry> geometry,
                                                const std::string& name) {
    auto scene = scene::Scene::create();
    auto node = scene::Node::create(name);
    node->setGeometry(std::move(geometry));
    scene->rootNode()->addChildNode(node);
    return scene;
}

std::shared_ptr<scene::Scene> materialVariantScene(bool defaultIsAVariant) {
    auto leather = pbrMaterial("leather");
    auto canvas = pbrMaterial("canvas");
    auto geometry = quadGeometry();
    geometry->setMaterials({leather});
    std::vector<scene::MaterialVariant> looks{{"Mint Green", canvas}};
    if (defaultIsAVariant)
        looks.push_back({"classic", leather});
    looks.push_back({"Mint-Green", canvas});
    geometry->setMaterialVariants(std::move(looks));
    return sceneWithGeometry(geometry);
}

std::shared_ptr<scene::Scene> litScene() {
    auto scene = scene::Scene::create();
    auto rig = scene::Node::create("Rig");
    rig->setPosition({1, 2, 3});
    rig->setOrientation(scene::quaternionFromXYZW(0, std::sqrt(0.5), 0, std::sqrt(0.5)));
    scene->rootNode()->addChildNode(rig);
    const auto addLit = [&](const std::string& name, scene::LightType type) {
        auto node = scene::Node::create(name);
        auto light = scene::Light::create();
        light->name = name + "Light";
        light->type = type;
        node->setLight(light);
        rig->addChildNode(node);
        return node;
    };
    const auto sun = addLit("Sun", scene::LightType::directional);
    sun->light()->color = {1, 0.5, 0.25};
    sun->light()->intensity = 3;
    const auto bulb = addLit("Bulb", scene::LightType::point);
    bulb->setPosition({0, 4, 0});
    bulb->light()->intensity = 250;
    bulb->light()->range = 5;
    const auto lamp = addLit("Lamp", scene::LightType::spot);
    lamp->setPosition({-2, 0, 1});
    lamp->setOrientation(scene::quaternionFromXYZW(-std::sqrt(0.5), 0, 0, std::sqrt(0.5)));
    lamp->light()->intensity = 40;
    lamp->light()->innerConeAngle = std::numbers::pi / 12;
    lamp->light()->outerConeAngle = std::numbers::pi / 6;
    lamp->setGeometry(quadGeometry());
    return scene;
}

WriteOptions usdToolsOptions() {
    WriteOptions options;
    options.profile = WriteProfile::usd;
    return options;
}

std::shared_ptr<scene::Material> pbrMaterial(const std::string& name) {
    auto material = scene::Material::create();
    material->name = name;
    material->lightingModel = scene::LightingModel::physicallyBased;
    material->blendMode = scene::BlendMode::replace;
    material->diffuse().contents = scene::Color{1, 1, 1, 1};
    return material;
}

std::shared_ptr<scene::Image> pngImage(const std::vector<std::uint8_t>& pixel, int width,
                                       int height, const std::string& name) {
    const int channels = static_cast<int>(pixel.size());
    std::vector<std::uint8_t> pixels;
    for (int p = 0; p < width * height; ++p)
        pixels.insert(pixels.end(), pixel.begin(), pixel.end());
    std::vector<std::uint8_t> png;
    stbi_write_png_to_func(appendBytes, &png, width, height, channels, pixels.data(),
                           width * channels);
    auto image = scene::Image::fromEncodedBytes(scene::makeBytes(std::move(png)));
    image->setName(name);
    return image;
}

bool hasSpec(const Layer& layer, const std::string& path) {
    return specAt(layer, path) != nullptr;
}

std::string typeOf(const Layer& layer, const std::string& primPath) {
    const Spec* spec = specAt(layer, primPath);
    const Value* type = spec ? spec->field("typeName") : nullptr;
    return type && type->get<Token>() ? type->get<Token>()->text : "";
}

std::string sourceOf(const Layer& layer, const std::string& propertyPath) {
    const Spec* spec = specAt(layer, propertyPath);
    if (!spec)
        return "";
    const Value* value = spec->field("connectionPaths");
    if (!value)
        value = spec->field("targetPaths");
    const PathListOp* list = value ? value->get<PathListOp>() : nullptr;
    return list && list->explicitItems.size() == 1 ? list->explicitItems.front().text() : "";
}

const Value* metadataOf(const Layer& layer, const std::string& path, const std::string& field) {
    const Spec* spec = specAt(layer, path);
    return spec ? spec->field(field) : nullptr;
}

} // namespace usd::test
