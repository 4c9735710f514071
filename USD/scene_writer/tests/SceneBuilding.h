#pragma once

// Small scenes built in code, and ways to read back the layer the writer made of them.

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <USD/layer/Layer.h>
#include <USD/scene_writer/SceneWriter.h>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace usd::test {

// A position source of tightly packed float vectors.
std::shared_ptr<scene::GeometrySource> floatSource(scene::GeometrySemantic semantic,
                                                   const std::vector<std::vector<float>>& vectors);

// A geometry with those positions and one element of indices of `bytesPerIndex` bytes.
std::shared_ptr<scene::Geometry>
geometryWith(const std::vector<std::vector<float>>& positions,
             const std::vector<std::uint64_t>& indices,
             scene::PrimitiveType type = scene::PrimitiveType::triangles, int bytesPerIndex = 4);

// An element of `indices` stored with `bytesPerIndex` bytes each.
std::shared_ptr<scene::GeometryElement> elementOf(const std::vector<std::uint64_t>& indices,
                                                  scene::PrimitiveType type, int bytesPerIndex);

// A unit quad (two triangles, four vertices) in the XY plane.
std::shared_ptr<scene::Geometry>
quadGeometry(std::vector<std::shared_ptr<scene::GeometrySource>> extraSources = {});

// A scene whose root holds one node `name` carrying `geometry`.
std::shared_ptr<scene::Scene> sceneWithGeometry(std::shared_ptr<scene::Geometry> geometry,
                                                const std::string& name = "Shape");

// A scene of three lit nodes below a turned and moved "Rig": "Sun" with a directional light,
// "Bulb" with a point light whose range is 5, "Lamp" with a spot light of inner and outer
// cone angles π/12 and π/6 (30 degrees) that is also a quad.
std::shared_ptr<scene::Scene> litScene();

// The options of a package for USD tools, which keeps lights and curves.
WriteOptions usdToolsOptions();

// A physically based material like the glTF loader makes.
std::shared_ptr<scene::Material> pbrMaterial(const std::string& name = "Surface");

// A quad ("/Root/Shape") drawn in material "leather", offering "canvas" under the variants
// "Mint Green" and "Mint-Green" (one variant name once made valid) and, when
// `defaultIsAVariant`, "leather" again under "classic" between them.
std::shared_ptr<scene::Scene> materialVariantScene(bool defaultIsAVariant = true);

// A PNG image of `width` × `height` pixels of `channels` channels, every pixel `pixel`.
std::shared_ptr<scene::Image> pngImage(const std::vector<std::uint8_t>& pixel, int width = 2,
                                       int height = 2, const std::string& name = "picture.png");

// The default value the layer holds for the attribute at `path` ("/Root/Shape.points"), as T;
// a test failure when absent or of another type.
template <typename T> T valueAt(const Layer& layer, const std::string& path) {
    const Spec* spec = layer.spec(Path::fromString(path));
    const Value* value = spec ? spec->field("default") : nullptr;
    const T* held = value ? value->get<T>() : nullptr;
    if (held == nullptr) {
        ADD_FAILURE() << "no " << path << " of the expected type";
        return T{};
    }
    return *held;
}

bool hasSpec(const Layer& layer, const std::string& path);
std::string typeOf(const Layer& layer, const std::string& primPath);
// The single connection source (or relationship target) of a property, as text.
std::string sourceOf(const Layer& layer, const std::string& propertyPath);
// A metadata field of a spec, or null.
const Value* metadataOf(const Layer& layer, const std::string& path, const std::string& field);

} // namespace usd::test
