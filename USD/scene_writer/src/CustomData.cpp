#include "CustomData.h"

#include <algorithm>

namespace usd::writer {
namespace {

template <std::size_t N, typename Vector> std::array<double, N> components(const Vector& v) {
    std::array<double, N> result{};
    for (std::size_t i = 0; i < N; ++i)
        result[i] = v[static_cast<glm::length_t>(i)];
    return result;
}

struct Converter {
    std::optional<Value> operator()(bool flag) const { return Value(flag); }
    std::optional<Value> operator()(std::int64_t number) const { return Value(number); }
    std::optional<Value> operator()(double number) const { return Value(number); }
    std::optional<Value> operator()(const std::string& text) const { return Value(text); }
    std::optional<Value> operator()(const glm::dvec2& v) const { return Value(components<2>(v)); }
    std::optional<Value> operator()(const glm::dvec3& v) const { return Value(components<3>(v)); }
    std::optional<Value> operator()(const glm::dvec4& v) const { return Value(components<4>(v)); }
    std::optional<Value> operator()(const scene::Color& c) const {
        return Value(Vec4d{c.red, c.green, c.blue, c.alpha});
    }
    std::optional<Value> operator()(const scene::ValueDictionary& d) const {
        return Value(customDataOf(d));
    }
    template <typename Other> std::optional<Value> operator()(const Other&) const {
        return std::nullopt;
    }
};

} // namespace

std::optional<Value> customDataValue(const scene::Value& value) {
    return std::visit(Converter{}, value.storage());
}

Dictionary customDataOf(const scene::ValueDictionary& values,
                        std::initializer_list<std::string_view> skipped) {
    Dictionary dictionary;
    for (const auto& [key, value] : values) {
        if (std::ranges::find(skipped, key) != skipped.end())
            continue;
        if (auto converted = customDataValue(value))
            dictionary.set(key, std::move(*converted));
    }
    return dictionary;
}

void keepOriginalName(Dictionary& data, const std::string& name, std::string_view primName) {
    if (name != primName)
        data.set("originalName", name);
}

} // namespace usd::writer
