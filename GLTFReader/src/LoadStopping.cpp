#include "LoadStopping.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <utility>

namespace gltf {
namespace {

thread_local std::stop_token currentStop;

} // namespace

LoadStopScope::LoadStopScope(std::stop_token stop)
    : outer_(std::exchange(currentStop, std::move(stop))) {}

LoadStopScope::~LoadStopScope() {
    currentStop = std::move(outer_);
}

void throwIfLoadStopRequested() {
    if (currentStop.stop_requested()) {
        throw GLTFUnarchiveError::unknown("loading was stopped");
    }
}

} // namespace gltf
