// board_workload.h: one redraw of a robot-game-sized board as a list of drawing calls, for the
// drawing benchmarks of each kind of canvas; and the two things they all do with the main loop.
#pragma once
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <initializer_list>
#include <vector>

#include "bench/ratio_reporter.h"
#include "wex/wex.h"

namespace bench {
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
inline std::vector<Op> redraw() {
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

inline const std::vector<Op>& workload() {
    static const std::vector<Op> ops = redraw();
    return ops;
}

// The calls through the toolkit, on its current canvas.
inline void toolkit_redraw() {
    for (const Op& op : workload()) switch (op.kind) {
            case Kind::Square: SQUARE(op.colour, op.a, op.b, op.c, op.d, op.fill); break;
            case Kind::Circle: CIRCLE(op.colour, op.a, op.b, op.c, op.d, op.fill); break;
            case Kind::Line: LINE(op.colour, op.a, op.b, op.c, op.d); break;
            case Kind::Text: OUT(op.text, op.colour, "", op.a, op.b); break;
        }
}

inline void settle() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

// A window with one canvas of the board's size, of the kind WEXOPTIONS chose, on screen.
inline Widget board_canvas(const char* title) {
    Widget window = WINDOW(title, BOARD + 20, BOARD + 20);
    Widget canvas = CANVAS(BOARD, BOARD);
    ATTACH(window, canvas, 10, 10);
    for (int i = 0; i < 50; ++i) {
        settle();
        g_usleep(10000);
    }
    return canvas;
}

/* Runs the benchmarks named on the command line, the variants taking turns so that a change of
 * load on the machine meets them all alike, and prints one ratio line per pair: the medians of
 * the first's repetitions over the second's.  The drawing calls alone are compared in CPU time;
 * a redraw shown on screen in real time, since the X server and the main loop do part of it. */
struct Pair {
    const char* row;
    const char* measured;
    const char* baseline;
    Clock clock;
};
inline int run_and_compare(int argc, char** argv, std::initializer_list<Pair> pairs) {
    std::printf("calls per redraw: %zu\n", workload().size());
    std::vector<Comparison> rows;
    for (const Pair& p : pairs) rows.push_back({p.row, p.measured, p.baseline, false, p.clock});
    RatioReporter reporter(rows);
    return run_with_ratios(argc, argv, reporter);
}
}  // namespace bench
