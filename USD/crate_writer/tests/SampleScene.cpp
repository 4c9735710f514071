#include "SampleScene.h"

#include <USD/layer/FieldNames.h>
#include <USD/layer/LayerBuilder.h>

namespace usd::test {
namespace {

constexpr int gridSize = 5;

Path at(const char* text) {
    return Path::fromString(text);
}

void addGridMesh(LayerBuilder& build) {
    const Path mesh = build.definePrim(at("/Root/Mesh"), "Mesh");
    build.setMetadata(mesh, field::kApiSchemas,
                      TokenListOp::makePrepended({Token{"MaterialBindingAPI"}}));
    Array<Vec3f> points;
    Array<Vec2f> st;
    Array<float> ids, weights;
    for (int row = 0; row < gridSize; ++row)
        for (int column = 0; column < gridSize; ++column) {
            points.push_back({column * 0.25f, 0, row * 0.25f});
            st.push_back({column / 4.0f, row / 4.0f});
            ids.push_back(static_cast<float>(points.size()));
            weights.push_back(column % 2 ? 0.25f : 0.75f);
        }
    Array<std::int32_t> counts, indices;
    for (int row = 0; row + 1 < gridSize; ++row)
        for (int column = 0; column + 1 < gridSize; ++column) {
            const int corner = row * gridSize + column;
            counts.push_back(4);
            indices.insert(indices.end(),
                           {corner, corner + gridSize, corner + gridSize + 1, corner + 1});
        }
    build.addAttribute(mesh, "points", {"point3f[]", points});
    build.addAttribute(mesh, "extent", {"float3[]", Array<Vec3f>{{0, 0, 0}, {1, 0, 1}}});
    build.addAttribute(mesh, "faceVertexCounts", {"int[]", counts});
    build.addAttribute(mesh, "faceVertexIndices", {"int[]", indices});
    const Path normals = build.addAttribute(
        mesh, "normals", {"normal3f[]", Array<Vec3f>(points.size(), Vec3f{0, 1, 0})});
    build.setMetadata(normals, "interpolation", Token{"vertex"});
    for (const auto& [name, type, value] :
         {std::tuple{"primvars:st", "texCoord2f[]", Value(st)},
          std::tuple{"primvars:ids", "float[]", Value(ids)},
          std::tuple{"primvars:weights", "float[]", Value(weights)}}) {
        const Path primvar = build.addAttribute(mesh, name, {type, value});
        build.setMetadata(primvar, "interpolation", Token{"vertex"});
    }
    build.addAttribute(mesh, "subdivisionScheme", {"token", Token{"none"}, Variability::Uniform});
    build.addRelationship(mesh, "material:binding", {at("/Root/Mat")});
}

void addShader(LayerBuilder& build, const char* path, const char* id) {
    build.definePrim(at(path), "Shader");
    build.addAttribute(at(path), "info:id", {"token", Token{id}, Variability::Uniform});
}

void addMaterial(LayerBuilder& build) {
    const Path material = build.definePrim(at("/Root/Mat"), "Material");
    build.setConnections(build.addAttribute(material, "outputs:surface", {"token", {}}),
                         {at("/Root/Mat/Surface.outputs:surface")});
    addShader(build, "/Root/Mat/Surface", "UsdPreviewSurface");
    build.setConnections(
        build.addAttribute(at("/Root/Mat/Surface"), "inputs:diffuseColor", {"color3f", {}}),
        {at("/Root/Mat/Tex.outputs:rgb")});
    build.addAttribute(at("/Root/Mat/Surface"), "inputs:roughness", {"float", 0.5f});
    build.addAttribute(at("/Root/Mat/Surface"), "outputs:surface", {"token", {}});
    addShader(build, "/Root/Mat/Tex", "UsdUVTexture");
    build.addAttribute(at("/Root/Mat/Tex"), "inputs:file",
                       {"asset", AssetPath{"./textures/albedo.png"}});
    build.setConnections(build.addAttribute(at("/Root/Mat/Tex"), "inputs:st", {"float2", {}}),
                         {at("/Root/Mat/StReader.outputs:result")});
    build.addAttribute(at("/Root/Mat/Tex"), "outputs:rgb", {"float3", {}});
    addShader(build, "/Root/Mat/StReader", "UsdPrimvarReader_float2");
    build.addAttribute(at("/Root/Mat/StReader"), "inputs:varname", {"string", std::string("st")});
    build.addAttribute(at("/Root/Mat/StReader"), "outputs:result", {"float2", {}});
}

void addSpinningChild(LayerBuilder& build) {
    const Path spin = build.definePrim(at("/Root/Spin"), "Xform");
    const Path rotate = build.addAttribute(spin, "xformOp:rotateY", {"float", {}});
    build.setTimeSamples(rotate, {{0, 12, 24}, {0.0f, 45.0f, 90.0f}});
    build.addAttribute(spin, "xformOpOrder",
                       {"token[]", Array<Token>{{"xformOp:rotateY"}}, Variability::Uniform});
}

} // namespace

Layer sampleScene() {
    Layer layer;
    LayerBuilder build(layer);
    build.setLayerMetadata("defaultPrim", Token{"Root"});
    build.setLayerMetadata("metersPerUnit", 1.0);
    build.setLayerMetadata("upAxis", Token{"Y"});
    build.setLayerMetadata("startTimeCode", 0.0);
    build.setLayerMetadata("endTimeCode", 24.0);
    build.setLayerMetadata("timeCodesPerSecond", 24.0);
    Dictionary origin;
    origin.set("tool", std::string("sample scene"));
    origin.set("scale", 0.01);
    build.setLayerMetadata("customLayerData", origin);

    const Path root = build.definePrim(at("/Root"), "Xform");
    Matrix4d transform = Matrix4d::identity();
    transform.rowMajor[13] = 0.5;
    build.addAttribute(root, "xformOp:transform", {"matrix4d", transform});
    build.addAttribute(root, "xformOpOrder",
                       {"token[]", Array<Token>{{"xformOp:transform"}}, Variability::Uniform});
    addGridMesh(build);
    addMaterial(build);
    addSpinningChild(build);
    return layer;
}

std::vector<std::uint8_t> samplePng() {
    return {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
            0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
            0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0A, 0x49, 0x44, 0x41, 0x54, 0x78,
            0x9C, 0x63, 0x00, 0x01, 0x00, 0x00, 0x05, 0x00, 0x01, 0x0D, 0x0A, 0x2D, 0xB4, 0x00,
            0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
}

} // namespace usd::test
