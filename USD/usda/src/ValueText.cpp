#include "ValueText.h"

#include "ScalarText.h"

#include <USD/layer/Path.h>
#include <type_traits>

namespace usd::usda {
namespace {

template <typename T> struct IsListOp : std::false_type {};
template <typename T> struct IsListOp<ListOp<T>> : std::true_type {};

template <typename T> struct IsItemVector : std::false_type {};
template <typename T> struct IsItemVector<ItemVector<T>> : std::true_type {};

template <typename T> struct IsArray : std::false_type {};
template <typename T> struct IsArray<Array<T>> : std::true_type {};

std::string itemText(const Value& value) {
    return valueText(value, 0);
}
template <typename T> std::string itemText(const T& value) {
    return scalarText(value);
}

std::string itemText(const Relocate& relocate) {
    return scalarText(relocate.source) + ": " + scalarText(relocate.target);
}

// A reference or payload: @asset@</prim>, each half omitted when empty.
template <typename Arc> std::string arcText(const Arc& arc) {
    std::string text = arc.assetPath.empty() ? "" : scalarText(AssetPath{arc.assetPath});
    if (!arc.primPath.isEmpty())
        text += scalarText(arc.primPath);
    if (arc.layerOffset != LayerOffset{})
        text += " " + scalarText(arc.layerOffset);
    return text;
}

std::string itemText(const Payload& payload) {
    return arcText(payload);
}

std::string itemText(const Reference& reference) {
    std::string text = arcText(reference);
    if (!reference.customData.empty())
        text += " (customData = " + valueText(reference.customData, 0) + ")";
    return text;
}

template <typename T> std::string joined(const std::vector<T>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : ", ") + itemText(items[i]);
    return text;
}

template <typename T> std::string listText(const std::vector<T>& items) {
    return "[" + joined(items) + "]";
}

std::string keyText(const std::string& key) {
    return Path::isValidIdentifier(key) ? key : scalarText(key);
}

std::string dictionaryText(const Dictionary& dictionary, int indent) {
    if (dictionary.empty())
        return "{}";
    std::string text = "{\n";
    for (const auto& [key, value] : dictionary.entries())
        text += indentation(indent + 1) + typeNameOf(value) + " " + keyText(key) + " = " +
                valueText(value, indent + 1) + "\n";
    return text + indentation(indent) + "}";
}

std::string variantSelectionText(const VariantSelectionMap& selections, int indent) {
    std::string text = "{\n";
    for (const auto& [set, variant] : selections)
        text +=
            indentation(indent + 1) + "string " + keyText(set) + " = " + scalarText(variant) + "\n";
    return text + indentation(indent) + "}";
}

std::string timeSamplesText(const TimeSamples& samples, int indent) {
    std::string text = "{\n";
    for (std::size_t i = 0; i < samples.times.size() && i < samples.values.size(); ++i)
        text += indentation(indent + 1) + scalarText(samples.times[i]) + ": " +
                valueText(samples.values[i], indent + 1) + ",\n";
    return text + indentation(indent) + "}";
}

template <typename T> std::vector<ListOpPart> partsOf(const ListOp<T>& op) {
    std::vector<ListOpPart> parts;
    if (op.isExplicit)
        parts.push_back({"", op.explicitItems.empty() ? "None" : listText(op.explicitItems)});
    const std::pair<const char*, const std::vector<T>*> edits[] = {{"add", &op.addedItems},
                                                                   {"prepend", &op.prependedItems},
                                                                   {"append", &op.appendedItems},
                                                                   {"delete", &op.deletedItems},
                                                                   {"reorder", &op.orderedItems}};
    for (const auto& [keyword, items] : edits)
        if (!items->empty())
            parts.push_back({keyword, listText(*items)});
    return parts;
}

template <typename T> std::string_view scalarTypeName() {
    if constexpr (std::is_same_v<T, bool>)
        return "bool";
    else if constexpr (std::is_same_v<T, std::uint8_t>)
        return "uchar";
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return "int";
    else if constexpr (std::is_same_v<T, std::uint32_t>)
        return "uint";
    else if constexpr (std::is_same_v<T, std::int64_t>)
        return "int64";
    else if constexpr (std::is_same_v<T, std::uint64_t>)
        return "uint64";
    else if constexpr (std::is_same_v<T, Half>)
        return "half";
    else if constexpr (std::is_same_v<T, float>)
        return "float";
    else if constexpr (std::is_same_v<T, double>)
        return "double";
    else if constexpr (std::is_same_v<T, std::string>)
        return "string";
    else if constexpr (std::is_same_v<T, Token>)
        return "token";
    else if constexpr (std::is_same_v<T, AssetPath>)
        return "asset";
    else if constexpr (std::is_same_v<T, TimeCode>)
        return "timecode";
    else if constexpr (std::is_same_v<T, PathExpression>)
        return "pathExpression";
    else if constexpr (std::is_same_v<T, Matrix2d>)
        return "matrix2d";
    else if constexpr (std::is_same_v<T, Matrix3d>)
        return "matrix3d";
    else if constexpr (std::is_same_v<T, Matrix4d>)
        return "matrix4d";
    else if constexpr (std::is_same_v<T, Quatd>)
        return "quatd";
    else if constexpr (std::is_same_v<T, Quatf>)
        return "quatf";
    else if constexpr (std::is_same_v<T, Quath>)
        return "quath";
    else if constexpr (std::is_same_v<T, Dictionary>)
        return "dictionary";
    else
        return "";
}

// Vectors are named after their component type and size: float3, half2, int4 …
template <typename T, std::size_t N> std::string vectorTypeName(const std::array<T, N>*) {
    const std::string_view component =
        std::is_same_v<T, std::int32_t> ? "int" : scalarTypeName<T>();
    return std::string(component) + std::to_string(N);
}

template <typename T> std::string elementTypeName() {
    if constexpr (requires { vectorTypeName(static_cast<const T*>(nullptr)); })
        return vectorTypeName(static_cast<const T*>(nullptr));
    else
        return std::string(scalarTypeName<T>());
}

} // namespace

