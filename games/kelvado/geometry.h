// geometry.h: the exploration game's window, canvas, grid and side columns in pixels.
#pragma once
#include "games/kelvado/rules.h"
#include "games/common/grid.h"

namespace kelvado {

constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 600;
constexpr int CANVAS_X = 100;  // the canvas stands between the two side columns
constexpr int CANVAS_WIDTH = 600;
constexpr int CANVAS_HEIGHT = 600;
constexpr int CELL_PIXELS = 50;

// Ten by ten cells inside a 50-pixel margin of the canvas.
constexpr shapes::Grid GRID{.columns = BOARD_SIZE, .rows = BOARD_SIZE, .cell = CELL_PIXELS,
                            .left = 50, .top = 50, .canvas_width = CANVAS_WIDTH, .canvas_height = CANVAS_HEIGHT};

// The text over the board starts here.
constexpr int MESSAGE_X = 10;
constexpr int MESSAGE_Y = 10;

// The labels and buttons stand in two columns beside the canvas.
constexpr int LEFT_COLUMN_X = 10;
constexpr int RIGHT_COLUMN_X = 710;
constexpr int CONTROL_WIDTH = 80;
constexpr int CONTROL_HEIGHT = 30;

static_assert(GRID.centre_x(0) == 75 && GRID.centre_y(9) == 525);
static_assert(GRID.line_x(0) == 50 && GRID.line_y(BOARD_SIZE) == 550, "the grid inside the margin");
static_assert(GRID.col_at(49) == -1 && GRID.col_at(50) == 0 && GRID.col_at(549) == 9 && GRID.col_at(550) == 10);
static_assert(RIGHT_COLUMN_X >= CANVAS_X + CANVAS_WIDTH, "the right column stands beside the canvas");

}  // namespace kelvado
