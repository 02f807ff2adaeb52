// access_bench.cpp: one widget of every kind set and read over and over; resident memory must
// not grow after the first round, since the pools and the return ring reuse their blocks.
// The cost of a TEXT + GRAB$ pair is reported against the same two calls made on GTK directly.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <unistd.h>
#include <cstdio>
#include <string>
#include <vector>
#include "bench/ratio_reporter.h"
#include "wex/wex.h"

namespace {
long resident_kib() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void start_toolkit() {
    static const bool started = (INIT(), WEXOPTIONS("NOSCALING"), WEXOPTIONS("WIDGET_SHOW 0"), true);
    (void)started;
}

void settle() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

std::string picture_file() {
    std::string path = "/tmp/access-bench-" + std::to_string(getpid()) + ".png";
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 8, 8);
    gdk_pixbuf_fill(pixbuf, 0x3366ccff);
    gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    return path;
}

struct EveryKind {
    std::vector<Widget> texts;   // TEXT sets and GRAB$ reads the same text back
    std::vector<Widget> values;  // SET and GET
    Widget combo, edit, list, notebook, clipboard, files, image;
};

// Builds one widget of every kind.  A stock button is built but not set or read: its child is
// no label and it has no toggle state, so GTK would only complain.
EveryKind build() {
    EveryKind k;
    STOCK("gtk-new", 10, 10);
    Widget window = WINDOW("Bench", 300, 200);
    k.texts = {window, BUTTON("b", 10, 10), ENTRY("e", 10, 10), WEXENTRY("", 10, 10), PASSWORD(10, 10),
               MARK("m", 10, 10), FRAME(10, 10), MSGDIALOG("d", 100, 100, 0, 1), PROGRESSBAR("p", 10, 10)};
    k.values = {TOGGLE("t", 10, 10), CHECK("c", 10, 10), RADIO("r", 10, 10, nullptr),
                SPIN(10, 10, 0, 100, 1), HSLIDER(10, 10, 0, 100, 1), VSLIDER(10, 10, 0, 100, 1),
                PROGRESSBAR("", 10, 10), HSEPARATOR(10), VSEPARATOR(10), MARK("", 10, 10)};
    k.combo = COMBO("first", 10, 10);
    k.edit = EDIT(10, 10);
    k.list = LIST(10, 10);
    k.notebook = NOTEBOOK("page", 10, 10);
    k.clipboard = CLIPBOARD();
    k.files = FILEDIALOG("files", "gtk-open", 100, 100, 0);
    k.image = IMAGE("", 10, 10);
    return k;
}

// One round: every kind's text and value calls, each undone where it would pile up.
void one_round(const EveryKind& k, int i, const char* picture) {
    char text[32];
    std::snprintf(text, sizeof text, "text %d", i);
    for (Widget w : k.texts) {
        TEXT(w, text);
        benchmark::DoNotOptimize(GRAB$(w));
    }
    for (Widget w : k.values) {
        SET(w, i % 100);
        benchmark::DoNotOptimize(GET(w));
    }
    for (Widget w : {k.combo, k.edit, k.list}) {
        TEXT(w, text);
        SET(w, 0);
        benchmark::DoNotOptimize(GRAB$(w));
        benchmark::DoNotOptimize(GET(w));
        TEXT(w, "");
    }
    SET(k.notebook, 0);
    benchmark::DoNotOptimize(GRAB$(k.notebook));
    benchmark::DoNotOptimize(GET(k.notebook));
    TEXT(k.clipboard, text);
    benchmark::DoNotOptimize(GRAB$(k.clipboard));
    benchmark::DoNotOptimize(GRAB$(k.files));
    TEXT(k.image, picture);
    benchmark::DoNotOptimize(GRAB$(k.image));
}

void BM_EveryKindSetAndRead(benchmark::State& state) {
    start_toolkit();
    const std::string picture = picture_file();
    const EveryKind kinds = build();
    long after_first = 0;
    int i = 0;
    for (auto _ : state) {
        one_round(kinds, i, picture.c_str());
        if (++i % 100 == 0) settle();
        if (i == 1) {
            settle();
            after_first = resident_kib();
        }
    }
    settle();
    state.counters["rss_after_first_round_KiB"] = double(after_first);
    state.counters["rss_growth_KiB"] = double(resident_kib() - after_first);
    unlink(picture.c_str());
}
BENCHMARK(BM_EveryKindSetAndRead)->Iterations(10000)->Unit(benchmark::kMicrosecond);

void BM_EntryTextAndGrabToolkit(benchmark::State& state) {
    start_toolkit();
    Widget entry = ENTRY("", 10, 10);
    for (auto _ : state) {
        TEXT(entry, "some entry text");
        benchmark::DoNotOptimize(GRAB$(entry));
    }
}
BENCHMARK(BM_EntryTextAndGrabToolkit);

// Baseline: the same two calls made on GTK directly.
void BM_EntryTextAndGrabDirectGtk(benchmark::State& state) {
    start_toolkit();
    GtkWidget* entry = gtk_entry_new();
    for (auto _ : state) {
        gtk_entry_set_text(GTK_ENTRY(entry), "some entry text");
        benchmark::DoNotOptimize(gtk_entry_get_text(GTK_ENTRY(entry)));
    }
}
BENCHMARK(BM_EntryTextAndGrabDirectGtk);
}  // namespace

int main(int argc, char** argv) {
    bench::RatioReporter reporter(
        {{"entry-text-grab", "BM_EntryTextAndGrabToolkit", "BM_EntryTextAndGrabDirectGtk", false}},
        {{"access-memory-growth", "BM_EveryKindSetAndRead", "", "rss_growth_KiB", 1, "KiB"}});
    return bench::run_with_ratios(argc, argv, reporter);
}
