#pragma once

#include "AssetResolver.h"
#include "ComposedPrim.h"

#include <USD/scene_reader/SceneReader.h>
#include <map>
#include <memory>
#include <vector>

namespace usd::reader {

// The prims the root layer composes into: its sublayers, references, payloads, variant
// selections, inherits and specializes resolved, following each arc at most once per chain.
class Stage {
  public:
    // Throws SceneReadError when the composed stage would be unreasonably large.
    Stage(AssetResolver& resolver, SceneReadNotes& notes);

    const std::vector<std::unique_ptr<ComposedPrim>>& rootPrims() const { return roots_; }
    // The prim at a stage path, or null.
    const ComposedPrim* prim(const Path& path) const;
    // A field of the root layer's metadata.
    const Value* layerMetadata(std::string_view field) const;

  private:
    friend class StageComposer;

    const LoadedLayer& rootLayer_;
    std::vector<std::unique_ptr<ComposedPrim>> roots_;
    std::map<Path, const ComposedPrim*> index_;
};

} // namespace usd::reader
