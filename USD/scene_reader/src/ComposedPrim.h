#pragma once

#include "AssetResolver.h"

#include <USD/layer/Path.h>
#include <USD/layer/SceneDescription.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace usd::reader {

// One layer spec that holds opinions about a composed prim. Paths authored in it (targets,
// connections) are written in its own namespace: those below `sourceRoot` appear below
// `stageRoot` on the stage.
struct PrimSource {
    const LoadedLayer* layer = nullptr;
    Path specPath;
    Path sourceRoot;
    Path stageRoot;

    const Spec* spec() const { return layer->layer.spec(specPath); }
};

// A prim of the composed stage: its sources, strongest first, and its children. Every
// query takes the strongest opinion found.
class ComposedPrim {
  public:
    ComposedPrim(Path path, std::vector<PrimSource> sources, const ComposedPrim* parent)
        : path_(std::move(path)), sources_(std::move(sources)), parent_(parent) {}

    const Path& path() const { return path_; }
    std::string_view name() const { return path_.name(); }
    const ComposedPrim* parent() const { return parent_; }
    const std::vector<PrimSource>& sources() const { return sources_; }
    const std::vector<std::unique_ptr<ComposedPrim>>& children() const { return children_; }
    std::vector<std::unique_ptr<ComposedPrim>>& children() { return children_; }

    // A field of the prim spec (typeName, active, customData …).
    const Value* metadata(std::string_view field) const;
    std::string typeName() const;

    // A field of the property spec called `property` (default, interpolation …).
    const Value* propertyField(std::string_view property, std::string_view field) const;
    bool hasProperty(std::string_view property) const;
    // Every property name any source lists, in first-seen order.
    std::vector<std::string> propertyNames() const;

    // The attribute's value for a static scene: its default, else its earliest time sample.
    const Value* attributeValue(std::string_view attribute) const;
    // The same value and the source that holds it (asset paths resolve against its layer).
    struct Opinion {
        const Value* value = nullptr;
        const PrimSource* source = nullptr;
    };
    Opinion attributeOpinion(std::string_view attribute) const;
    // The attribute's time samples when its strongest opinion is animated, else null.
    const TimeSamples* attributeTimeSamples(std::string_view attribute) const;
    // A relationship's targets or an attribute's connections, as stage paths.
    std::vector<Path> targets(std::string_view relationship) const;
    std::vector<Path> connections(std::string_view attribute) const;

  private:
    std::vector<Path> mappedPaths(std::string_view property, std::string_view field) const;

    Path path_;
    std::vector<PrimSource> sources_;
    const ComposedPrim* parent_;
    std::vector<std::unique_ptr<ComposedPrim>> children_;
};

// `path` authored in `source`, as it appears on the stage; nullopt when it lies outside what
// the source brings onto the stage.
std::optional<Path> mapToStage(const Path& path, const PrimSource& source);

} // namespace usd::reader
