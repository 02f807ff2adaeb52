// grid.h: where a board's cells and grid lines lie on the canvas, and which cell holds a pixel.
#pragma once
#include <algorithm>

namespace shapes {

// A board of columns x rows square cells on a canvas, the first cell's top-left corner at
// canvas pixel (left, top).  Pure arithmetic, evaluated at compile time where it can be.
struct Grid {
    int columns, rows;
    int cell;                         // a cell's side in pixels
    int left, top;
    int canvas_width, canvas_height;  // of the canvas it lies on

    constexpr int centre_x(int col) const { return left + cell / 2 + cell * col; }
    constexpr int centre_y(int row) const { return top + cell / 2 + cell * row; }

    // Grid line n, 0 to columns (or rows).  A line that would fall just past the canvas, where a
    // grid fills it, is drawn on the canvas's last pixel instead, so that the board is framed.
    constexpr int line_x(int n) const { return std::min(left + cell * n, canvas_width - 1); }
    constexpr int line_y(int n) const { return std::min(top + cell * n, canvas_height - 1); }

    // The column (row) that holds canvas pixel x (y): -1 before the grid, columns (rows) or more
    // past it.  The toolkit reports -1 while it knows no pointer position over the canvas.
    constexpr int col_at(long x) const { return x < left ? -1 : static_cast<int>((x - left) / cell); }
    constexpr int row_at(long y) const { return y < top ? -1 : static_cast<int>((y - top) / cell); }

    constexpr bool contains(int col, int row) const { return col >= 0 && col < columns && row >= 0 && row < rows; }
};

// The grid's lines in one colour: the vertical ones left to right, then the horizontal ones
// top down, each from the grid's first line to its last.
void draw_grid_lines(const Grid& grid, const char* colour);

}  // namespace shapes
