#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace usd::writer {

// A few threads for work that can run beside the caller's, started when the first job comes
// and joined on destruction (after the jobs already submitted are done).
class WorkPool {
  public:
    explicit WorkPool(unsigned threadCount);
    ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // Runs `job` on one of the threads; its result, or what it threw, arrives in the future.
    template <typename Job> auto submit(Job job) -> std::future<decltype(job())> {
        auto task = std::make_shared<std::packaged_task<decltype(job())()>>(std::move(job));
        auto result = task->get_future();
        enqueue([task] { (*task)(); });
        return result;
    }

  private:
    void enqueue(std::function<void()> job);
    void work();

    unsigned threadCount_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// Threads for a package's image work: as many as there are cores, at most four, so that a
// batch of conversions side by side does not multiply into dozens of threads.
unsigned imageWorkThreadCount();

} // namespace usd::writer
