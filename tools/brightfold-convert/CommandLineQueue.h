#pragma once

#include <Brightfold/MainQueue.h>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace brightfold::cli {

// The command line's main thread: posted steps wait here until the converter runs them.
class CommandLineQueue {
  public:
    MainQueuePoster poster();
    // Runs posted steps in order, waiting for more, until `done` holds after a step.
    void runUntil(const std::function<bool()>& done);
    // Runs whatever is queued now, without waiting.
    void drain();

  private:
    std::function<void()> takeNext(bool wait);

    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> steps_;
};

} // namespace brightfold::cli
