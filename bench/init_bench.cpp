// init_bench.cpp: the toolkit's start-up against GTK's own, and the memory the registry's 24
// tables make the process touch.  Each start-up runs once per process, so every iteration forks
// a child that does the work once and reports its time and resident memory through a pipe.
// Run with DISPLAY set (both INIT and gtk_init connect to the X server).
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include "wex/library.h"
#include "wex/registry.h"
#include "wex/wex.h"

namespace {
struct Report {
    double seconds;
    long resident_before_kib;
    long resident_after_kib;
};

long resident_kib() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

template <class Work> Report in_child(Work work) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        Report report{};
        report.resident_before_kib = resident_kib();
        const auto start = std::chrono::steady_clock::now();
        work();
        report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        report.resident_after_kib = resident_kib();
        if (write(channel[1], &report, sizeof report) != sizeof report) _exit(1);
        _exit(0);
    }
    close(channel[1]);
    Report report{};
    if (read(channel[0], &report, sizeof report) != sizeof report) report = {};
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return report;
}

template <class Work> void measure(benchmark::State& state, Work work) {
    Report last{};
    for (auto _ : state) {
        last = in_child(work);
        state.SetIterationTime(last.seconds);
    }
    state.counters["rss_after_kib"] = double(last.resident_after_kib);
    state.counters["rss_growth_kib"] = double(last.resident_after_kib - last.resident_before_kib);
}

// Baseline: GTK's own start-up, the libraries already loaded.
void BM_GtkInitAlone(benchmark::State& state) {
    measure(state, [] { gtk_init(nullptr, nullptr); });
}

// GTK's start-up with the desktop settings read, as INIT reads "gtk-font-name" after it.
void BM_GtkInitAndSettings(benchmark::State& state) {
    measure(state, [] {
        gtk_init(nullptr, nullptr);
        gchar* font = nullptr;
        g_object_get(gtk_settings_get_default(), "gtk-font-name", &font, nullptr);
        g_free(font);
    });
}

// The whole of INIT: locating, binding, defaults, the 24 tables, gtk_init, the font factor.
void BM_Init(benchmark::State& state) {
    measure(state, [] {
        T4K_START(0, nullptr);
        wex::INIT();
    });
}

// INIT's own share: the search for the ten libraries and the binding of 209 functions.
void BM_LocateAndBind(benchmark::State& state) {
    measure(state, [] {
        T4K_START(0, nullptr);
        wex::wex_bind_libraries(wex::wex_locate_libraries());
    });
}

// The 24 tables alone: their slot and item arrays should cost address space, not memory.
void BM_RegistryTables(benchmark::State& state) {
    measure(state, [] { wex::wex_registry_init(); });
}

// Touching a table's slots shows what the tables would cost if their creation wrote them.
void BM_RegistryTablesTouched(benchmark::State& state) {
    measure(state, [] {
        wex::wex_registry_init();
        __t4k__hashtable_t& table = __t4k__wex_widget_xsize_table_;
        std::fill_n(reinterpret_cast<char*>(table.slots),
                    size_t(table.slot_capacity) * sizeof(__t4k__hashtable_internal_slot_t), 0);
    });
}

BENCHMARK(BM_GtkInitAlone)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_GtkInitAndSettings)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Init)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LocateAndBind)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_RegistryTables)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(BM_RegistryTablesTouched)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);
}  // namespace

BENCHMARK_MAIN();
