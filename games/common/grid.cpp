// grid.cpp: drawing a board's grid lines.
#include "games/common/grid.h"

#include "wex/wex.h"

void shapes::draw_grid_lines(const Grid& grid, const char* colour) {
    T4K_FUNCTION(draw_grid_lines);
    const int top = grid.line_y(0), bottom = grid.line_y(grid.rows);
    const int left = grid.line_x(0), right = grid.line_x(grid.columns);
    for (int n = 0; n <= grid.columns; n++) LINE(colour, grid.line_x(n), top, grid.line_x(n), bottom);
    for (int n = 0; n <= grid.rows; n++) LINE(colour, left, grid.line_y(n), right, grid.line_y(n));
}
