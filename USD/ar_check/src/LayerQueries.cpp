#include <USD/ar_check/LayerQueries.h>
#include <USD/layer/FieldNames.h>
#include <algorithm>

namespace usd {

std::string tokenOf(const Value* value) {
    const Token* token = value ? value->get<Token>() : nullptr;
    return token ? token->text : "";
}

std::string primType(const Layer& layer, const Path& prim) {
    const Spec* spec = layer.spec(prim);
    return spec ? tokenOf(spec->field(field::kTypeName)) : "";
}

const Value* attributeValue(const Layer& layer, const Path& prim, std::string_view name) {
    const Spec* spec = layer.spec(prim.appendProperty(name));
    return spec ? spec->field(field::kDefault) : nullptr;
}

std::string attributeType(const Layer& layer, const Path& attribute) {
    const Spec* spec = layer.spec(attribute);
    if (!spec || spec->type != SpecType::Attribute)
        return "";
    return tokenOf(spec->field(field::kTypeName));
}

std::vector<Path> pathsOf(const Layer& layer, const Path& property, std::string_view field) {
    const Spec* spec = layer.spec(property);
    const Value* value = spec ? spec->field(field) : nullptr;
    const PathListOp* list = value ? value->get<PathListOp>() : nullptr;
    if (!list)
        return {};
    if (list->isExplicit)
        return list->explicitItems;
    std::vector<Path> items = list->prependedItems;
    items.insert(items.end(), list->addedItems.begin(), list->addedItems.end());
    items.insert(items.end(), list->appendedItems.begin(), list->appendedItems.end());
    return items;
}

std::vector<std::string> propertyNames(const Layer& layer, const Path& prim) {
    const Spec* spec = layer.spec(prim);
    const Value* value = spec ? spec->field(field::kProperties) : nullptr;
    const TokenVector* names = value ? value->get<TokenVector>() : nullptr;
    std::vector<std::string> result;
    if (names)
        for (const Token& name : names->items)
            result.push_back(name.text);
    return result;
}

bool appliesSchema(const Layer& layer, const Path& prim, std::string_view schema) {
    const Spec* spec = layer.spec(prim);
    const Value* value = spec ? spec->field(field::kApiSchemas) : nullptr;
    const TokenListOp* list = value ? value->get<TokenListOp>() : nullptr;
    if (!list)
        return false;
    const auto names = [&](const std::vector<Token>& items) {
        return std::ranges::any_of(items, [&](const Token& t) { return t.text == schema; });
    };
    return names(list->prependedItems) || names(list->explicitItems) ||
           names(list->appendedItems) || names(list->addedItems);
}

std::size_t arrayLength(const Value* value) {
    if (!value)
        return 0;
    return std::visit(
        []<typename T>(const T& held) -> std::size_t {
            if constexpr (requires {
                              held.size();
                              held.data();
                          })
                return held.size();
            else
                return 0;
        },
        value->storage());
}

} // namespace usd
