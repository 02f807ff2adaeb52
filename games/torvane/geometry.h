// geometry.h: the robot game's board and window geometry and its cell/pixel conversions.
#pragma once

constexpr int CELL_PIXELS = 30;
constexpr int CANVAS_PIXELS = 720;        // 24 cells of 30 pixels, no margin
constexpr int WINDOW_WIDTH = 960;
constexpr int WINDOW_HEIGHT = 720;
constexpr int CANVAS_X = 120;             // the canvas sits between the two side columns
constexpr int LEFT_COLUMN_X = 12;
constexpr int RIGHT_COLUMN_X = 852;
constexpr int CONTROL_WIDTH = 96;
constexpr int CONTROL_HEIGHT = 36;
constexpr int CONTROL_GAP = 12;
constexpr int CONTROL_PITCH = CONTROL_HEIGHT + CONTROL_GAP;
constexpr int GAUGE_HEIGHT = 432;

// The helpers below are pure arithmetic, evaluated at compile time where they can be; being
// constexpr they keep no string pool of their own.

// The pixel at the centre of cell n, in either direction.
constexpr int cell_centre(int n) { return CELL_PIXELS / 2 + CELL_PIXELS * n; }

// Grid line n, from 0 on the left or top edge to 24 on the right or bottom one.  The cells fill
// the canvas, so the line after the last cell would lie one pixel outside it: that one is drawn
// on the canvas's last pixel instead, over the cells' edge, and the board is framed all round.
constexpr int grid_line(int n) { return n * CELL_PIXELS < CANVAS_PIXELS ? n * CELL_PIXELS : CANVAS_PIXELS - 1; }

// The cell holding canvas pixel p, in either direction; -1 for a negative position, which
// the toolkit reports while it knows no pointer position over the canvas.
constexpr int pixel_to_cell(long p) { return p < 0 ? -1 : static_cast<int>(p / CELL_PIXELS); }

// The y position of row n of the side columns: from the top for n >= 0, from the bottom
// (-1 the lowest) for n < 0.
constexpr int control_row(int n) {
    return n >= 0 ? CONTROL_GAP + CONTROL_PITCH * n : WINDOW_HEIGHT + CONTROL_PITCH * n;
}
static_assert(control_row(0) == 12 && control_row(3) == 156, "rows from the top");
static_assert(control_row(-1) == 672 && control_row(-2) == 624, "rows from the bottom");
static_assert(cell_centre(23) + CELL_PIXELS / 2 == CANVAS_PIXELS, "the cells fill the canvas");
static_assert(grid_line(23) == 690 && grid_line(24) == CANVAS_PIXELS - 1, "the last line inside the canvas");
