#pragma once

#include <USD/layer/Path.h>
#include <USD/layer/SceneDescription.h>
#include <map>

namespace usd {

// An in-memory layer: specs by path. The pseudo-root spec at "/" holds the layer metadata
// and the root prims. Specs are kept sorted by path, so iteration is deterministic and two
// layers with the same specs compare equal whatever order they were created in.
class Layer {
  public:
    using Specs = std::map<Path, Spec>;

    // Creates the entry for that path, or returns the existing one after checking its type.
    // Throws std::invalid_argument for the empty path or a type clash.
    Spec& createSpec(const Path& path, SpecType type);
    // Removes the entry at that path; returns whether there was one.
    bool removeSpec(const Path& path);

    // The entry at that path, or nullptr.
    const Spec* spec(const Path& path) const;
    Spec* spec(const Path& path);
    bool hasSpec(const Path& path) const { return specs_.contains(path); }

    // The pseudo-root spec, created on first use.
    Spec& pseudoRoot();
    const Spec* pseudoRoot() const { return spec(Path::absoluteRoot()); }

    const Specs& specs() const { return specs_; }
    std::size_t specCount() const { return specs_.size(); }

    friend bool operator==(const Layer&, const Layer&) = default;

  private:
    Specs specs_;
};

} // namespace usd
