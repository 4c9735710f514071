#pragma once

// What a test of hostile input measures: the processor time a refusal took and how far the
// process's memory grew meanwhile. A forged size or a loop in a file must be refused on sight,
// not after allocating or walking what it claims.

#include <chrono>
#include <ctime>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace brightfold::testing {

struct BoundedRun {
    std::chrono::duration<double> processorTime{};
    double peakMemoryGrowthMiB = 0; // how far the resident peak rose above the start
};

// Runs `work` (which must not throw) and measures it, recording both figures with the test's
// results (--gtest_output). Processor time rather than wall time, so that a busy machine does
// not make the figure worse.
template <typename Work> BoundedRun measureBounded(Work&& work) {
    const auto residentKiB = [](const char* field) {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind(field, 0) == 0)
                return std::stod(line.substr(line.find(':') + 1));
        }
        return 0.0;
    };
    const auto processorSeconds = [] {
        std::timespec now{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return std::chrono::duration<double>(static_cast<double>(now.tv_sec) +
                                             static_cast<double>(now.tv_nsec) * 1e-9);
    };
    std::ofstream("/proc/self/clear_refs") << "5"; // restarts the peak from the current size
    const double startKiB = residentKiB("VmRSS:");
    const auto startTime = processorSeconds();
    work();
    BoundedRun run;
    run.processorTime = processorSeconds() - startTime;
    run.peakMemoryGrowthMiB = (residentKiB("VmHWM:") - startKiB) / 1024.0;
    ::testing::Test::RecordProperty("processorSeconds", std::to_string(run.processorTime.count()));
    ::testing::Test::RecordProperty("peakMemoryGrowthMiB", std::to_string(run.peakMemoryGrowthMiB));
    return run;
}

} // namespace brightfold::testing
