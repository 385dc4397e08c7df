// SPDX-License-Identifier: GPL-3.0-or-later
// Console output plus a closing table of every case's throughput ("x_realtime") as a ratio to
// the baseline case measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // baselineOf names the case a given case is compared with; title heads the ratio column.
    RatioReporter(std::string title, std::function<std::string(const std::string&)> baselineOf)
        : title(std::move(title)), baselineOf(std::move(baselineOf)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const auto found = run.counters.find("x_realtime");
            if (found != run.counters.end()) speeds[run.benchmark_name()] = found->second.value;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-48s %12s %10s\n", "case", "x realtime", title.c_str());
        for (const auto& [name, speed] : speeds) {
            const auto baseline = speeds.find(baselineOf(name));
            const double ratio = baseline == speeds.end() ? 0.0 : speed / baseline->second;
            std::printf("%-48s %12.0f %10.3f\n", name.c_str(), speed, ratio);
        }
    }

    // The whole main of a benchmark program that reports with this table.
    static int run(int argc, char** argv, RatioReporter reporter) {
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        return 0;
    }

private:
    std::string title;
    std::function<std::string(const std::string&)> baselineOf;
    std::map<std::string, double> speeds;
};
