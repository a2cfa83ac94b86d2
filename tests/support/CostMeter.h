#pragma once
// Measures what a piece of work cost the test process: wall time and growth
// of the peak resident memory. A hostile input must be refused within a
// bounded amount of both, and the test states the bound it expects.
//
// The peak is the process's high-water mark (getrusage), so the growth seen
// is a lower bound when the process had been larger before; each test runs
// in its own process under ctest, where it starts small.

#include <sys/resource.h>

#include <cstdint>
#include <thread>

class CostMeter {
public:
    CostMeter() : start_(std::chrono::steady_clock::now()), startPeakKiB_(PeakKiB()) {}

    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
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

private:
    std::chrono::steady_clock::time_point start_;
    std::int64_t startPeakKiB_;
};