std::string indentation(int indent) {
    return std::string(static_cast<std::size_t>(indent) * 4, ' ');
}

std::string valueText(const Value& value, int indent) {
    return std::visit(
        [indent]<typename T>(const T& held) -> std::string {
            if constexpr (std::is_same_v<T, std::monostate>)
                return "(no value)";
            else if constexpr (std::is_same_v<T, ValueBlock>)
                return "None";
            else if constexpr (std::is_same_v<T, Dictionary>)
                return dictionaryText(held, indent);
            else if constexpr (std::is_same_v<T, VariantSelectionMap>)
                return variantSelectionText(held, indent);
            else if constexpr (std::is_same_v<T, TimeSamples>)
                return timeSamplesText(held, indent);
            else if constexpr (std::is_same_v<T, Relocates>)
                return "{" + joined(held.items) + "}";
            else if constexpr (IsItemVector<T>::value)
                return listText(held.items);
            else if constexpr (IsArray<T>::value)
                return listText(held);
            else if constexpr (IsListOp<T>::value) {
                std::string text;
                for (const ListOpPart& part : partsOf(held))
                    text += (text.empty() ? "" : "; ") +
                            (part.keyword.empty() ? "" : part.keyword + " ") + part.items;
                return text;
            } else
                return itemText(held);
        },
        value.storage());
}

std::string typeNameOf(const Value& value) {
    return std::visit(
        []<typename T>(const T&) -> std::string {
            if constexpr (IsArray<T>::value)
                return elementTypeName<typename T::value_type>() + "[]";
            else if constexpr (std::is_same_v<T, TokenVector>)
                return "token[]";
            else if constexpr (std::is_same_v<T, StringVector>)
                return "string[]";
            else if constexpr (std::is_same_v<T, DoubleVector>)
                return "double[]";
            else {
                const std::string name = elementTypeName<T>();
                return name.empty() ? "unknown" : name;
            }
        },
        value.storage());
}

std::optional<std::vector<ListOpPart>> listOpParts(const Value& value) {
    return std::visit(
        []<typename T>(const T& held) -> std::optional<std::vector<ListOpPart>> {
            if constexpr (IsListOp<T>::value)
                return partsOf(held);
            else
                return std::nullopt;
        },
        value.storage());
}

} // namespace usd::usda
