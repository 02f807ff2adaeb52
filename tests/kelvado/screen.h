// screen.h: kelvado as the screen shows it: where things are and what each cell shows.
#pragma once
#include "tests/support/x11_session.h"

namespace kelvado_screen {

using e2e::Image;
using e2e::Rgb;

// Where things are, in window pixels; the board in canvas pixels.
inline namespace layout {
constexpr int WINDOW_WIDTH = 800, WINDOW_HEIGHT = 600;
constexpr int CANVAS_LEFT = 100;
constexpr int CANVAS_SIZE = 600;
constexpr int GRID_START = 50, CELL = 50, CELLS = 10;
constexpr int LABEL_WIDTH = 80, LABEL_HEIGHT = 30;
constexpr int LEFT_LABELS_X = 10, RIGHT_LABELS_X = 710;
constexpr int TIME_LABEL_Y = 40, FOLK_LABEL_Y = 100, FOOD_LABEL_Y = 160, WOOD_LABEL_Y = 220;
constexpr int EXPLORED_LABEL_Y = 40, MOVES_LABEL_Y = 100;
constexpr int NEW_BUTTON_X = 710, NEW_BUTTON_Y = 520, QUIT_BUTTON_X = 710, QUIT_BUTTON_Y = 560;
constexpr Rgb GRID{0xcc, 0xcc, 0xcc};
}  // namespace layout

constexpr int centre(int index) { return GRID_START + CELL / 2 + CELL * index; }

// The text overlay: drawn from (10, 10) of the canvas, 25 pixels high for a message and 50 for
// the end of the game, where it reaches over the first row of cells.
constexpr int OVERLAY_LEFT = 10, OVERLAY_TOP = 10, OVERLAY_WIDTH = 580, OVERLAY_HEIGHT = 70;
inline int overlay_yellow(const Image& canvas) {
    return canvas.count(e2e::YELLOW, OVERLAY_LEFT, OVERLAY_TOP, OVERLAY_WIDTH, OVERLAY_HEIGHT);
}

// The hourglass: its top and bottom bars and the crossing of its diagonals, all white.
inline bool shows_hourglass(const Image& canvas, int col, int row) {
    const int x = centre(col), y = centre(row);
    for (int dx = -11; dx <= 11; dx++)
        if (canvas.at(x + dx, y - 16) != e2e::WHITE || canvas.at(x + dx, y + 16) != e2e::WHITE) return false;
    return canvas.at(x, y) == e2e::WHITE;
}

inline int hourglasses(const Image& canvas) {
    int n = 0;
    for (int i = 0; i < CELLS * CELLS; i++) n += shows_hourglass(canvas, i % CELLS, i / CELLS);
    return n;
}

inline bool is_fresh_board(const Image& canvas) {
    return canvas.at(25, 25) == e2e::BLACK && canvas.at(575, 575) == e2e::BLACK && hourglasses(canvas) == 100;
}

// What a cell shows: the tile kinds as the rules number them, after HIDDEN; UNCLEAR for a picture
// that is none of them.
enum Shown { HIDDEN = -1, EMPTY = 0, MOUNTAIN, FOREST, LAKE, VILLAGE, RUBBLE, UNCLEAR };

/* Each picture has a colour of its own at the cell's centre: the mountain's grey, the forest's
   green crown, the lake's cyan shore, the village's red roof, the hourglass's white crossing.
   Rubble and an empty cell are black there; rubble's largest stone lies 12 pixels right of and
   below the centre. */
inline Shown shown_at(const Image& canvas, int col, int row) {
    constexpr Rgb ROCK{211, 211, 211}, LEAVES{0, 128, 0}, SHALLOWS{0, 255, 255}, ROOF{255, 0, 0}, BARK{165, 42, 42};
    const int x = centre(col), y = centre(row);
    const Rgb middle = canvas.at(x, y);
    if (middle == e2e::WHITE) return shows_hourglass(canvas, col, row) ? HIDDEN : UNCLEAR;
    if (middle == ROCK) return MOUNTAIN;
    if (middle == LEAVES) return FOREST;
    if (middle == SHALLOWS) return LAKE;
    if (middle == ROOF) return VILLAGE;
    if (middle != e2e::BLACK) return UNCLEAR;
    const Rgb stone = canvas.at(x + 12, y + 12);
    return stone == BARK ? RUBBLE : stone == e2e::BLACK ? EMPTY : UNCLEAR;
}

}  // namespace kelvado_screen
