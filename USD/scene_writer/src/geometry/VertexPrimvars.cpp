#include "geometry/VertexPrimvars.h"

#include "materials/TextureTransform.h"

#include <algorithm>
#include <limits>
#include <set>

namespace usd::writer {
namespace {

Array<Vec3f> extentOf(const Array<Vec3f>& points) {
    if (points.empty())
        return {};
    constexpr float big = std::numeric_limits<float>::max();
    Vec3f low{big, big, big};
    Vec3f high{-big, -big, -big};
    for (const Vec3f& p : points)
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], p[axis]);
            high[axis] = std::max(high[axis], p[axis]);
        }
    return {low, high};
}

void writeVertexPrimvar(LayerBuilder& build, const Path& prim, const std::string& name,
                        const char* typeName, Value values) {
    const Path attribute = build.addAttribute(prim, name, {typeName, std::move(values)});
    build.setMetadata(attribute, "interpolation", Token{"vertex"});
}

} // namespace

std::string texCoordPrimvarName(int channel) {
    return channel == 0 ? "st" : "st" + std::to_string(channel);
}

void writeVertexAttributes(LayerBuilder& build, const Path& prim, VertexAttributes attributes) {
    Array<Vec3f> extent = extentOf(attributes.points);
    build.addAttribute(prim, "points", {"point3f[]", std::move(attributes.points)});
    build.addAttribute(prim, "extent", {"float3[]", std::move(extent)});
    if (attributes.normals)
        writeVertexPrimvar(build, prim, "normals", "normal3f[]", std::move(*attributes.normals));
    for (TexCoordChannel& channel : attributes.texCoords)
        writeVertexPrimvar(build, prim, "primvars:" + texCoordPrimvarName(channel.channel),
                           "texCoord2f[]", std::move(channel.values));
    if (attributes.colors)
        writeVertexPrimvar(build, prim, "primvars:displayColor", "color3f[]",
                           std::move(*attributes.colors));
    if (attributes.opacities)
        writeVertexPrimvar(build, prim, "primvars:displayOpacity", "float[]",
                           std::move(*attributes.opacities));
    if (attributes.tangents)
        writeVertexPrimvar(build, prim, "primvars:tangents", "float3[]",
                           std::move(*attributes.tangents));
}

std::vector<BakedPrimvar> bakedTexCoords(const VertexAttributes& attributes,
                                         const std::vector<BakedTexCoords>& bakes) {
    std::vector<BakedPrimvar> baked;
    std::set<std::string> made;
    for (const BakedTexCoords& bake : bakes) {
        const auto source = std::ranges::find(attributes.texCoords, bake.channel,
                                              [](const TexCoordChannel& c) { return c.channel; });
        if (source == attributes.texCoords.end() || !made.insert(bake.primvar).second)
            continue;
        baked.push_back({bake.primvar, bakeTexCoords(source->values, bake.uvTransform)});
    }
    return baked;
}

void writeBakedTexCoords(LayerBuilder& build, const Path& prim, std::vector<BakedPrimvar> baked) {
    for (BakedPrimvar& primvar : baked)
        writeVertexPrimvar(build, prim, "primvars:" + primvar.name, "texCoord2f[]",
                           std::move(primvar.values));
}

} // namespace usd::writer
