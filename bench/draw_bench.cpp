// draw_bench.cpp: one redraw of a robot-game-sized board through the toolkit's drawing calls
// against the same drawing made with direct GDK calls on the same pixmap, in the same run.
// Needs a display.  The ratio of the two is printed at the end.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "wex/properties.h"
#include "wex/wex.h"

namespace {
constexpr int CELLS = 24, CELL = 30, BOARD = CELLS * CELL;

enum class Kind { Square, Circle, Line, Text };
struct Op {
    Kind kind;
    const char* colour;
    int a, b, c, d, fill;
    const char* text;
};

// The colours of the board, as texts the way the games pass them.
const char* const PALETTE[] = {"#cccccc", "black", "#228B22", "#8B4513", "yellow", "orange", "red", "#4040FF"};

/* About 1,000 calls, in the order a redraw makes them: the black fill, one floor square per
 * cell and the pictures of the things on it (circles, squares, lines), the grid lines, the
 * marked-up messages. */
std::vector<Op> redraw() {
    std::vector<Op> ops;
    ops.push_back({Kind::Square, "black", 0, 0, BOARD, BOARD, 1, nullptr});
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int row = 0; row < CELLS; ++row)
        for (int col = 0; col < CELLS; ++col) {
            int x = col * CELL, y = row * CELL;
            ops.push_back({Kind::Square, PALETTE[0], x + 1, y + 1, CELL - 2, CELL - 2, 1, nullptr});
            switch (next() % 8) {
                case 0:  // tree
                    ops.push_back({Kind::Circle, PALETTE[2], x + 5, y + 3, 20, 16, 1, nullptr});
                    ops.push_back({Kind::Square, PALETTE[3], x + 13, y + 18, 4, 9, 1, nullptr});
                    break;
                case 1:  // mine
                    ops.push_back({Kind::Circle, PALETTE[1], x + 8, y + 8, 14, 14, 1, nullptr});
                    ops.push_back({Kind::Line, PALETTE[6], x + 4, y + 4, x + 26, y + 26, 0, nullptr});
                    ops.push_back({Kind::Line, PALETTE[6], x + 26, y + 4, x + 4, y + 26, 0, nullptr});
                    break;
                case 2:  // robot
                    ops.push_back({Kind::Circle, PALETTE[7], x + 6, y + 6, 18, 18, 1, nullptr});
                    ops.push_back({Kind::Circle, PALETTE[4], x + 10, y + 10, 4, 4, 0, nullptr});
                    break;
                case 3:  // battery
                    ops.push_back({Kind::Square, PALETTE[5], x + 8, y + 6, 14, 20, 1, nullptr});
                    break;
                default:
                    break;
            }
        }
    for (int i = 0; i <= CELLS; ++i) {
        ops.push_back({Kind::Line, "#808080", i * CELL, 0, i * CELL, BOARD, 0, nullptr});
        ops.push_back({Kind::Line, "#808080", 0, i * CELL, BOARD, i * CELL, 0, nullptr});
    }
    ops.push_back({Kind::Text, "yellow", 250, 300, 0, 0, 0, "<span size='xx-large'><b>GAME OVER</b></span>"});
    ops.push_back({Kind::Text, "white", 260, 360, 0, 0, 0, "<b>Score: 1234</b>"});
    return ops;
}

const std::vector<Op>& workload() {
    static const std::vector<Op> ops = redraw();
    return ops;
}

struct Screen {
    Widget canvas;
    GtkWidget* image;
    GdkPixmap* pixmap;
};
Screen screen;

void settle() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

void toolkit_redraw() {
    for (const Op& op : workload()) switch (op.kind) {
            case Kind::Square: SQUARE(op.colour, op.a, op.b, op.c, op.d, op.fill); break;
            case Kind::Circle: CIRCLE(op.colour, op.a, op.b, op.c, op.d, op.fill); break;
            case Kind::Line: LINE(op.colour, op.a, op.b, op.c, op.d); break;
            case Kind::Text: OUT(op.text, op.colour, "", op.a, op.b); break;
        }
}

// A GDK program keeps its colours parsed (here one per call, in call order) and its own
// context, and queues one redraw.
struct Direct {
    GdkGC* gc;
    std::vector<GdkColor> colours;
};
Direct& direct() {
    static Direct d = [] {
        Direct made{gdk_gc_new(screen.pixmap), {}};
        for (const Op& op : workload()) gdk_color_parse(op.colour, &made.colours.emplace_back());
        return made;
    }();
    return d;
}

