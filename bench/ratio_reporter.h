// ratio_reporter.h: the console report, then one line per figure of the benchmark table.
#pragma once
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

enum class Clock { cpu, real };

/*
 * Each comparison is one row of the table: our benchmark against its baseline, both measured
 * in the same run.  The line reads
 *     ratio ROW VALUE (OURS against BASELINE, speed|time, CPU|real time, medians of N)
 * VALUE is a speed (baseline time / our time: above 1 ours is faster) or a time (our time /
 * baseline time: below 1 ours is faster).  CPU time is the default, since the machine is
 * shared; real time where the work happens in other processes (a child, the X server).
 * A comparison of a counter (a child process's own processor time, say) takes it in place of
 * the time.  `ours_less` is a wait of ours that the row leaves out (a timer the program is
 * specified to run), in the unit of what is compared: seconds for a time, the counter's own unit
 * for a counter.  With repetitions each side is its median; without, its one run.
 */
struct Comparison {
    std::string row;
    std::string ours;      // benchmark names with their arguments, e.g. "BM_HashInsert/10000"
    std::string baseline;
    bool as_speed;
    Clock clock = Clock::cpu;
    double ours_less = 0;
    std::string counter = {};  // empty: the time on `clock`
};

/*
 * A figure that is no ratio: one benchmark's time or counter, or ours less the baseline's,
 * scaled into `unit`:
 *     figure ROW VALUE UNIT (OURS [less BASELINE], WHAT, medians of N)
 */
struct Figure {
    std::string row;
    std::string ours;
    std::string baseline;  // empty: ours alone
    std::string counter = {};  // empty: the time on `clock`, in seconds before scaling
    double scale;
    std::string unit;
    Clock clock = Clock::real;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Coloured only on a terminal, so that the lines stay plain text in a pipe or a file.
    explicit RatioReporter(std::vector<Comparison> comparisons, std::vector<Figure> figures = {})
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular),
          comparisons_(std::move(comparisons)),
          figures_(std::move(figures)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            Measured& measured = measured_[name];
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!median && (run.run_type != Run::RT_Iteration || measured.median)) continue;
            measured = {run.GetAdjustedCPUTime() / unit_per_second(run.time_unit),
                        run.GetAdjustedRealTime() / unit_per_second(run.time_unit), {},
                        median ? int(run.repetitions) : 1, median};
            for (const auto& [counter, value] : run.counters) measured.counters[counter] = value.value;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const Comparison& c : comparisons_) print(c);
        for (const Figure& f : figures_) print(f);
        std::fflush(stdout);
    }

private:
    struct Measured {
        double cpu = 0, real = 0;  // seconds
        std::map<std::string, double> counters;
        int runs = 0;
        bool median = false;
    };

    static double unit_per_second(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond: return 1e9;
        case benchmark::kMicrosecond: return 1e6;
        case benchmark::kMillisecond: return 1e3;
        default: return 1;
        }
    }
    static double time_on(const Measured& m, Clock clock) { return clock == Clock::cpu ? m.cpu : m.real; }
    static const char* clock_name(Clock clock) { return clock == Clock::cpu ? "CPU time" : "real time"; }
    static std::string runs_of(const Measured& m) {
        return m.median ? "medians of " + std::to_string(m.runs) : "one run";
    }
    const Measured* find(const std::string& name) const {
        auto it = measured_.find(name);
        return it == measured_.end() ? nullptr : &it->second;
    }

    void print(const Comparison& c) const {
        const Measured *ours = find(c.ours), *baseline = find(c.baseline);
        if (!ours || !baseline) return;
        const double mine = value_of(*ours, c.counter, c.clock) - c.ours_less;
        const double theirs = value_of(*baseline, c.counter, c.clock);
        if (mine <= 0 || theirs <= 0) return;
        char less[48] = "";
        if (c.ours_less > 0 && c.counter.empty()) std::snprintf(less, sizeof less, " less %g ms", c.ours_less * 1e3);
        if (c.ours_less > 0 && !c.counter.empty()) std::snprintf(less, sizeof less, " less %g", c.ours_less);
        const std::string what = c.counter.empty() ? clock_name(c.clock) : c.counter;
        std::printf("ratio %s %.2f (%s%s against %s, %s, %s, %s)\n", c.row.c_str(), c.as_speed ? theirs / mine : mine / theirs,
                    c.ours.c_str(), less, c.baseline.c_str(), c.as_speed ? "speed" : "time", what.c_str(),
                    runs_of(*ours).c_str());
    }

    static double value_of(const Measured& m, const std::string& counter, Clock clock) {
        if (counter.empty()) return time_on(m, clock);
        auto it = m.counters.find(counter);
        return it == m.counters.end() ? 0 : it->second;
    }

    void print(const Figure& f) const {
        const Measured* ours = find(f.ours);
        const Measured* baseline = f.baseline.empty() ? nullptr : find(f.baseline);
        if (!ours || (!f.baseline.empty() && !baseline)) return;
        const double value =
            (value_of(*ours, f.counter, f.clock) - (baseline ? value_of(*baseline, f.counter, f.clock) : 0)) * f.scale;
        const std::string what = f.counter.empty() ? clock_name(f.clock) : f.counter;
        const std::string of = baseline ? f.ours + " less " + f.baseline : f.ours;
        std::printf("figure %s %s%.2f %s (%s, %s, %s)\n", f.row.c_str(), baseline && value > 0 ? "+" : "", value,
                    f.unit.c_str(), of.c_str(), what.c_str(), runs_of(*ours).c_str());
    }

    std::vector<Comparison> comparisons_;
    std::vector<Figure> figures_;
    std::map<std::string, Measured> measured_;
};

/* Runs the benchmarks with their repetitions taking turns, so that a change of load on the
   machine meets both sides of a pair alike (flags given on the command line still win), and
   prints the ratio and figure lines after the report. */
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
