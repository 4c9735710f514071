#pragma once

#include <Brightfold/MainQueue.h>
#include <deque>
#include <functional>
#include <mutex>

// A main queue the test drains by hand, so each test decides when posted steps run.
class ManualMainQueue {
  public:
    brightfold::MainQueuePoster poster() {
        return [this](std::function<void()> step) {
            std::lock_guard lock(mutex_);
            steps_.push_back(std::move(step));
        };
    }

    // Runs posted steps, including those they post, until none is left; true if any ran.
    bool drain() {
        bool ranAny = false;
        while (auto step = takeNext()) {
            step();
            ranAny = true;
        }
        return ranAny;
    }

  private:
    std::function<void()> takeNext() {
        std::lock_guard lock(mutex_);
        if (steps_.empty()) {
            return {};
        }
        auto step = std::move(steps_.front());
        steps_.pop_front();
        return step;
    }

    std::mutex mutex_;
    std::deque<std::function<void()>> steps_;
};
