#pragma once

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <exception>
#include <string>

namespace bench {

// Wall-clock seconds, and the process's CPU seconds (user and system, so the kernel's copying of
// file bytes counts). On a machine shared with other work the CPU ratio is the steadier one.
struct Elapsed {
    double wall = 0;
    double cpu = 0;

    Elapsed& operator+=(const Elapsed& other) {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

template <class Work> Elapsed elapsedOf(Work&& work) {
    const auto wallStart = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count(),
            static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC};
}

struct PairedSeconds {
    Elapsed baseline;
    Elapsed measured;
};

// Runs `baseline` and then `measured` in every iteration, so that both see the same page cache
// and the same load on a shared machine. The benchmark's own time is `measured`'s (register it
// with UseManualTime); the totals let the caller report ratios.
template <class Baseline, class Measured>
PairedSeconds timePaired(benchmark::State& state, Baseline&& baseline, Measured&& measured) {
    PairedSeconds total;
    for (auto _ : state) {
        total.baseline += elapsedOf(baseline);
        const Elapsed step = elapsedOf(measured);
        total.measured += step;
        state.SetIterationTime(step.wall);
    }
    return total;
}

// Mean wall-clock milliseconds per iteration of the baseline, and `<name>` and `<name>_cpu`: the
// measured step over the baseline in wall-clock and in CPU time.
inline void reportRatio(benchmark::State& state, const PairedSeconds& total,
                        const std::string& name) {
    state.counters["baseline_ms"] =
        benchmark::Counter(total.baseline.wall * 1e3, benchmark::Counter::kAvgIterations);
    state.counters[name] = total.measured.wall / total.baseline.wall;
    state.counters[name + "_cpu"] = total.measured.cpu / total.baseline.cpu;
}

// reportRatio, plus the bytes one iteration moved: as throughput, and as `<sizeName>` in MB.
inline void reportRatioOverBytes(benchmark::State& state, const PairedSeconds& total,
                                 std::uintmax_t bytes, const std::string& sizeName,
                                 const std::string& ratioName) {
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters[sizeName] = static_cast<double>(bytes) / 1e6;
    reportRatio(state, total, ratioName);
}

// Registers a benchmark timed with timePaired, in milliseconds. Whatever it throws (a refused
// file, a missing corpus) shows as a skipped benchmark with the message, not an ended program.
template <class Function, class... Arguments>
void registerPaired(const std::string& name, Function function, Arguments... arguments) {
    const auto reporting = [function](benchmark::State& state, auto... forwarded) {
        try {
            function(state, forwarded...);
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
        }
    };
    benchmark::RegisterBenchmark(name.c_str(), reporting, arguments...)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

} // namespace bench
