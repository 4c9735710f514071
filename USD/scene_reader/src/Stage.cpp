#include "Stage.h"

#include "ListOpItems.h"
#include "ReadLimits.h"

#include <USD/layer/FieldNames.h>
#include <algorithm>

namespace usd::reader {
namespace {

std::vector<const LoadedLayer*> layerStack(const LoadedLayer& layer) {
    std::vector<const LoadedLayer*> stack{&layer};
    for (const LoadedLayer* sub : layer.subLayers) {
        for (const LoadedLayer* inner : layerStack(*sub)) {
            if (std::ranges::find(stack, inner) == stack.end()) {
                stack.push_back(inner);
            }
        }
    }
    return stack;
}

std::vector<std::string> tokenItems(const Spec* spec, std::string_view field) {
    const Value* value = spec ? spec->field(field) : nullptr;
    const auto* tokens = value ? value->get<TokenVector>() : nullptr;
    std::vector<std::string> names;
    for (const Token& token : tokens ? tokens->items : std::vector<Token>{}) {
        names.push_back(token.text);
    }
    return names;
}

void appendNew(std::vector<std::string>& names, const std::vector<std::string>& more) {
    for (const std::string& name : more) {
        if (std::ranges::find(names, name) == names.end()) {
            names.push_back(name);
        }
    }
}

// Where an arc points: a prim in some layer stack.
struct ArcTarget {
    const LoadedLayer* layer = nullptr;
    Path primPath;
};

std::vector<Payload> payloadItems(const Value* value) {
    if (const auto* single = value ? value->get<Payload>() : nullptr) {
        return {*single};
    }
    return listOpItems<Payload>(value);
}

// A prim being composed: where it goes on the stage.
struct PrimPlace {
    Path path;
    const ComposedPrim* parent = nullptr;
};

} // namespace

// Builds the composed prim tree of one stage.
class StageComposer {
  public:
    StageComposer(Stage& stage, AssetResolver& resolver, SceneReadNotes& notes)
        : stage_(stage), resolver_(resolver), notes_(notes) {}

    void compose() {
        const std::vector<const LoadedLayer*> stack = layerStack(stage_.rootLayer_);
        std::vector<std::string> names;
        for (const LoadedLayer* layer : stack) {
            appendNew(names, tokenItems(layer->layer.pseudoRoot(), field::kPrimChildren));
        }
        for (const std::string& name : names) {
            const Path path = Path::absoluteRoot().appendChild(name);
            std::vector<PrimSource> sources;
            for (const LoadedLayer* layer : stack) {
                if (layer->layer.hasSpec(path)) {
                    sources.push_back({layer, path, Path::absoluteRoot(), Path::absoluteRoot()});
                }
            }
            stage_.roots_.push_back(makePrim(path, std::move(sources), nullptr, 0));
        }
    }

  private:
    std::unique_ptr<ComposedPrim> makePrim(const Path& path, std::vector<PrimSource> sources,
                                           const ComposedPrim* parent, int depth) {
        if (++primCount_ > kMaxComposedPrims) {
            throw SceneReadError("The file composes into more than " +
                                 std::to_string(kMaxComposedPrims) + " prims.");
        }
        expandArcs({path, parent}, sources);
        auto prim = std::make_unique<ComposedPrim>(path, std::move(sources), parent);
        stage_.index_[path] = prim.get();
        if (depth >= kMaxPrimDepth) {
            notes_.push_back("Prims below " + path.text() + " nest too deeply; they are left out.");
            return prim;
        }
        composeChildren(*prim, depth);
        return prim;
    }

    void composeChildren(ComposedPrim& prim, int depth) {
        std::vector<std::string> names;
        for (const PrimSource& source : prim.sources()) {
            appendNew(names, tokenItems(source.spec(), field::kPrimChildren));
        }
        for (const std::string& name : names) {
            if (!Path::isValidIdentifier(name)) {
                continue;
            }
            std::vector<PrimSource> sources;
            for (const PrimSource& source : prim.sources()) {
                const Path childSpec = source.specPath.appendChild(name);
                if (source.layer->layer.hasSpec(childSpec)) {
                    sources.push_back(
                        {source.layer, childSpec, source.sourceRoot, source.stageRoot});
                }
            }
            prim.children().push_back(
                makePrim(prim.path().appendChild(name), std::move(sources), &prim, depth + 1));
        }
    }

    // Adds the sources every arc of every source brings, weaker than the source itself. The
    // list grows while it is walked, so arcs inside referenced prims are followed too.
    void expandArcs(const PrimPlace& prim, std::vector<PrimSource>& sources) {
        for (std::size_t i = 0; i < sources.size() && i < kMaxSourcesPerPrim; ++i) {
            const PrimSource source = sources[i];
            const Spec* spec = source.spec();
            if (spec == nullptr) {
                continue;
            }
            addVariants(source, sources);
            for (const Path& path : listOpItems<Path>(spec->field("inheritPaths"))) {
                addTarget(prim, {source.layer, path}, sources);
            }
            for (const Reference& reference :
                 listOpItems<Reference>(spec->field(field::kReferences))) {
                addExternal(prim, source, reference.assetPath, reference.primPath, sources);
            }
            for (const Payload& payload : payloadItems(spec->field(field::kPayload))) {
                addExternal(prim, source, payload.assetPath, payload.primPath, sources);
            }
            for (const Path& path : listOpItems<Path>(spec->field("specializes"))) {
                addTarget(prim, {source.layer, path}, sources);
            }
        }
    }

