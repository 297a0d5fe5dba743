#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Keeps the CPU time per iteration of every repetition, to take medians from. CPU time of the
// calling thread is what the measured thread spends, and unlike wall time it does not count
// the moments when other programs had the machine.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    // No colours: the figure lines that follow must start a clean line.
    FigureReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            times_[name].push_back(run.GetAdjustedCPUTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }

    /// Median time per iteration in the benchmark's unit ("BM_Name" or "BM_Name/arg"), or a
    /// negative number when the benchmark did not run.
    double median(const std::string& name) {
        std::vector<double>& t = times_[name];
        if (t.empty()) return -1;
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    }

private:
    std::map<std::string, std::vector<double>> times_;
};

/// Prints "figure NAME VALUE" with the ratio, or "nan" when either side did not run.
inline void printRatio(const char* figure, double numerator, double denominator) {
    if (numerator < 0 || denominator <= 0)
        std::printf("figure %s nan\n", figure);
    else
        std::printf("figure %s %.3f\n", figure, numerator / denominator);
}

/// Runs the registered benchmarks into `reporter`: nine repetitions in random order, so that a
/// slow moment of the machine does not land on one side of a ratio only (the command line may
/// override these). False when the command line holds an argument the library does not know.
inline bool runBenchmarks(int argc, char** argv, FigureReporter& reporter) {
    std::vector<char*> args{argv[0]};
    std::string defaults[] = {"--benchmark_repetitions=9", "--benchmark_enable_random_interleaving=true",
                              "--benchmark_min_time=0.2", "--benchmark_color=false"};
    for (std::string& flag : defaults) args.push_back(flag.data());
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    return true;
}
