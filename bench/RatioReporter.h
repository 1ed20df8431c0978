#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// The usual table, then each measurement against its floor (and its target, if it has one), so
// a reader need not divide by hand. Real time decides; the CPU time's ratio stands beside it
// because the machine may be shared.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    struct Ratio {
        const char* name;
        const char* floor;
        double maxRatio = 0; // 0: no target
    };

    explicit RatioReporter(std::vector<Ratio> ratios)
        : ConsoleReporter(OO_Tabular), m_ratios(std::move(ratios))
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double scale = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const Time time{run.GetAdjustedRealTime() / scale, run.GetAdjustedCPUTime() / scale};
            if (run.run_type == Run::RT_Iteration)
                m_runs[run.run_name.str()].push_back(time);
            else if (run.aggregate_name == "median")
                m_medians[run.run_name.str()] = time;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nagainst the floors (median of the repetitions):\n");
        for (const Ratio& ratio : m_ratios)
            compare(ratio);
    }

private:
    struct Time {
        double real = -1; // seconds
        double cpu = -1;
    };

    Time median(const std::string& name) const
    {
        if (const auto found = m_medians.find(name); found != m_medians.end())
            return found->second;
        const auto found = m_runs.find(name);
        if (found == m_runs.end() || found->second.empty())
            return {};
        std::vector<Time> times = found->second;
        std::sort(times.begin(), times.end(), [](const Time& a, const Time& b) { return a.real < b.real; });
        return times[times.size() / 2];
    }

    void compare(const Ratio& wanted) const
    {
        const Time value = median(wanted.name);
        const Time base = median(wanted.floor);
        if (value.real < 0 || base.real <= 0 || base.cpu <= 0)
            return;
        const double ratio = value.real / base.real;
        std::printf("  %-40s %10.1f us\n  %-40s %10.1f us  ratio %5.2f  (cpu %5.2f)", wanted.name,
                    value.real * 1e6, wanted.floor, base.real * 1e6, ratio, value.cpu / base.cpu);
        if (wanted.maxRatio > 0)
            std::printf("  target <= %.2fx  %s", wanted.maxRatio, ratio <= wanted.maxRatio ? "ok" : "MISSED");
        std::printf("\n");
    }

    std::vector<Ratio> m_ratios;
    std::map<std::string, std::vector<Time>> m_runs;
    std::map<std::string, Time> m_medians;
};