    static void addVariants(const PrimSource& source, std::vector<PrimSource>& sources) {
        for (const std::string& set : tokenItems(source.spec(), field::kVariantSetChildren)) {
            const std::string selection = variantSelection(sources, source, set);
            if (!Path::isValidVariantName(set) || !Path::isValidVariantName(selection)) {
                continue;
            }
            const Path variant = source.specPath.appendVariantSelection(set, selection);
            if (source.layer->layer.hasSpec(variant)) {
                sources.push_back({source.layer, variant, source.sourceRoot, source.stageRoot});
            }
        }
    }

    // The authored selection, strongest first, else the first variant of the set.
    static std::string variantSelection(const std::vector<PrimSource>& sources,
                                        const PrimSource& source, const std::string& set) {
        for (const PrimSource& any : sources) {
            const Spec* spec = any.spec();
            const Value* value = spec ? spec->field("variantSelection") : nullptr;
            const auto* selections = value ? value->get<VariantSelectionMap>() : nullptr;
            if (selections != nullptr) {
                if (const auto found = selections->find(set); found != selections->end()) {
                    return found->second;
                }
            }
        }
        const Path setPath = source.specPath.appendVariantSelection(set, "");
        const std::vector<std::string> variants =
            tokenItems(source.layer->layer.spec(setPath), field::kVariantChildren);
        return variants.empty() ? std::string() : variants.front();
    }

    void addExternal(const PrimPlace& prim, const PrimSource& source, const std::string& assetPath,
                     const Path& primPath, std::vector<PrimSource>& sources) {
        const LoadedLayer* layer =
            assetPath.empty() ? source.layer : resolver_.layer(assetPath, source.layer->location);
        if (layer == nullptr) {
            return;
        }
        Path target = primPath;
        if (target.isEmpty()) {
            target = defaultPrim(*layer);
            if (target.isEmpty()) {
                notes_.push_back(
                    "The reference @" + assetPath + "@ on " + prim.path.text() +
                    " names no prim and its layer has no default prim; it is left out.");
                return;
            }
        }
        addTarget(prim, {layer, target}, sources);
    }

    static Path defaultPrim(const LoadedLayer& layer) {
        const Spec* root = layer.layer.pseudoRoot();
        const Value* value = root ? root->field(field::kDefaultPrim) : nullptr;
        const auto* name = value ? value->get<Token>() : nullptr;
        if (name == nullptr || !Path::isValidIdentifier(name->text)) {
            return {};
        }
        return Path::absoluteRoot().appendChild(name->text);
    }

    void addTarget(const PrimPlace& prim, const ArcTarget& target,
                   std::vector<PrimSource>& sources) {
        if (!target.primPath.isPrimPath() || target.primPath.isVariantSelectionPath()) {
            return;
        }
        if (isCycle(prim, sources, target)) {
            notes_.push_back("The arc from " + prim.path.text() + " to " + target.primPath.text() +
                             " in " + target.layer->location.displayName() +
                             " leads back to itself; it is followed only once.");
            return;
        }
        for (const LoadedLayer* layer : layerStack(*target.layer)) {
            if (layer->layer.hasSpec(target.primPath)) {
                sources.push_back({layer, target.primPath, target.primPath, prim.path});
            }
        }
    }

    // An arc to a spec this prim or one of its ancestors already composes.
    static bool isCycle(const PrimPlace& prim, const std::vector<PrimSource>& sources,
                        const ArcTarget& target) {
        const auto composes = [&](const std::vector<PrimSource>& list) {
            return std::ranges::any_of(list, [&](const PrimSource& source) {
                return source.layer == target.layer && source.specPath == target.primPath;
            });
        };
        if (composes(sources)) {
            return true;
        }
        for (const ComposedPrim* p = prim.parent; p != nullptr; p = p->parent()) {
            if (composes(p->sources())) {
                return true;
            }
        }
        return false;
    }

    Stage& stage_;
    AssetResolver& resolver_;
    SceneReadNotes& notes_;
    std::size_t primCount_ = 0;
};

Stage::Stage(AssetResolver& resolver, SceneReadNotes& notes) : rootLayer_(resolver.rootLayer()) {
    StageComposer(*this, resolver, notes).compose();
}

const ComposedPrim* Stage::prim(const Path& path) const {
    const auto found = index_.find(path);
    return found == index_.end() ? nullptr : found->second;
}

const Value* Stage::layerMetadata(std::string_view field) const {
    const Spec* root = rootLayer_.layer.pseudoRoot();
    return root ? root->field(field) : nullptr;
}

} // namespace usd::reader
