#pragma once
// Measures what a piece of work cost the test process: wall time, processor
// time and growth of the peak resident memory. A hostile input must be
// refused within a bounded amount of them, and the test states the bound it
// expects. Work that only computes is bounded by its processor time, which a
// busy machine running many tests at once does not inflate; waits on the
// network are bounded by wall time.
//
// The peak is the process's high-water mark (getrusage), so the growth seen
// is a lower bound when the process had been larger before; each test runs
// in its own process under ctest, where it starts small.

#include <sys/resource.h>
#include <time.h>

#include <cstdint>
#include <thread>  // steady_clock; <chrono> itself does not build with a GBK execution charset

class CostMeter {
public:
    CostMeter() : start_(std::chrono::steady_clock::now()), startCpu_(ProcessCpuSeconds()), startPeakKiB_(PeakKiB()) {}

    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    // Processor time of the whole process (all its threads) since construction.
    double CpuSeconds() const { return ProcessCpuSeconds() - startCpu_; }
    // How far the peak resident size rose since construction, in MiB.
    double PeakGrowthMiB() const {
        const std::int64_t now = PeakKiB();
        return now > startPeakKiB_ ? double(now - startPeakKiB_) / 1024.0 : 0.0;
    }

    static std::int64_t PeakKiB() {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;  // KiB on Linux
    }

    static double ProcessCpuSeconds() {
        timespec t{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
    }

private:
    std::chrono::steady_clock::time_point start_;
    double startCpu_;
    std::int64_t startPeakKiB_;
};
