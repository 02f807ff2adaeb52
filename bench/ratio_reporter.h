// ratio_reporter.h: the console report, then one line per compared pair of benchmarks.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

/*
 * Each pair is one row of the figures: our benchmark against its baseline, both measured in
 * the same run.  The line reads
 *     ratio ROW VALUE (OURS against BASELINE, ...)
 * VALUE is a speed (baseline time / our time: above 1 ours is faster) or a time (our time /
 * baseline time: below 1 ours is faster), from CPU time, since the machine is shared.  With
 * repetitions each side is its median; without, its one run.
 */
struct Comparison {
    std::string row;
    std::string ours;      // benchmark names with their arguments, e.g. "BM_HashInsert/10000"
    std::string baseline;
    bool as_speed;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<Comparison> comparisons) : comparisons_(std::move(comparisons)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            Figure& figure = figures_[name];
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                figure = {run.GetAdjustedCPUTime(), int(run.repetitions), true};
            else if (run.run_type == Run::RT_Iteration && !figure.median)
                figure = {run.GetAdjustedCPUTime(), 1, false};
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const Comparison& c : comparisons_) {
            auto ours = figures_.find(c.ours), baseline = figures_.find(c.baseline);
            if (ours == figures_.end() || baseline == figures_.end() || ours->second.cpu <= 0) continue;
            const double value = c.as_speed ? baseline->second.cpu / ours->second.cpu
                                            : ours->second.cpu / baseline->second.cpu;
            const std::string runs = ours->second.median ? "medians of " + std::to_string(ours->second.runs) : "one run";
            std::printf("ratio %s %.2f (%s against %s, %s, CPU time, %s)\n", c.row.c_str(), value, c.ours.c_str(),
                        c.baseline.c_str(), c.as_speed ? "speed" : "time", runs.c_str());
        }
    }

private:
    struct Figure {
        double cpu = 0;
        int runs = 0;
        bool median = false;
    };
    std::vector<Comparison> comparisons_;
    std::map<std::string, Figure> figures_;
};

/* Runs the benchmarks with their repetitions taking turns, so that a change of load on the
   machine meets both sides of a pair alike (flags given on the command line still win), and
   prints the ratio lines after the report. */
inline int run_with_ratios(int argc, char** argv, RatioReporter& reporter) {
    std::vector<char*> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
