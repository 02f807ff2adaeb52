// init_bench.cpp: the toolkit's start-up against a GTK program's own, each in a new process.
// Every iteration starts a child program (bench/children/) and takes what it reports: the time
// from the start of the process to the measured point, the child's processor time and its
// resident memory there.  The toolkit's child is linked like the games, with no GUI library;
// the baselines are GTK programs linked the usual way, one with GTK alone and one also with the
// optional libraries that INIT finds on this system, so that the loader brings in exactly what
// INIT opens.  Run with DISPLAY set (INIT and gtk_init connect to the X server).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "bench/start_report.h"

extern char** environ;

namespace {
using bench::beside_this_program;
using bench::median;
using bench::StartReport;

// Starts `program mode START` with a pipe on descriptor 3 and waits for its report.
bool run_child(const std::string& program, const char* mode, StartReport& report) {
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) return false;  // the child keeps only its descriptor 3
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], bench::REPORT_FD);
    char start[32];
    std::snprintf(start, sizeof start, "%.9f", bench::monotonic_seconds());
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(mode), start, nullptr};
    pid_t child;
    const bool started = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    bool received = started && read(channel[0], &report, sizeof report) == sizeof report;
    close(channel[0]);
    int status = 0;
    if (started) received = waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && received;
    return received;
}

struct Child {
    const char* program;
    const char* mode;
};

/* One pair of starts per iteration: ours and the baseline, one after the other, the order
 * alternating, so that a change of load meets both alike.  The counters are medians over the
 * iterations, which the few starts that wait for a busy processor do not pull away as they
 * pull the mean the library reports: our time since the start and the baseline's (ms), their
 * ratio, and of the differences, ours less the baseline's, in that time, in the children's own
 * processor time (ms) and in resident memory (KiB).  The iteration time is ours. */
void compare(benchmark::State& state, Child ours, Child baseline) {
    const std::string programs[] = {beside_this_program(ours.program), beside_this_program(baseline.program)};
    const char* modes[] = {ours.mode, baseline.mode};
    std::vector<double> ours_ms, baseline_ms, real_diff, cpu_diff, resident_diff;
    int turn = 0;
    for (auto _ : state) {
        StartReport reports[2]{};
        for (int k = 0; k < 2; ++k) {
            const int side = (turn + k) % 2;
            if (!run_child(programs[side], modes[side], reports[side])) {
                state.SkipWithError((programs[side] + " " + modes[side] + " did not report").c_str());
                return;
            }
        }
        turn ^= 1;
        const StartReport &a = reports[0], &b = reports[1];
        state.SetIterationTime(a.since_start);
        ours_ms.push_back(a.since_start * 1e3);
        baseline_ms.push_back(b.since_start * 1e3);
        real_diff.push_back((a.since_start - b.since_start) * 1e3);
        cpu_diff.push_back((a.cpu - b.cpu) * 1e3);
        resident_diff.push_back(double(a.resident_kib - b.resident_kib));
    }
    state.counters["real_ms"] = median(ours_ms);
    state.counters["baseline_real_ms"] = median(baseline_ms);
    state.counters["real_ratio"] = median(ours_ms) / median(baseline_ms);
    state.counters["real_diff_ms"] = median(real_diff);
    state.counters["cpu_diff_ms"] = median(cpu_diff);
    state.counters["resident_diff_kib"] = median(resident_diff);
}

// One child alone, timing a part of its work: the median time (us) and resident memory (KiB)
// of that part.
void measure_part(benchmark::State& state, Child child) {
    const std::string program = beside_this_program(child.program);
    std::vector<double> part_us, part_kib;
    for (auto _ : state) {
        StartReport report{};
        if (!run_child(program, child.mode, report)) {
            state.SkipWithError((program + " " + child.mode + " did not report").c_str());
            return;
        }
        state.SetIterationTime(report.part);
        part_us.push_back(report.part * 1e6);
        part_kib.push_back(double(report.part_kib));
    }
    state.counters["part_us"] = median(part_us);
    state.counters["part_kib"] = median(part_kib);
}

constexpr Child TOOLKIT_LOCATE{"init_child_toolkit", "locate"}, TOOLKIT_INIT{"init_child_toolkit", "init"};
constexpr Child LINKED_LOAD{"init_child_linked", "load"}, LINKED_INIT{"init_child_linked", "init"};
constexpr Child GTK_INIT{"init_child_gtk", "init"};

// Locating and binding against a program linked with the same libraries reaching main.
void BM_LocateAndBindAgainstLinkedLoad(benchmark::State& state) { compare(state, TOOLKIT_LOCATE, LINKED_LOAD); }
// The whole of INIT against gtk_init with the desktop's font setting read, in a GTK program;
// and against the same in a GTK program also linked with the optional libraries INIT opens.
void BM_InitAgainstGtkInit(benchmark::State& state) { compare(state, TOOLKIT_INIT, GTK_INIT); }
void BM_InitAgainstLinkedInit(benchmark::State& state) { compare(state, TOOLKIT_INIT, LINKED_INIT); }
// The registry's 24 tables alone: their slot and item arrays should cost address space only.
void BM_RegistryTables(benchmark::State& state) { measure_part(state, {"init_child_toolkit", "registry"}); }

BENCHMARK(BM_LocateAndBindAgainstLinkedLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_InitAgainstGtkInit)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_InitAgainstLinkedInit)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RegistryTables)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(10);
}  // namespace

int main(int argc, char** argv) {
    constexpr double MIB = 1.0 / 1024;
    bench::RatioReporter reporter(
        {}, {
                {"init", "BM_InitAgainstGtkInit", "", "real_ratio", 1, "×"},
                {"locate-bind-beyond-loading", "BM_LocateAndBindAgainstLinkedLoad", "", "real_diff_ms", 1, "ms"},
                {"locate-bind-beyond-loading-cpu", "BM_LocateAndBindAgainstLinkedLoad", "", "cpu_diff_ms", 1, "ms"},
                {"init-memory", "BM_InitAgainstGtkInit", "", "resident_diff_kib", MIB, "MiB"},
                {"init-memory-same-libraries", "BM_InitAgainstLinkedInit", "", "resident_diff_kib", MIB, "MiB"},
                {"registry-time", "BM_RegistryTables", "", "part_us", 1, "us"},
                {"registry-memory", "BM_RegistryTables", "", "part_kib", 1, "KiB"},
            });
    return bench::run_with_ratios(argc, argv, reporter);
}
