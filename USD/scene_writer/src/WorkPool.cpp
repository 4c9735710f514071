#include "WorkPool.h"

#include <algorithm>

namespace usd::writer {

WorkPool::WorkPool(unsigned threadCount) : threadCount_(std::max(threadCount, 1u)) {}

WorkPool::~WorkPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    ready_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void WorkPool::enqueue(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        if (threads_.size() < threadCount_)
            threads_.emplace_back([this] { work(); });
    }
    ready_.notify_one();
}

void WorkPool::work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty())
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

unsigned imageWorkThreadCount() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
}

} // namespace usd::writer
