#include "ComposedPrim.h"

#include "ListOpItems.h"

#include <USD/layer/FieldNames.h>
#include <algorithm>
#include <cmath>
#include <functional>

namespace usd::reader {
namespace {

bool isBelowOrAt(const std::string& path, const std::string& root) {
    if (root == "/" || path == root) {
        return true;
    }
    return path.size() > root.size() && path.starts_with(root) &&
           (path[root.size()] == '/' || path[root.size()] == '.');
}

const Value* earliestSample(const Value* samples) {
    const auto* timeSamples = samples ? samples->get<TimeSamples>() : nullptr;
    if (timeSamples == nullptr || timeSamples->values.empty()) {
        return nullptr;
    }
    return &timeSamples->values.front();
}

// Samples at finite, strictly ascending times, one value each, as files are written; others
// cannot be placed on a timeline.
bool isPlayable(const TimeSamples& samples) {
    const std::vector<double>& times = samples.times;
    return times.size() == samples.values.size() &&
           std::ranges::all_of(times, [](double t) { return std::isfinite(t); }) &&
           std::ranges::adjacent_find(times, std::greater_equal<>()) == times.end();
}

// The property's spec in one source; names a file may hold that no path can carry have none.
const Spec* propertySpec(const PrimSource& source, std::string_view property) {
    try {
        return source.layer->layer.spec(source.specPath.appendProperty(property));
    } catch (const PathError&) {
        return nullptr;
    }
}

} // namespace

std::optional<Path> mapToStage(const Path& path, const PrimSource& source) {
    const std::string& text = path.text();
    const std::string& root = source.sourceRoot.text();
    if (!isBelowOrAt(text, root)) {
        return std::nullopt;
    }
    if (root == source.stageRoot.text()) {
        return path;
    }
    const std::string rest = root == "/" ? text.substr(1) : text.substr(root.size());
    const std::string& stage = source.stageRoot.text();
    try {
        return Path::fromString(stage == "/" ? "/" + rest : stage + rest);
    } catch (const PathError&) {
        return std::nullopt;
    }
}

const Value* ComposedPrim::metadata(std::string_view field) const {
    for (const PrimSource& source : sources_) {
        const Spec* spec = source.spec();
        if (const Value* value = spec ? spec->field(field) : nullptr) {
            return value;
        }
    }
    return nullptr;
}

// A typeless opinion (a prim that only references its contents) leaves the type to weaker ones.
std::string ComposedPrim::typeName() const {
    for (const PrimSource& source : sources_) {
        const Spec* spec = source.spec();
        const Value* value = spec ? spec->field(field::kTypeName) : nullptr;
        const auto* token = value ? value->get<Token>() : nullptr;
        if (token != nullptr && !token->text.empty()) {
            return token->text;
        }
    }
    return {};
}

const Value* ComposedPrim::propertyField(std::string_view property, std::string_view field) const {
    for (const PrimSource& source : sources_) {
        const Spec* spec = propertySpec(source, property);
        if (const Value* value = spec ? spec->field(field) : nullptr) {
            return value;
        }
    }
    return nullptr;
}

bool ComposedPrim::hasProperty(std::string_view property) const {
    return std::ranges::any_of(sources_, [&](const PrimSource& source) {
        return propertySpec(source, property) != nullptr;
    });
}

std::vector<std::string> ComposedPrim::propertyNames() const {
    std::vector<std::string> names;
    for (const PrimSource& source : sources_) {
        const Spec* spec = source.spec();
        const Value* value = spec ? spec->field(field::kProperties) : nullptr;
        const auto* listed = value ? value->get<TokenVector>() : nullptr;
        for (const Token& name : listed ? listed->items : std::vector<Token>{}) {
            if (std::ranges::find(names, name.text) == names.end()) {
                names.push_back(name.text);
            }
        }
    }
    return names;
}

const Value* ComposedPrim::attributeValue(std::string_view attribute) const {
    return attributeOpinion(attribute).value;
}

// A blocked value hides every weaker one.
ComposedPrim::Opinion ComposedPrim::attributeOpinion(std::string_view attribute) const {
    for (const PrimSource& source : sources_) {
        const Spec* spec = propertySpec(source, attribute);
        if (spec == nullptr) {
            continue;
        }
        const Value* value = spec->field(field::kDefault);
        if (value == nullptr) {
            value = earliestSample(spec->field(field::kTimeSamples));
        }
        if (value != nullptr) {
            return value->holds<ValueBlock>() ? Opinion{} : Opinion{value, &source};
        }
    }
    return {};
}

// Within one spec, samples override the default for every timed query.
const TimeSamples* ComposedPrim::attributeTimeSamples(std::string_view attribute) const {
    for (const PrimSource& source : sources_) {
        const Spec* spec = propertySpec(source, attribute);
        if (spec == nullptr) {
            continue;
        }
        const Value* samples = spec->field(field::kTimeSamples);
        const auto* timeSamples = samples ? samples->get<TimeSamples>() : nullptr;
        if (timeSamples != nullptr && !timeSamples->values.empty()) {
            return isPlayable(*timeSamples) ? timeSamples : nullptr;
        }
        if (spec->field(field::kDefault) != nullptr) {
            return nullptr;
        }
    }
    return nullptr;
}

std::vector<Path> ComposedPrim::targets(std::string_view relationship) const {
    return mappedPaths(relationship, field::kTargetPaths);
}

std::vector<Path> ComposedPrim::connections(std::string_view attribute) const {
    return mappedPaths(attribute, field::kConnectionPaths);
}

// The strongest source that says anything about the list decides it.
std::vector<Path> ComposedPrim::mappedPaths(std::string_view property,
                                            std::string_view field) const {
    for (const PrimSource& source : sources_) {
        const Spec* spec = propertySpec(source, property);
        const Value* value = spec ? spec->field(field) : nullptr;
        if (value == nullptr) {
            continue;
        }
        std::vector<Path> mapped;
        for (const Path& path : listOpItems<Path>(value)) {
            if (std::optional<Path> onStage = mapToStage(path, source)) {
                mapped.push_back(std::move(*onStage));
            }
        }
        return mapped;
    }
    return {};
}

} // namespace usd::reader
