#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace brightfold {

// One thread per task, all joined before this object goes away. Threads that have finished
// are joined whenever a new task starts, so a long session does not pile them up.
// Use from one thread only.
class BackgroundTasks {
  public:
    BackgroundTasks() = default;
    BackgroundTasks(const BackgroundTasks&) = delete;
    BackgroundTasks& operator=(const BackgroundTasks&) = delete;
    ~BackgroundTasks() = default; // each std::jthread joins on destruction

    void start(std::function<void()> task);
    // Blocks until every task started so far has returned.
    void waitForAll();
    // Whether a task started so far has not yet returned.
    bool anyRunning() const;

  private:
    struct Task {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };
    void joinFinished();

    std::vector<Task> tasks_;
};

} // namespace brightfold
