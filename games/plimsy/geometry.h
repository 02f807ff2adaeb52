// geometry.h: the column-clearing game's canvas, grid and control-row geometry in pixels.
#pragma once
#include "games/plimsy/rules.h"

namespace plimsy {

constexpr int WINDOW_WIDTH = 900;
constexpr int WINDOW_HEIGHT = 640;
constexpr int CANVAS_WIDTH = 900;
constexpr int CANVAS_HEIGHT = 600;
constexpr int CELL_PIXELS = 50;
constexpr int GRID_LEFT = 50;  // the grid's top-left corner on the canvas
constexpr int GRID_TOP = 50;
constexpr int GRID_RIGHT = GRID_LEFT + COLUMNS * CELL_PIXELS;  // 850, one past the last cell
constexpr int GRID_BOTTOM = GRID_TOP + ROWS * CELL_PIXELS;     // 550
constexpr int CONTROL_Y = 605;  // the control row under the canvas
constexpr int CONTROL_WIDTH = 90;
constexpr int CONTROL_HEIGHT = 30;
constexpr int CONTROL_GAP = 5;

// These helpers are pure arithmetic, evaluated at compile time where they can be, so they
// keep no string pool of their own.

// The centre of a cell on the canvas.
constexpr int cell_centre_x(int col) { return GRID_LEFT + CELL_PIXELS / 2 + CELL_PIXELS * col; }
constexpr int cell_centre_y(int row) { return GRID_TOP + CELL_PIXELS / 2 + CELL_PIXELS * row; }

// The column or row holding a canvas pixel, or -1 outside the grid (the toolkit reports
// -1 for both coordinates while the pointer is not over the canvas).
constexpr int pixel_to_col(long x) { return x < GRID_LEFT || x >= GRID_RIGHT ? -1 : int((x - GRID_LEFT) / CELL_PIXELS); }
constexpr int pixel_to_row(long y) { return y < GRID_TOP || y >= GRID_BOTTOM ? -1 : int((y - GRID_TOP) / CELL_PIXELS); }

// The x position of slot n of the control row: from the left for n >= 0, from the
// right edge (-1 the rightmost) for n < 0.
constexpr int control_col(int n) {
    constexpr int pitch = CONTROL_WIDTH + CONTROL_GAP;
    return n >= 0 ? CONTROL_GAP + pitch * n : CANVAS_WIDTH + pitch * n;
}

static_assert(cell_centre_x(0) == 75 && cell_centre_y(9) == 525 && cell_centre_x(15) == 825);
static_assert(pixel_to_col(50) == 0 && pixel_to_col(849) == 15 && pixel_to_col(850) == -1 && pixel_to_col(49) == -1);
static_assert(pixel_to_row(50) == 0 && pixel_to_row(549) == 9 && pixel_to_row(550) == -1 && pixel_to_row(-1) == -1);
static_assert(control_col(0) == 5 && control_col(1) == 100 && control_col(2) == 195 && control_col(3) == 290);
static_assert(control_col(-1) == 805 && control_col(-2) == 710);
static_assert(CONTROL_Y + CONTROL_HEIGHT + CONTROL_GAP == WINDOW_HEIGHT, "the control row fills the window");

}  // namespace plimsy
