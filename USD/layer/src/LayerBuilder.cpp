#include <USD/layer/FieldNames.h>
#include <USD/layer/LayerBuilder.h>
#include <algorithm>
#include <stdexcept>

namespace usd {

namespace {

void appendChildName(Spec& parent, std::string_view childrenField, std::string_view name) {
    Value& children = parent.fields[std::string(childrenField)];
    if (!children.holds<TokenVector>()) {
        children = TokenVector{};
    }
    auto& names = children.get<TokenVector>()->items;
    const Token token{std::string(name)};
    if (std::find(names.begin(), names.end(), token) == names.end()) {
        names.push_back(token);
    }
}

} // namespace

void LayerBuilder::setLayerMetadata(std::string_view name, Value value) {
    layer_.pseudoRoot().setField(std::string(name), std::move(value));
}

void LayerBuilder::setMetadata(const Path& specPath, std::string_view name, Value value) {
    Spec* spec = layer_.spec(specPath);
    if (spec == nullptr) {
        throw std::invalid_argument("no spec at " + specPath.text());
    }
    spec->setField(std::string(name), std::move(value));
}

Spec& LayerBuilder::existingSpec(const Path& path, SpecType type) {
    Spec* spec = layer_.spec(path);
    if (spec == nullptr || spec->type != type) {
        throw std::invalid_argument("no spec of the expected type at " + path.text());
    }
    return *spec;
}

Spec& LayerBuilder::existingPrimOrVariant(const Path& path) {
    Spec* spec = layer_.spec(path);
    const bool canHoldChildren =
        spec != nullptr && (spec->type == SpecType::Prim || spec->type == SpecType::Variant ||
                            spec->type == SpecType::PseudoRoot);
    if (!canHoldChildren) {
        throw std::invalid_argument("no prim to add children to at " + path.text());
    }
    return *spec;
}

Path LayerBuilder::definePrim(const Path& path, std::string_view typeName, Specifier specifier) {
    if (!path.isPrimPath() || path.isVariantSelectionPath()) {
        throw std::invalid_argument("not a prim path: " + path.text());
    }
    Spec& parent = existingPrimOrVariant(path.parent());
    Spec& prim = layer_.createSpec(path, SpecType::Prim);
    appendChildName(parent, field::kPrimChildren, path.name());
    prim.setField(std::string(field::kSpecifier), specifier);
    if (!typeName.empty()) {
        prim.setField(std::string(field::kTypeName), Token{std::string(typeName)});
    }
    return path;
}

Path LayerBuilder::addProperty(const Path& prim, std::string_view name, SpecType type) {
    Spec& owner = existingPrimOrVariant(prim);
    if (owner.type == SpecType::PseudoRoot) {
        throw std::invalid_argument("the pseudo-root cannot hold properties");
    }
    const Path path = prim.appendProperty(name);
    layer_.createSpec(path, type);
    appendChildName(owner, field::kProperties, name);
    return path;
}

Path LayerBuilder::addAttribute(const Path& prim, std::string_view name,
                                AttributeDescription description) {
    const Path path = addProperty(prim, name, SpecType::Attribute);
    Spec& attribute = *layer_.spec(path);
    attribute.setField(std::string(field::kTypeName), Token{std::move(description.typeName)});
    attribute.setField(std::string(field::kCustom), description.custom);
    attribute.setField(std::string(field::kVariability), description.variability);
    if (!description.defaultValue.isEmpty()) {
        attribute.setField(std::string(field::kDefault), std::move(description.defaultValue));
    }
    return path;
}

void LayerBuilder::setTimeSamples(const Path& attribute, TimeSamples samples) {
    if (samples.times.size() != samples.values.size()) {
        throw std::invalid_argument("time samples need one value per time");
    }
    if (!std::is_sorted(samples.times.begin(), samples.times.end())) {
        throw std::invalid_argument("time samples must be in ascending time order");
    }
    existingSpec(attribute, SpecType::Attribute)
        .setField(std::string(field::kTimeSamples), std::move(samples));
}

void LayerBuilder::setConnections(const Path& attribute, std::vector<Path> sources) {
    existingSpec(attribute, SpecType::Attribute)
        .setField(std::string(field::kConnectionPaths),
                  PathListOp::makeExplicit(std::move(sources)));
}

Path LayerBuilder::addRelationship(const Path& prim, std::string_view name,
                                   std::vector<Path> targets) {
    const Path path = addProperty(prim, name, SpecType::Relationship);
    Spec& relationship = *layer_.spec(path);
    relationship.setField(std::string(field::kCustom), false);
    relationship.setField(std::string(field::kVariability), Variability::Uniform);
    relationship.setField(std::string(field::kTargetPaths),
                          PathListOp::makeExplicit(std::move(targets)));
    return path;
}

Path LayerBuilder::defineVariant(const Path& prim, std::string_view variantSet,
                                 std::string_view variant) {
    if (variant.empty()) {
        throw std::invalid_argument("a variant needs a name");
    }
    const Path setPath = prim.appendVariantSelection(variantSet, "");
    const Path variantPath = prim.appendVariantSelection(variantSet, variant);
    Spec& owner = existingPrimOrVariant(prim);
    if (owner.type == SpecType::PseudoRoot) {
        throw std::invalid_argument("the pseudo-root cannot hold variant sets");
    }
    if (!layer_.hasSpec(setPath)) {
        appendChildName(owner, field::kVariantSetChildren, variantSet);
        Value& names = owner.fields[std::string(field::kVariantSetNames)];
        if (!names.holds<StringListOp>()) {
            names = StringListOp::makePrepended({});
        }
        names.get<StringListOp>()->prependedItems.emplace_back(variantSet);
    }
    Spec& set = layer_.createSpec(setPath, SpecType::VariantSet);
    layer_.createSpec(variantPath, SpecType::Variant);
    appendChildName(set, field::kVariantChildren, variant);
    return variantPath;
}

void LayerBuilder::selectVariant(const Path& prim, std::string_view variantSet,
                                 std::string_view variant) {
    Spec& owner = existingPrimOrVariant(prim);
    if (!layer_.hasSpec(prim.appendVariantSelection(variantSet, "")) ||
        (!variant.empty() && !layer_.hasSpec(prim.appendVariantSelection(variantSet, variant)))) {
        throw std::invalid_argument("no such variant to select on " + prim.text());
    }
    Value& selection = owner.fields[std::string(field::kVariantSelection)];
    if (!selection.holds<VariantSelectionMap>()) {
        selection = VariantSelectionMap{};
    }
    selection.get<VariantSelectionMap>()->insert_or_assign(std::string(variantSet),
                                                           std::string(variant));
}

} // namespace usd
