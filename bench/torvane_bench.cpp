// torvane_bench.cpp: the robot game's full redraw through the toolkit against the same
// drawing made straight with GDK and GTK calls.
//
// The game's own board unit is compiled into this program (its main renamed), so the
// toolkit side measures exactly the code the game runs.  Run on an X display:
//   DISPLAY=:N build/bench/torvane_bench
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

#include "bench/ratio_reporter.h"

// The game's main ends in DISPLAY(), which never returns; renamed, it is never called.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wreturn-type"
#define main torvane_main
#include "games/torvane/board.cpp"
#include "games/torvane/rules.cpp"
#undef main
#pragma GCC diagnostic pop

namespace {

/* The direct side: its own window with a pixmap-backed image, three labels and two scales,
   drawn with the same pictures and colours as the game.  It runs in two ways: per call, as
   the toolkit's recipe says (each shape parses its colour and queues a redraw of the image),
   and as a hand-written GDK program would (colours parsed once, one queued redraw). */
struct Direct {
    GdkPixmap* pixmap;
    GdkGC* gc;
    GtkWidget* image;
    GtkWidget* labels[3];
    GtkWidget* gauges[2];
    bool per_call;
    GdkColor parsed[std::size(PALETTE)];
};
Direct direct;

void set_colour(Colour c) {
    if (direct.per_call) gdk_color_parse(PALETTE[c], &direct.parsed[c]);
    gdk_gc_set_rgb_fg_color(direct.gc, &direct.parsed[c]);
}

void queue_per_call() {
    if (direct.per_call) gtk_widget_queue_draw(direct.image);
}

void direct_picture(Picture p, int x, int y) {
    for (const Stroke& s : p) {
        set_colour(Colour(s.colour));
        int cx = x + s.dx, cy = y + s.dy;
        if (s.shape == center_square)
            gdk_draw_rectangle(direct.pixmap, direct.gc, s.fill, cx - s.hx, cy - s.hy, 2 * s.hx, 2 * s.hy);
        else if (s.shape == center_circle)
            gdk_draw_arc(direct.pixmap, direct.gc, s.fill, cx - s.hx, cy - s.hy, 2 * s.hx, 2 * s.hy, 0, 360 * 64);
        else
            gdk_draw_line(direct.pixmap, direct.gc, cx - s.hx, cy - s.hy, cx + s.hx, cy + s.hy);
        queue_per_call();
    }
}

constexpr Picture DIRECT_PICTURES[] = {{}, TREE_PICTURE, MINE_PICTURE, BATTERY_PICTURE, CRATER_PICTURE};

void direct_redraw() {
    set_colour(BLACK);
    gdk_draw_rectangle(direct.pixmap, direct.gc, TRUE, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    queue_per_call();
    for (int row = 0; row < BOARD_SIZE; row++)
        for (int col = 0; col < BOARD_SIZE; col++)
            if (board[row][col] != CELL_FREE)
                direct_picture(DIRECT_PICTURES[board[row][col]], GRID.centre_x(col), GRID.centre_y(row));
    for (int i = 0; i < ROBOT_COUNT; i++)
        if (robot_alive(i)) direct_picture(ROBOT_PICTURE, GRID.centre_x(robots[i].col), GRID.centre_y(robots[i].row));
    for (int v = 0; v <= CANVAS_WIDTH; v += CELL_PIXELS) {
        set_colour(GRID_GREY);
        gdk_draw_line(direct.pixmap, direct.gc, v, 0, v, CANVAS_HEIGHT);
        queue_per_call();
    }
    for (int v = 0; v <= CANVAS_WIDTH; v += CELL_PIXELS) {
        set_colour(GRID_GREY);
        gdk_draw_line(direct.pixmap, direct.gc, 0, v, CANVAS_WIDTH, v);
        queue_per_call();
    }
    if (game_over() || level_complete) {
        Colour c = game_over() ? GAME_OVER_GOLD : LEVEL_YELLOW;
        set_colour(c);
        PangoLayout* layout = gtk_widget_create_pango_layout(direct.image, nullptr);
        pango_layout_set_markup(layout,
                                game_over() ? "<span font='50px'><b>GAME OVER</b></span>"
                                            : "<span font='50px'><b>Level complete</b></span>",
                                -1);
        gdk_draw_layout_with_colors(direct.pixmap, direct.gc, 30, 30, layout, &direct.parsed[c], nullptr);
        g_object_unref(layout);
    }
    gtk_widget_queue_draw(direct.image);
    gtk_range_set_value(GTK_RANGE(direct.gauges[0]), energy);
    gtk_range_set_value(GTK_RANGE(direct.gauges[1]), batt_count);
    const int32_t values[] = {score, level, high_score};
    for (int n = 0; n < 3; n++) {
        char markup[32];
        std::snprintf(markup, sizeof markup, "<b>%d</b>", values[n]);
        gtk_label_set_markup(GTK_LABEL(direct.labels[n]), markup);
    }
}

void build_direct_window() {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget* fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(window), fixed);
    direct.pixmap = gdk_pixmap_new(gdk_get_default_root_window(), CANVAS_WIDTH, CANVAS_HEIGHT, -1);
    direct.gc = gdk_gc_new(direct.pixmap);
    direct.image = gtk_image_new_from_pixmap(direct.pixmap, nullptr);
    gtk_fixed_put(GTK_FIXED(fixed), direct.image, CANVAS_X, 0);
    for (int n = 0; n < 3; n++) {
        direct.labels[n] = gtk_label_new(nullptr);
        gtk_fixed_put(GTK_FIXED(fixed), direct.labels[n], LEFT_COLUMN_X, control_row(n));
    }
    for (int n = 0; n < 2; n++) {
        direct.gauges[n] = gtk_vscale_new_with_range(0, n == 0 ? 300 : ITEMS_PER_KIND, 1);
        gtk_widget_set_size_request(direct.gauges[n], CONTROL_WIDTH, GAUGE_HEIGHT);
        gtk_widget_set_sensitive(direct.gauges[n], FALSE);
        gtk_fixed_put(GTK_FIXED(fixed), direct.gauges[n], n == 0 ? LEFT_COLUMN_X : RIGHT_COLUMN_X,
                      control_row(GAUGE_ROW));
    }
    for (std::size_t c = 0; c < std::size(PALETTE); c++) gdk_color_parse(PALETTE[c], &direct.parsed[c]);
    gtk_widget_show_all(window);
}

// Both sides draw the same dealt board; the labels' values change each time, as in play.
void deal() {
    srandom(1);
    init_game();
    init_board();
}

void settle() {
    while (gtk_events_pending()) gtk_main_iteration();
}

void BM_ToolkitRedraw(benchmark::State& state) {
    deal();
    for (auto _ : state) {
        score++;
        redraw();
    }
    settle();
}
BENCHMARK(BM_ToolkitRedraw);

// range(0): 1 parses each colour and queues a redraw per call, 0 does both once.
void BM_DirectGdkRedraw(benchmark::State& state) {
    deal();
    direct.per_call = state.range(0);
    for (auto _ : state) {
        score++;
        direct_redraw();
    }
    settle();
}
BENCHMARK(BM_DirectGdkRedraw)->ArgName("per_call")->Arg(1)->Arg(0);

// The same with the main loop run after each redraw, so the screen is painted too.
void BM_ToolkitRedrawAndPaint(benchmark::State& state) {
    deal();
    for (auto _ : state) {
        score++;
        redraw();
        settle();
    }
}
BENCHMARK(BM_ToolkitRedrawAndPaint);

void BM_DirectGdkRedrawAndPaint(benchmark::State& state) {
    deal();
    direct.per_call = state.range(0);
    for (auto _ : state) {
        score++;
        direct_redraw();
        settle();
    }
}
BENCHMARK(BM_DirectGdkRedrawAndPaint)->ArgName("per_call")->Arg(1)->Arg(0);

}  // namespace

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    INIT();
    set_start_values();
    WEXOPTIONS("NOSCALING");
    build_window();
    build_direct_window();
    settle();
    using bench::Clock;
    bench::RatioReporter reporter({
        {"torvane-redraw", "BM_ToolkitRedraw", "BM_DirectGdkRedraw/per_call:0", false, Clock::cpu},
        {"torvane-redraw-recipe", "BM_ToolkitRedraw", "BM_DirectGdkRedraw/per_call:1", false, Clock::cpu},
        {"torvane-redraw-shown", "BM_ToolkitRedrawAndPaint", "BM_DirectGdkRedrawAndPaint/per_call:0", false,
         Clock::real},
    });
    return bench::run_with_ratios(argc, argv, reporter);
}
