// goo_draw_bench.cpp: one redraw of a robot-game-sized board on a GooCanvas canvas through the
// toolkit's drawing calls, against the same items made by direct GooCanvas calls on the same
// canvas, in the same run.  Each redraw starts from an empty canvas (a new root group, outside
// the timing) and ends with the items laid out (goo_canvas_update); the "Shown" variants also
// let the main loop paint them.  Needs a display; built where GooCanvas was built from its
// tarball, and linked to it, so the toolkit finds it as it is.  The ratios of the medians are
// printed at the end.
#include <benchmark/benchmark.h>
#include <goocanvas.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/board_workload.h"

namespace {
using namespace bench;

GooCanvas* canvas;
PangoFontDescription* font;  // the canvas's font, which the toolkit's text uses too

// A GooCanvas program makes each item with its properties in one call.  Text is anchored at its
// top-left corner, which is where the toolkit's text ends up.
GooCanvasItem* direct_item(GooCanvasItem* root, const Op& op) {
    const double line = 1.0;
    switch (op.kind) {
        case Kind::Square:
            if (op.fill)
                return goo_canvas_rect_new(root, op.a, op.b, op.c, op.d, "stroke-color", op.colour, "fill-color",
                                           op.colour, nullptr);
            return goo_canvas_rect_new(root, op.a, op.b, op.c, op.d, "stroke-color", op.colour, "line-width", line,
                                       nullptr);
        case Kind::Circle: {
            const int rx = op.c / 2, ry = op.d / 2;
            if (op.fill)
                return goo_canvas_ellipse_new(root, op.a + rx, op.b + ry, rx, ry, "stroke-color", op.colour,
                                              "fill-color", op.colour, nullptr);
            return goo_canvas_ellipse_new(root, op.a + rx, op.b + ry, rx, ry, "stroke-color", op.colour,
                                          "line-width", line, nullptr);
        }
        case Kind::Line:
            return goo_canvas_polyline_new_line(root, op.a, op.b, op.c, op.d, "stroke-color", op.colour, "line-width",
                                                line, nullptr);
        case Kind::Text:
            return goo_canvas_text_new(root, op.text, op.a, op.b, -1, GTK_ANCHOR_NW, "use-markup", TRUE,
                                       "fill-color", op.colour, "font-desc", font, nullptr);
    }
    return nullptr;
}

void direct_redraw() {
    GooCanvasItem* root = goo_canvas_get_root_item(canvas);
    for (const Op& op : workload()) direct_item(root, op);
}

// An empty canvas for the next redraw: the items of the last one go with their root.
void empty_canvas(benchmark::State& state) {
    state.PauseTiming();
    GooCanvasItem* root = goo_canvas_group_new(nullptr, nullptr);
    goo_canvas_set_root_item(canvas, root);
    g_object_unref(root);
    settle();
    state.ResumeTiming();
}

template <void (*Redraw)(), bool shown> void redraw(benchmark::State& state) {
    for (auto _ : state) {
        empty_canvas(state);
        Redraw();
        goo_canvas_update(canvas);
        if (shown) {
            settle();
            gdk_flush();
        }
    }
}
BENCHMARK(redraw<toolkit_redraw, false>)->Name("BM_Toolkit")->Unit(benchmark::kMillisecond);
BENCHMARK(redraw<direct_redraw, false>)->Name("BM_DirectGoo")->Unit(benchmark::kMillisecond);
BENCHMARK(redraw<toolkit_redraw, true>)->Name("BM_ToolkitShown")->Unit(benchmark::kMillisecond);
BENCHMARK(redraw<direct_redraw, true>)->Name("BM_DirectGooShown")->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    T4K_START(1, argv);
    if (!getenv("DISPLAY")) {
        std::fprintf(stderr, "goo_draw_bench needs a display (set DISPLAY)\n");
        return 1;
    }
    INIT();
    WEXOPTIONS("NOSCALING");
    WEXOPTIONS("CANVAS GOO");
    if (WEX_CANVAS_TYPE != 2) {
        std::fprintf(stderr, "goo_draw_bench found no GooCanvas\n");
        return 1;
    }
    canvas = static_cast<GooCanvas*>(DRAW(board_canvas("goo_draw_bench")));
    font = GTK_WIDGET(canvas)->style->font_desc;
    return run_and_compare(argc, argv,
                           {{"goo-draw", "BM_Toolkit", "BM_DirectGoo", Clock::cpu},
                            {"goo-draw-shown", "BM_ToolkitShown", "BM_DirectGooShown", Clock::real}});
}
