// draw_bench.cpp: one redraw of a robot-game-sized board through the toolkit's drawing calls
// against the same drawing made with direct GDK calls on the same pixmap, in the same run.
// Needs a display.  The ratios of the medians are printed at the end.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/board_workload.h"

namespace {
using namespace bench;

struct Screen {
    Widget canvas;
    GtkWidget* image;
    GdkPixmap* pixmap;
};
Screen screen;

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
BENCHMARK(BM_Toolkit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirectGdk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToolkitShown)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirectGdkShown)->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv) {
    T4K_START(1, argv);
    if (!getenv("DISPLAY")) {
        std::fprintf(stderr, "draw_bench needs a display (set DISPLAY)\n");
        return 1;
    }
    INIT();
    WEXOPTIONS("NOSCALING");
    screen.canvas = board_canvas("draw_bench");
    screen.pixmap = static_cast<GdkPixmap*>(DRAW(screen.canvas));
    screen.image = gtk_bin_get_child(GTK_BIN(screen.canvas));
    return run_and_compare(argc, argv,
                           {{"draw", "BM_Toolkit", "BM_DirectGdk", Clock::cpu},
                            {"draw-shown", "BM_ToolkitShown", "BM_DirectGdkShown", Clock::real}});
}
