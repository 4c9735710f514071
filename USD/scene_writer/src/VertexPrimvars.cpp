#include "VertexPrimvars.h"

#include "TextureTransform.h"

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

void writeVertexAttributes(LayerBuilder& build, const Path& prim,
                           const VertexAttributes& attributes) {
    build.addAttribute(prim, "points", {"point3f[]", attributes.points});
    build.addAttribute(prim, "extent", {"float3[]", extentOf(attributes.points)});
    if (attributes.normals)
        writeVertexPrimvar(build, prim, "normals", "normal3f[]", *attributes.normals);
    for (const TexCoordChannel& channel : attributes.texCoords)
        writeVertexPrimvar(build, prim, "primvars:" + texCoordPrimvarName(channel.channel),
                           "texCoord2f[]", channel.values);
    if (attributes.colors)
        writeVertexPrimvar(build, prim, "primvars:displayColor", "color3f[]", *attributes.colors);
    if (attributes.opacities)
        writeVertexPrimvar(build, prim, "primvars:displayOpacity", "float[]",
                           *attributes.opacities);
    if (attributes.tangents)
        writeVertexPrimvar(build, prim, "primvars:tangents", "float3[]", *attributes.tangents);
}

void writeBakedTexCoords(LayerBuilder& build, const Path& prim, const VertexAttributes& attributes,
                         const std::vector<BakedTexCoords>& bakes) {
    std::set<std::string> written;
    for (const BakedTexCoords& baked : bakes) {
        const auto source = std::ranges::find(attributes.texCoords, baked.channel,
                                              [](const TexCoordChannel& c) { return c.channel; });
        if (source == attributes.texCoords.end() || !written.insert(baked.primvar).second)
            continue;
        writeVertexPrimvar(build, prim, "primvars:" + baked.primvar, "texCoord2f[]",
                           bakeTexCoords(source->values, baked.uvTransform));
    }
}

} // namespace usd::writer
