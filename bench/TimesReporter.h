#pragma once
// The console report, plus the time per iteration of each benchmark, for the ratios a
// benchmark program prints at its end.

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

class TimesReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds_[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
    }

    // Seconds per iteration of the benchmark of that name, when it ran.
    std::optional<double> Seconds(const std::string& name) const {
        const auto found = seconds_.find(name);
        if (found == seconds_.end()) return std::nullopt;
        return found->second;
    }

private:
    std::map<std::string, double> seconds_;
};

}  // namespace bench
