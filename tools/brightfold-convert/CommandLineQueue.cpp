#include "CommandLineQueue.h"

namespace brightfold::cli {

MainQueuePoster CommandLineQueue::poster() {
    return [this](std::function<void()> step) {
        {
            std::lock_guard lock(mutex_);
            steps_.push_back(std::move(step));
        }
        posted_.notify_one();
    };
}

void CommandLineQueue::runUntil(const std::function<bool()>& done) {
    while (!done()) {
        takeNext(true)();
    }
}

void CommandLineQueue::drain() {
    while (auto step = takeNext(false)) {
        step();
    }
}

std::function<void()> CommandLineQueue::takeNext(bool wait) {
    std::unique_lock lock(mutex_);
    if (wait) {
        posted_.wait(lock, [this] { return !steps_.empty(); });
    }
    if (steps_.empty()) {
        return {};
    }
    std::function<void()> step = std::move(steps_.front());
    steps_.pop_front();
    return step;
}

} // namespace brightfold::cli