void direct_redraw() {
    Direct& d = direct();
    const std::vector<Op>& ops = workload();
    for (size_t i = 0; i < ops.size(); ++i) {
        const Op& op = ops[i];
        GdkColor* colour = &d.colours[i];
        if (op.kind != Kind::Text) gdk_gc_set_rgb_fg_color(d.gc, colour);
        switch (op.kind) {
            case Kind::Square: gdk_draw_rectangle(screen.pixmap, d.gc, op.fill, op.a, op.b, op.c, op.d); break;
            case Kind::Circle: gdk_draw_arc(screen.pixmap, d.gc, op.fill, op.a, op.b, op.c, op.d, 0, 360 * 64); break;
            case Kind::Line: gdk_draw_line(screen.pixmap, d.gc, op.a, op.b, op.c, op.d); break;
            case Kind::Text: {
                PangoLayout* layout = gtk_widget_create_pango_layout(screen.image, nullptr);
                pango_layout_set_markup(layout, op.text, -1);
                gdk_draw_layout_with_colors(screen.pixmap, d.gc, op.a, op.b, layout, colour, nullptr);
                g_object_unref(layout);
                break;
            }
        }
    }
    gtk_widget_queue_draw(screen.image);
}

// The drawing calls alone: what the client does before the X server draws.
void BM_Toolkit(benchmark::State& state) {
    for (auto _ : state) toolkit_redraw();
    settle();
    gdk_flush();
}
void BM_DirectGdk(benchmark::State& state) {
    for (auto _ : state) direct_redraw();
    settle();
    gdk_flush();
}
// The whole redraw: the calls, the X server drawing them, the main loop showing the result.
void BM_ToolkitShown(benchmark::State& state) {
    for (auto _ : state) {
        toolkit_redraw();
        settle();
        gdk_flush();
    }
}
void BM_DirectGdkShown(benchmark::State& state) {
    for (auto _ : state) {
        direct_redraw();
        settle();
        gdk_flush();
    }
}
BENCHMARK(BM_Toolkit)->Unit(benchmark::kMicrosecond)->Repetitions(15);
BENCHMARK(BM_DirectGdk)->Unit(benchmark::kMicrosecond)->Repetitions(15);
BENCHMARK(BM_ToolkitShown)->Unit(benchmark::kMicrosecond)->Repetitions(15);
BENCHMARK(BM_DirectGdkShown)->Unit(benchmark::kMicrosecond)->Repetitions(15);

// Prints the aggregates and keeps the fastest repetition of each variant: the one least
// disturbed by whatever else the machine was doing.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> aggregates;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate) {
                aggregates.push_back(run);
                continue;
            }
            Best& best = fastest[run.run_name.function_name];
            best.real = std::min(best.real, run.GetAdjustedRealTime());
            best.cpu = std::min(best.cpu, run.GetAdjustedCPUTime());
        }
        if (!aggregates.empty()) ConsoleReporter::ReportRuns(aggregates);
    }
    struct Best {
        double real = 1e300, cpu = 1e300;
    };
    std::map<std::string, Best> fastest;
};
}  // namespace

int main(int argc, char** argv) {
    T4K_START(1, argv);
    if (!getenv("DISPLAY")) {
        std::fprintf(stderr, "draw_bench needs a display (set DISPLAY)\n");
        return 1;
    }
    INIT();
    WEXOPTIONS("NOSCALING");
    Widget window = WINDOW("draw_bench", BOARD + 20, BOARD + 20);
    screen.canvas = CANVAS(BOARD, BOARD);
    screen.pixmap = static_cast<GdkPixmap*>(wex::wex_gui_properties.canvas);
    ATTACH(window, screen.canvas, 10, 10);
    screen.image = gtk_bin_get_child(GTK_BIN(screen.canvas));
    for (int i = 0; i < 50; ++i) {
        settle();
        g_usleep(10000);
    }
    // The variants take turns, so that a change of load on the machine meets them all alike.
    std::vector<char*> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("calls per redraw: %zu\n", workload().size());
    auto ratio = [&](const char* a, const char* b) {
        if (reporter.fastest.count(a) && reporter.fastest.count(b))
            std::printf("%s / %s: %.3fx real time, %.3fx CPU time (fastest repetitions)\n", a, b,
                        reporter.fastest[a].real / reporter.fastest[b].real,
                        reporter.fastest[a].cpu / reporter.fastest[b].cpu);
    };
    ratio("BM_Toolkit", "BM_DirectGdk");
    ratio("BM_ToolkitShown", "BM_DirectGdkShown");
    return 0;
}
