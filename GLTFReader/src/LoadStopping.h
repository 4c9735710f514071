#pragma once

#include <stop_token>

namespace gltf {

// Lets the caller of a scene load stop it early. While a scope is alive, loading on its thread
// (one unarchiver serves one thread at a time) looks at the token before each node, mesh,
// accessor, image and animation, and throws GLTFUnarchiveError Unknown "loading was stopped"
// once a stop is requested. Scopes nest; the inner one's token counts.
class LoadStopScope {
  public:
    explicit LoadStopScope(std::stop_token stop);
    ~LoadStopScope();
    LoadStopScope(const LoadStopScope&) = delete;
    LoadStopScope& operator=(const LoadStopScope&) = delete;

  private:
    std::stop_token outer_;
};

void throwIfLoadStopRequested();

} // namespace gltf
