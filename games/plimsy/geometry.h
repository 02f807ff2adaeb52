// geometry.h: the column-clearing game's window, canvas, grid and control row in pixels.
#pragma once
#include "games/plimsy/rules.h"
#include "games/common/grid.h"

namespace plimsy {

constexpr int WINDOW_WIDTH = 900;
constexpr int WINDOW_HEIGHT = 640;
constexpr int CANVAS_WIDTH = 900;  // the canvas fills the window above the control row
constexpr int CANVAS_HEIGHT = 600;
constexpr int CELL_PIXELS = 50;

// Sixteen by ten cells inside a 50-pixel margin of the canvas.
constexpr shapes::Grid GRID{.columns = COLUMNS, .rows = ROWS, .cell = CELL_PIXELS,
                            .left = 50, .top = 50, .canvas_width = CANVAS_WIDTH, .canvas_height = CANVAS_HEIGHT};

// The two text lines over the board: the robots or the win at the top, the selection at the bottom.
constexpr int MESSAGE_X = 5;
constexpr int MESSAGE_Y = 5;
constexpr int SELECTION_Y = 570;

// The labels and buttons stand in one row under the canvas.
constexpr int CONTROL_Y = 605;
constexpr int CONTROL_WIDTH = 90;
constexpr int CONTROL_HEIGHT = 30;
constexpr int CONTROL_GAP = 5;

// The x position of slot n of the control row: from the left for n >= 0, from the right edge
// (-1 the rightmost) for n < 0.
constexpr int control_col(int n) {
    constexpr int pitch = CONTROL_WIDTH + CONTROL_GAP;
    return n >= 0 ? CONTROL_GAP + pitch * n : CANVAS_WIDTH + pitch * n;
}

static_assert(GRID.centre_x(0) == 75 && GRID.centre_y(9) == 525 && GRID.centre_x(15) == 825);
static_assert(GRID.line_x(COLUMNS) == 850 && GRID.line_y(ROWS) == 550, "the grid inside the margin");
static_assert(GRID.col_at(49) == -1 && GRID.col_at(50) == 0 && GRID.col_at(849) == 15 && GRID.col_at(850) == 16);
static_assert(control_col(0) == 5 && control_col(1) == 100 && control_col(2) == 195 && control_col(3) == 290);
static_assert(control_col(-1) == 805 && control_col(-2) == 710);
static_assert(CONTROL_Y + CONTROL_HEIGHT + CONTROL_GAP == WINDOW_HEIGHT, "the control row fills the window");

}  // namespace plimsy
