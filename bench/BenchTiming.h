#pragma once
// Timing shared by the benchmarks that report a ratio to a baseline measured
// in the same run.

#include <benchmark/benchmark.h>
#include <time.h>

// Thread CPU time: the machines are shared, and time spent waiting for a core
// belongs to neither the work nor its baseline.
inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Seconds of CPU one call of `work` takes on average over `reps` calls.
template <class Work>
double MeanSeconds(int reps, Work&& work) {
    const double start = ThreadSeconds();
    for (int i = 0; i < reps; ++i) work();
    return (ThreadSeconds() - start) / reps;
}

// Times every iteration itself, so the ratio to the baseline is exact.
template <class Work>
void RunTimed(benchmark::State& state, double baseline, Work&& work) {
    const double start = ThreadSeconds();
    for (auto _ : state) {
        work();
        benchmark::ClobberMemory();
    }
    const double total = ThreadSeconds() - start;
    state.counters["x_baseline"] = total / double(state.iterations()) / baseline;
    state.counters["us_per_op"] = total / double(state.iterations()) * 1e6;
}
