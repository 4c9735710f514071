#pragma once

#include <functional>

namespace brightfold {

// Hands a closure to the thread that owns the application state, to run there later.
// Must be callable from any thread and must never run the closure synchronously or block:
// the Qt application posts a queued call, the command line drains its own queue.
using MainQueuePoster = std::function<void(std::function<void()>)>;

} // namespace brightfold
