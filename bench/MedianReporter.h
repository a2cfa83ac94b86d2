#pragma once
// The median real time of each repeated benchmark, kept by name as the run
// reports it, so that a benchmark's main can state ratios measured in the
// same run.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

inline std::map<std::string, double>& Medians() {
    static std::map<std::string, double> medians;
    return medians;
}

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name == "median") Medians()[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
};
