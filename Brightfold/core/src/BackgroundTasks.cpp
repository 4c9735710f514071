#include <Brightfold/BackgroundTasks.h>
#include <algorithm>

namespace brightfold {

void BackgroundTasks::start(std::function<void()> task) {
    joinFinished();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread([task = std::move(task), finished] {
        task();
        finished->store(true);
    });
    tasks_.push_back(Task{std::move(thread), std::move(finished)});
}

void BackgroundTasks::waitForAll() {
    tasks_.clear();
}

bool BackgroundTasks::anyRunning() const {
    return std::any_of(tasks_.begin(), tasks_.end(),
                       [](const Task& task) { return !task.finished->load(); });
}

void BackgroundTasks::joinFinished() {
    std::erase_if(tasks_, [](const Task& task) { return task.finished->load(); });
}

} // namespace brightfold
