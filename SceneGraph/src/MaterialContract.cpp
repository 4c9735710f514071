#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <algorithm>

namespace scene {
namespace {

constexpr std::array<std::string_view, 4> channelSuffixes = {"R", "G", "B", "A"};

std::string channelKey(std::string_view key, std::size_t channel) {
    return std::string(key) + std::string(channelSuffixes[channel]);
}

template <class Number>
void setChannels(Material& material, std::string_view key, std::span<const Number> channels) {
    for (std::size_t i = 0; i < channels.size() && i < channelSuffixes.size(); ++i)
        setNamedNumber(material, channelKey(key, i), channels[i]);
}

} // namespace

std::array<double, 4> colorFactor(const Material& material, std::string_view key, double fallback) {
    std::array<double, 4> channels{};
    for (std::size_t i = 0; i < channels.size(); ++i)
        channels[i] = namedNumber(material, channelKey(key, i), fallback);
    return channels;
}

void setColorFactor(Material& material, std::string_view key, std::span<const double> channels) {
    setChannels(material, key, channels);
}

void setColorFactor(Material& material, std::string_view key, std::span<const float> channels) {
    setChannels(material, key, channels);
}

double namedNumber(const Material& material, std::string_view key, double fallback) {
    const Value* value = material.namedValue(key);
    return (value != nullptr ? value->number() : std::nullopt).value_or(fallback);
}

void setNamedNumber(Material& material, std::string_view key, double number) {
    material.setNamedValue(std::string(key), number);
}

std::optional<double> cutoutThreshold(const Material& material) {
    const Value* value = material.namedValue(material_keys::alphaCutoff);
    return value != nullptr ? value->number() : std::nullopt;
}

void setCutoutThreshold(Material& material, double threshold) {
    setNamedNumber(material, material_keys::alphaCutoff, threshold);
}

void clearCutout(Material& material) {
    eraseValue(material.namedValues, material_keys::alphaCutoff);
}

std::optional<glm::dvec4> avatarBaseColor(const Material& material) {
    const Value* value = material.namedValue(material_keys::avatarBaseColor);
    const glm::dvec4* color = value != nullptr ? value->as<glm::dvec4>() : nullptr;
    return color != nullptr ? std::optional(*color) : std::nullopt;
}

void setAvatarBaseColor(Material& material, const glm::dvec4& color) {
    material.setNamedValue(std::string(material_keys::avatarBaseColor), color);
}

bool isUnlit(const Material& material) {
    return material.lightingModel == LightingModel::constant ||
           material.namedValue(material_keys::avatarBaseColor) != nullptr;
}

bool isSpecularGlossiness(const Material& material) {
    return material.namedValue(material_keys::glossinessFactor) != nullptr;
}

std::optional<std::vector<std::string>> weightPaths(const Node& node) {
    const Value* value = node.value(node_keys::weightPaths);
    const ValueArray* array = value != nullptr ? value->as<ValueArray>() : nullptr;
    if (array == nullptr)
        return std::nullopt;
    std::vector<std::string> paths;
    for (const Value& path : *array) {
        std::optional<std::string> text = path.text();
        if (!text)
            return std::nullopt;
        paths.push_back(std::move(*text));
    }
    return paths;
}

void setWeightPaths(Node& node, ValueArray paths) {
    node.setValue(std::string(node_keys::weightPaths), std::move(paths));
}

void addNotes(Scene& scene, const std::vector<std::string>& notes) {
    std::vector<std::string> kept = scene::notes(scene);
    for (const std::string& note : notes)
        if (std::ranges::find(kept, note) == kept.end())
            kept.push_back(note);
    if (!kept.empty())
        scene.setValue(std::string(scene_keys::notes), ValueArray(kept.begin(), kept.end()));
}

std::vector<std::string> notes(const Scene& scene) {
    std::vector<std::string> texts;
    const Value* value = scene.value(scene_keys::notes);
    const ValueArray* array = value != nullptr ? value->as<ValueArray>() : nullptr;
    for (const Value& item : array != nullptr ? *array : ValueArray{})
        if (std::optional<std::string> text = item.text())
            texts.push_back(std::move(*text));
    return texts;
}

void noteLeftOutFeature(Material& material, std::string_view feature) {
    std::string list = leftOutFeatures(material).value_or("");
    if (!list.empty())
        list += ", ";
    material.setNamedValue(std::string(material_keys::leftOutFeatures),
                           list + std::string(feature));
}

std::optional<std::string> leftOutFeatures(const Material& material) {
    const Value* value = material.namedValue(material_keys::leftOutFeatures);
    const std::string* text = value != nullptr ? value->as<std::string>() : nullptr;
    return text != nullptr ? std::optional(*text) : std::nullopt;
}

} // namespace scene
