#pragma once

#include <cstddef>
#include <future>

// Work over a long run of items split between two cores.
namespace usd {

// The items from `first` up to `last`.
struct IndexRange {
    std::size_t first;
    std::size_t last;

    std::size_t size() const { return last - first; }
};

// Below this many items (bytes copied, values checked or coded) a second thread costs more
// than it saves.
constexpr std::size_t kItemsWorthASecondThread = std::size_t{1} << 20;

// Runs `work(IndexRange)` on the two halves of `count` items at once, the second on another
// thread and split at a multiple of `step`, or on all of them on the calling thread when they
// are few. The halves must touch nothing in common but what both only read; the front half is
// the one whose range starts at 0.
template <typename Work> void inTwoHalves(std::size_t count, std::size_t step, Work work) {
    if (count < kItemsWorthASecondThread) {
        work(IndexRange{0, count});
        return;
    }
    const std::size_t half = count / (2 * step) * step;
    auto back = std::async(std::launch::async, [&] { work(IndexRange{half, count}); });
    work(IndexRange{0, half});
    back.get();
}

} // namespace usd
