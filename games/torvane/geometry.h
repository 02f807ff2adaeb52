// geometry.h: the robot game's window, canvas, grid and side columns in pixels.
#pragma once
#include "games/common/grid.h"
#include "games/torvane/rules.h"

namespace torvane {

constexpr int WINDOW_WIDTH = 960;
constexpr int WINDOW_HEIGHT = 720;
constexpr int CANVAS_X = 120;  // the canvas stands between the two side columns
constexpr int CANVAS_WIDTH = 720;
constexpr int CANVAS_HEIGHT = 720;
constexpr int CELL_PIXELS = 30;

// 24 by 24 cells fill the canvas, with no margin.
constexpr shapes::Grid GRID{.columns = BOARD_SIZE, .rows = BOARD_SIZE, .cell = CELL_PIXELS,
                            .left = 0, .top = 0, .canvas_width = CANVAS_WIDTH, .canvas_height = CANVAS_HEIGHT};

// The text over the board starts here.
constexpr int MESSAGE_X = 30;
constexpr int MESSAGE_Y = 30;

// The labels, gauges and buttons stand in two columns beside the canvas.
constexpr int LEFT_COLUMN_X = 12;
constexpr int RIGHT_COLUMN_X = 852;
constexpr int CONTROL_WIDTH = 96;
constexpr int CONTROL_HEIGHT = 36;
constexpr int CONTROL_GAP = 12;
constexpr int CONTROL_PITCH = CONTROL_HEIGHT + CONTROL_GAP;
constexpr int GAUGE_HEIGHT = 432;
constexpr int GAUGE_ROW = 3;
constexpr int ENERGY_GAUGE_MAXIMUM = 300;  // the energy gauge's top, unless the energy is higher

// The y position of row n of the side columns: from the top for n >= 0, from the bottom
// (-1 the lowest) for n < 0.
constexpr int control_row(int n) {
    return n >= 0 ? CONTROL_GAP + CONTROL_PITCH * n : WINDOW_HEIGHT + CONTROL_PITCH * n;
}

static_assert(control_row(0) == 12 && control_row(3) == 156, "rows from the top");
static_assert(control_row(-1) == 672 && control_row(-2) == 624, "rows from the bottom");
static_assert(GRID.centre_x(23) + CELL_PIXELS / 2 == CANVAS_WIDTH, "the cells fill the canvas");
static_assert(GRID.line_x(23) == 690 && GRID.line_x(24) == CANVAS_WIDTH - 1, "the last line inside the canvas");
static_assert(GRID.col_at(-1) == -1 && GRID.col_at(0) == 0 && GRID.col_at(719) == 23);

}  // namespace torvane
