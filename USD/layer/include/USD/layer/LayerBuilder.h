#pragma once

#include <USD/layer/Layer.h>
#include <string>
#include <string_view>
#include <vector>

namespace usd {

struct AttributeDescription {
    AttributeDescription(std::string typeName, Value defaultValue = {},
                         Variability variability = Variability::Varying, bool custom = false)
        : typeName(std::move(typeName)), defaultValue(std::move(defaultValue)),
          variability(variability), custom(custom) {}

    std::string typeName; // value type name, e.g. "point3f[]", "token", "matrix4d"
    Value defaultValue;   // left empty for an attribute without a default
    Variability variability;
    bool custom;
};

// Builds a layer in code the way USD authors it: every prim and property is listed in its
// parent's children field, attributes carry typeName/custom/variability, relationships are
// uniform with explicit targets. Each call throws std::invalid_argument when the parent spec
// is missing or a name is invalid, and leaves the layer unchanged in that case.
class LayerBuilder {
  public:
    explicit LayerBuilder(Layer& layer) : layer_(layer) { layer_.pseudoRoot(); }

    void setLayerMetadata(std::string_view name, Value value);
    // Sets a field on any existing spec.
    void setMetadata(const Path& specPath, std::string_view name, Value value);

    // Defines (or redefines) the prim; its parent must already exist. An empty typeName
    // makes a typeless prim.
    Path definePrim(const Path& path, std::string_view typeName = {},
                    Specifier specifier = Specifier::Def);
    Path addAttribute(const Path& prim, std::string_view name, AttributeDescription description);
    void setTimeSamples(const Path& attribute, TimeSamples samples);
    // Connects an attribute to its sources (e.g. a shader output), replacing earlier ones.
    void setConnections(const Path& attribute, std::vector<Path> sources);
    Path addRelationship(const Path& prim, std::string_view name, std::vector<Path> targets);
    // Defines a variant of one of the prim's variant sets, and the set when it is new (the
    // prim then lists it among its variant sets). Properties and prims authored on the returned
    // path apply only while the variant is selected.
    Path defineVariant(const Path& prim, std::string_view variantSet, std::string_view variant);
    // Picks the variant the prim's set shows; an empty name selects none of them.
    void selectVariant(const Path& prim, std::string_view variantSet, std::string_view variant);

    // The layer being built, to read back what was authored.
    const Layer& layer() const { return layer_; }

  private:
    Spec& existingSpec(const Path& path, SpecType type);
    Spec& existingPrimOrVariant(const Path& path);
    Path addProperty(const Path& prim, std::string_view name, SpecType type);

    Layer& layer_;
};

} // namespace usd
