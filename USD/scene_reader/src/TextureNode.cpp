#include "TextureNode.h"

#include "ValueReading.h"

#include <glm/gtc/matrix_transform.hpp>

namespace usd::reader {
namespace {

// Authors expect repeat where no mode is given, as older viewers did.
scene::WrapMode wrapMode(const std::optional<std::string>& token) {
    if (token == "clamp") {
        return scene::WrapMode::clamp;
    }
    if (token == "mirror") {
        return scene::WrapMode::mirror;
    }
    if (token == "black") {
        return scene::WrapMode::clampToBorder;
    }
    return scene::WrapMode::repeat;
}

// UsdTransform2d maps st (origin bottom-left) as in × scale, rotated, + translation; the
// scene graph's contents transform maps uv (origin top-left): conjugate with v = 1 − t.
scene::Matrix4 uvTransform(const glm::dvec2& scale, double degrees, const glm::dvec2& translation) {
    const scene::Matrix4 st =
        glm::translate(scene::Matrix4(1.0), glm::dvec3(translation, 0.0)) *
        glm::rotate(scene::Matrix4(1.0), glm::radians(degrees), glm::dvec3(0, 0, 1)) *
        glm::scale(scene::Matrix4(1.0), glm::dvec3(scale, 1.0));
    const scene::Matrix4 flip = glm::translate(scene::Matrix4(1.0), glm::dvec3(0, 1, 0)) *
                                glm::scale(scene::Matrix4(1.0), glm::dvec3(1, -1, 1));
    return flip * st * flip;
}

glm::dvec4 vectorInput(const ShaderNetwork& network, const ComposedPrim& shader,
                       std::string_view name, glm::dvec4 fallback) {
    return readVector(network.input(shader, name).value.value).value_or(fallback);
}

} // namespace

std::optional<TextureNode> TextureReader::read(const ShaderOutput& output) {
    const ComposedPrim& shader = *output.shader;
    if (ShaderNetwork::shaderId(shader) != "UsdUVTexture") {
        return std::nullopt;
    }
    TextureNode node;
    node.shader = &shader;
    node.output = output.output;
    const InputSource file = network_.input(shader, "file");
    node.file = readText(file.value.value).value_or("");
    node.image = image(file);
    node.scale = vectorInput(network_, shader, "scale", node.scale);
    node.bias = vectorInput(network_, shader, "bias", node.bias);
    node.fallback = vectorInput(network_, shader, "fallback", node.fallback);
    node.wrapS = wrapMode(readText(network_.input(shader, "wrapS").value.value));
    node.wrapT = wrapMode(readText(network_.input(shader, "wrapT").value.value));
    node.sourceColorSpace =
        readText(network_.input(shader, "sourceColorSpace").value.value).value_or("auto");
    readCoordinates(shader, node);
    return node;
}

// st comes from a primvar reader, directly or through a UsdTransform2d.
void TextureReader::readCoordinates(const ComposedPrim& texture, TextureNode& node) const {
    std::optional<ShaderOutput> st = network_.input(texture, "st").connected;
    if (st && ShaderNetwork::shaderId(*st->shader) == "UsdTransform2d") {
        const ComposedPrim& transform = *st->shader;
        const glm::dvec4 scale = vectorInput(network_, transform, "scale", glm::dvec4(1.0));
        const double rotation =
            readNumber(network_.input(transform, "rotation").value.value).value_or(0.0);
        const glm::dvec4 translation =
            vectorInput(network_, transform, "translation", glm::dvec4(0.0));
        node.contentsTransform = uvTransform(glm::dvec2(scale), rotation, glm::dvec2(translation));
        st = network_.input(transform, "in").connected;
    }
    if (st && ShaderNetwork::shaderId(*st->shader).starts_with("UsdPrimvarReader_")) {
        const auto varname = readText(network_.input(*st->shader, "varname").value.value);
        if (varname && !varname->empty()) {
            node.texcoordPrimvar = *varname;
        }
    }
}

std::shared_ptr<scene::Image> TextureReader::image(const InputSource& file) {
    const auto path = readText(file.value.value);
    if (!path || path->empty() || file.value.source == nullptr) {
        return nullptr;
    }
    const AssetLocation& from = file.value.source->layer->location;
    const std::string key = from.displayName() + "|" + *path;
    if (const auto found = images_.find(key); found != images_.end()) {
        return found->second;
    }
    std::shared_ptr<scene::Image> image;
    if (const std::optional<scene::Bytes> bytes = assets_.bytes(*path, from)) {
        image = scene::Image::fromEncodedBytes(*bytes);
    }
    if (image) {
        image->setName(std::filesystem::path(*path).filename().string());
    } else {
        notes_.push_back("The texture @" + *path + "@ named in " + from.displayName() +
                         " cannot be read; its fallback colour is used.");
    }
    return images_.emplace(key, image).first->second;
}

} // namespace usd::reader
