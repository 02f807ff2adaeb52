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

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "bench/start_report.h"

extern char** environ;

namespace {
using bench::StartReport;

std::string beside_this_program(const char* name) {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n < 0) return name;
    path[n] = '\0';
    std::string self = path;
    return self.substr(0, self.rfind('/') + 1) + name;
}

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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

/* Each iteration's time is the child's time since its start (or the time of its part); the
   counters are the medians over the iterations of its processor time (ms) and its resident
   memory (KiB), and of what its part added. */
void measure(benchmark::State& state, const char* child, const char* mode, bool part) {
    const std::string program = beside_this_program(child);
    std::vector<double> cpu_ms, resident, part_kib;
    for (auto _ : state) {
        StartReport report{};
        if (!run_child(program, mode, report)) {
            state.SkipWithError((program + " " + mode + " did not report").c_str());
            return;
        }
        state.SetIterationTime(part ? report.part : report.since_start);
        cpu_ms.push_back(report.cpu * 1e3);
        resident.push_back(double(report.resident_kib));
        part_kib.push_back(double(report.part_kib));
    }
    state.counters["child_cpu_ms"] = median(cpu_ms);
    state.counters["resident_kib"] = median(resident);
    if (part) state.counters["part_kib"] = median(part_kib);
}

#define START_BENCHMARK(name, child, mode, part)                                        \
    void name(benchmark::State& state) { measure(state, child, mode, part); }             \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10)

// The starts of the programs: the runtime's start-up alone, and the loader bringing in GTK.
START_BENCHMARK(BM_ToolkitStart, "init_child_toolkit", "start", false);
START_BENCHMARK(BM_GtkLoad, "init_child_gtk", "load", false);
// Locating and binding against a program linked with the same libraries.
START_BENCHMARK(BM_LocateAndBind, "init_child_toolkit", "locate", false);
START_BENCHMARK(BM_LinkedLoad, "init_child_linked", "load", false);
// The whole of INIT against gtk_init with the desktop's font setting read.
START_BENCHMARK(BM_Init, "init_child_toolkit", "init", false);
START_BENCHMARK(BM_GtkInitAndSettings, "init_child_gtk", "init", false);
START_BENCHMARK(BM_LinkedInitAndSettings, "init_child_linked", "init", false);
// The registry's 24 tables alone: their slot and item arrays should cost address space only.
START_BENCHMARK(BM_RegistryTables, "init_child_toolkit", "registry", true)->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv) {
    using bench::Clock;
    bench::RatioReporter reporter(
        {
            {"init", "BM_Init", "BM_GtkInitAndSettings", false, Clock::real},
            {"init-cpu", "BM_Init", "BM_GtkInitAndSettings", false, Clock::real, 0, "child_cpu_ms"},
        },
        {
            {"locate-bind-beyond-loading", "BM_LocateAndBind", "BM_LinkedLoad", "", 1e3, "ms"},
            {"locate-bind-beyond-loading-cpu", "BM_LocateAndBind", "BM_LinkedLoad", "child_cpu_ms", 1, "ms"},
            {"init-memory", "BM_Init", "BM_GtkInitAndSettings", "resident_kib", 1.0 / 1024, "MiB"},
            {"init-memory-same-libraries", "BM_Init", "BM_LinkedInitAndSettings", "resident_kib", 1.0 / 1024, "MiB"},
            {"registry-time", "BM_RegistryTables", "", "", 1e6, "us"},
            {"registry-memory", "BM_RegistryTables", "", "part_kib", 1, "KiB"},
        });
    return bench::run_with_ratios(argc, argv, reporter);
}
