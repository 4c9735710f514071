#pragma once

#include <sys/resource.h>
#include <utility>

namespace bench {

// How many bytes the process's peak resident set grew by while `step` ran. Run each measured
// step in a process of its own, so that nothing done before it set the high-water mark.
template <class Step> double peakGrowthBytes(Step&& step) {
    const auto peakKilobytes = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    };
    const long before = peakKilobytes();
    std::forward<Step>(step)();
    return static_cast<double>(peakKilobytes() - before) * 1024;
}

} // namespace bench
