// screen.h: plimsy as the screen shows it: where things are, the pieces and the selection read
// from the canvas, and the board a removal leaves.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/x11_session.h"

namespace plimsy_screen {

using e2e::Image;
using e2e::Rgb;

// The window as a player sees it, in window pixels (the canvas sits at the window's origin).
constexpr int WINDOW_WIDTH = 900, WINDOW_HEIGHT = 640;
constexpr int CANVAS_WIDTH = 900, CANVAS_HEIGHT = 600;
constexpr int COLUMNS = 16, ROWS = 10, CELL = 50, GRID = 50;
constexpr int NEW_BUTTON_X = 710 + 45, QUIT_BUTTON_X = 805 + 45, BUTTON_Y = 605 + 15;

constexpr int centre_x(int col) { return GRID + CELL / 2 + CELL * col; }
constexpr int centre_y(int row) { return GRID + CELL / 2 + CELL * row; }

constexpr Rgb BLUE{0, 0, 255};
constexpr Rgb ORANGE{255, 165, 0};

/* Each piece shows a colour of its own at a fixed offset from its cell's centre: the
   robot's grey body and the flower's green stem at the centre, the bee's yellow body
   there too, the ladybug's red shell 10 pixels to the right of its black stripe, the
   cloud's middle cyan drop 16 pixels below the centre.  No other piece has that colour
   at that place, and an empty cell has none of them. */
struct Probe {
    char kind;
    int dx, dy;
    Rgb colour;
};
inline constexpr Probe PROBES[] = {
    {'R', 0, 0, {128, 128, 128}}, {'F', 0, 0, {0, 128, 0}},   {'B', 0, 0, {255, 255, 0}},
    {'L', 10, 0, {255, 0, 0}},    {'C', 0, 16, {0, 255, 255}},
};

// The selection square fills the cell; its lower right corner is clear of every picture.
constexpr int SELECTION_DX = 20, SELECTION_DY = 20;

using Board = std::vector<std::string>;  // [row][col], '.' for an empty cell
using Cells = std::vector<std::array<int, 2>>;

inline Board kinds_of(const Image& canvas) {
    Board board(ROWS, std::string(COLUMNS, '.'));
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++)
            for (const Probe& p : PROBES)
                if (canvas.at(centre_x(col) + p.dx, centre_y(row) + p.dy) == p.colour) board[row][col] = p.kind;
    return board;
}

inline bool selected(const Image& canvas, int col, int row) {
    return canvas.at(centre_x(col) + SELECTION_DX, centre_y(row) + SELECTION_DY) == BLUE;
}

inline int selected_count(const Image& canvas) {
    int n = 0;
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++) n += selected(canvas, col, row);
    return n;
}

inline bool full(const Board& board) {
    for (const std::string& line : board)
        if (line.find('.') != std::string::npos) return false;
    return true;
}

// Orange glyphs of the line under the grid, where the selection is described.
inline int selection_text_pixels(const Image& canvas) { return canvas.count(ORANGE, 0, 560, 500, CANVAS_HEIGHT - 560); }
inline int robots_text_pixels(const Image& canvas) { return canvas.count(ORANGE, 0, 0, 500, 45); }

inline Cells group_of(const Board& board, int col, int row) {
    Cells found{{col, row}};
    std::vector<std::string> seen(ROWS, std::string(COLUMNS, 0));
    seen[row][col] = 1;
    for (size_t i = 0; i < found.size(); i++) {
        const auto [c, r] = found[i];
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (auto [dc, dr] : steps) {
            const int nc = c + dc, nr = r + dr;
            if (nc < 0 || nc >= COLUMNS || nr < 0 || nr >= ROWS || seen[nr][nc]) continue;
            if (board[nr][nc] != board[row][col]) continue;
            seen[nr][nc] = 1;
            found.push_back({nc, nr});
        }
    }
    return found;
}

// The first piece (in reading order) whose group is `wanted`: of two or more, or alone.
inline std::optional<std::array<int, 2>> find_piece(const Board& board, bool in_group) {
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++)
            if (board[row][col] != '.' && (group_of(board, col, row).size() > 1) == in_group)
                return std::array<int, 2>{col, row};
    return std::nullopt;
}

// The board after a group is removed: each column's rest packed at the bottom in order,
// the columns that still hold pieces packed at the left in order.
inline Board after_removal(Board board, const Cells& group) {
    for (auto [col, row] : group) board[row][col] = '.';
    std::vector<std::string> columns;
    for (int col = 0; col < COLUMNS; col++) {
        std::string pieces;
        for (int row = 0; row < ROWS; row++)
            if (board[row][col] != '.') pieces += board[row][col];
        if (!pieces.empty()) columns.push_back(std::string(ROWS - pieces.size(), '.') + pieces);
    }
    columns.resize(COLUMNS, std::string(ROWS, '.'));
    Board result(ROWS, std::string(COLUMNS, '.'));
    for (int col = 0; col < COLUMNS; col++)
        for (int row = 0; row < ROWS; row++) result[row][col] = columns[col][row];
    return result;
}

inline std::string text(const Board& board) {
    std::string all;
    for (const std::string& line : board) all += line + "\n";
    return all;
}

}  // namespace plimsy_screen
