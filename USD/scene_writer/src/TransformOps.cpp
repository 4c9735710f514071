#include "TransformOps.h"

#include <algorithm>
#include <glm/gtc/quaternion.hpp>
#include <string>
#include <vector>

namespace usd::writer {
namespace {

void writeOpOrder(LayerBuilder& build, const Path& prim, const std::vector<std::string>& ops) {
    if (ops.empty())
        return;
    Array<Token> order;
    for (const std::string& op : ops)
        order.push_back(Token{op});
    build.addAttribute(prim, "xformOpOrder", {"token[]", order, Variability::Uniform});
}

// The stored sixteen numbers in order: our row-vector layout is USD's.
void writeMatrixOp(LayerBuilder& build, const Path& prim, const scene::Matrix4& matrix) {
    Matrix4d value;
    const auto elements = scene::elementsOf(matrix);
    std::copy(elements.begin(), elements.end(), value.rowMajor.begin());
    build.addAttribute(prim, "xformOp:transform", {"matrix4d", value});
    writeOpOrder(build, prim, {"xformOp:transform"});
}

void writeComponentOps(LayerBuilder& build, const Path& prim,
                       const scene::TransformComponents& parts) {
    std::vector<std::string> order;
    if (parts.position != glm::dvec3(0.0)) {
        build.addAttribute(
            prim, "xformOp:translate",
            {"double3", Vec3d{parts.position.x, parts.position.y, parts.position.z}});
        order.push_back("xformOp:translate");
    }
    const double length = glm::length(parts.orientation);
    if (length > 0 && parts.orientation != scene::Quaternion(1.0, 0.0, 0.0, 0.0)) {
        const scene::Quaternion unit = parts.orientation / length;
        Quatf orient;
        orient.imaginary = {static_cast<float>(unit.x), static_cast<float>(unit.y),
                            static_cast<float>(unit.z)};
        orient.real = static_cast<float>(unit.w);
        build.addAttribute(prim, "xformOp:orient", {"quatf", orient});
        order.push_back("xformOp:orient");
    }
    if (parts.scale != glm::dvec3(1.0)) {
        build.addAttribute(
            prim, "xformOp:scale",
            {"float3", Vec3f{static_cast<float>(parts.scale.x), static_cast<float>(parts.scale.y),
                             static_cast<float>(parts.scale.z)}});
        order.push_back("xformOp:scale");
    }
    writeOpOrder(build, prim, order);
}

} // namespace

void writeTransformOps(LayerBuilder& build, const Path& prim, const scene::Node& node) {
    if (node.isTransformDecomposable())
        writeComponentOps(build, prim, node.transformComponents());
    else
        writeMatrixOp(build, prim, node.transform());
}

} // namespace usd::writer
