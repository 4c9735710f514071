#include "NumberFormatting.h"

#include <SceneGraph/Image.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Value.h>

namespace scene {
namespace {

using detail::formatComponents;
using detail::formatNumber;

template <class... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };
// Spelled out for compilers that do not deduce aggregate template arguments yet.
template <class... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string describeMatrix(const Matrix4& matrix) {
    std::string text = "matrix";
    for (int row = 0; row < 4; ++row) {
        text += " " + formatComponents(matrix[row], 4);
    }
    return text;
}

std::string describeArray(const ValueArray& array) {
    constexpr std::size_t itemsShown = 4;
    std::string text = "[";
    for (std::size_t i = 0; i < array.size() && i < itemsShown; ++i) {
        text += (i == 0 ? "" : ", ") + array[i].shortDescription();
    }
    if (array.size() > itemsShown) {
        text += ", … " + std::to_string(array.size()) + " items";
    }
    return text + "]";
}

std::string describeDictionary(const ValueDictionary& dictionary) {
    return "{" + std::to_string(dictionary.size()) + " entries}";
}

std::string describeNode(const NodeReference& reference) {
    const auto node = reference.lock();
    return node ? "node " + quoted(node->name()) : "node (gone)";
}

std::string describeImage(const std::shared_ptr<Image>& image) {
    return image ? "image " + std::to_string(image->width()) + "x" + std::to_string(image->height())
                 : "image (none)";
}

} // namespace

std::optional<double> Value::number() const {
    if (const auto* integer = as<std::int64_t>()) {
        return static_cast<double>(*integer);
    }
    if (const auto* real = as<double>()) {
        return *real;
    }
    return std::nullopt;
}

std::optional<std::string> Value::text() const {
    const auto* text = as<std::string>();
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

std::shared_ptr<Node> Value::node() const {
    const auto* reference = as<NodeReference>();
    return reference ? reference->lock() : nullptr;
}

std::string Value::shortDescription() const {
    return std::visit(
        Overloaded{
            [](std::monostate) -> std::string { return "null"; },
            [](bool flag) -> std::string { return flag ? "true" : "false"; },
            [](std::int64_t integer) { return std::to_string(integer); },
            [](double real) { return formatNumber(real); },
            [](const std::string& text) { return quoted(text); },
            [](const glm::dvec2& vector) { return formatComponents(vector, 2); },
            [](const glm::dvec3& vector) { return formatComponents(vector, 3); },
            [](const glm::dvec4& vector) { return formatComponents(vector, 4); },
            [](const Quaternion& rotation) {
                return "quat " + formatComponents(xyzwOf(rotation), 4);
            },
            [](const Matrix4& matrix) { return describeMatrix(matrix); },
            [](const Color& c) {
                return "color " + formatComponents(glm::dvec4(c.red, c.green, c.blue, c.alpha), 4);
            },
            [](const ValueArray& array) { return describeArray(array); },
            [](const ValueDictionary& dictionary) { return describeDictionary(dictionary); },
            [](const NodeReference& reference) { return describeNode(reference); },
            [](const std::shared_ptr<Image>& image) { return describeImage(image); },
            [](const OpaqueObject& object) { return "object <" + object.typeTag + ">"; },
        },
        storage_);
}

std::string_view Value::typeName() const {
    static constexpr std::string_view names[] = {
        "null",       "boolean", "integer", "number", "text",       "vector2", "vector3", "vector4",
        "quaternion", "matrix",  "color",   "array",  "dictionary", "node",    "image",   "object"};
    static_assert(std::size(names) == std::variant_size_v<Storage>);
    return names[storage_.index()];
}

const Value* findValue(const ValueDictionary& dictionary, std::string_view key) {
    const auto found = dictionary.find(key);
    return found == dictionary.end() ? nullptr : &found->second;
}

void eraseValue(ValueDictionary& dictionary, std::string_view key) {
    if (const auto found = dictionary.find(key); found != dictionary.end()) {
        dictionary.erase(found);
    }
}

} // namespace scene
