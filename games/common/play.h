// play.h: what the three games run alike (start-up, a new game, the redraw, the keyboard) over
// the functions each game defines in its rules and board units.
#pragma once
#include <string>

#include "games/common/cursor.h"
#include "wex/wex.h"

// Each game defines these.
void set_start_values();  // rules: the state the program starts with, before the first deal
void init_game();         // rules: a new game's values
void init_board();        // rules: a new board
std::string cell_description(int col, int row);  // rules: what the cell shows, "forest, used once"
void build_window();      // board: the window, its canvas with handle_move, and the controls
void draw_board();        // board: a black fill, then a picture per cell
void draw_grid();         // board: the grid lines over the pictures
void draw_messages();     // board: the texts over both
void update_hud();        // board: the labels (and gauges) that show the counters
void play_cell(int col, int row);  // board: what a click on a cell of the board does, redrawn

// board: what the shared keyboard needs of the game.
struct Keyboard {
    const char* name;          // the game's name, the canvas's accessible name
    const Widget* window;      // where build_window keeps the window and the canvas
    const Widget* canvas;
    shapes::Grid grid;
    const char* cursor_colour;  // stands out on every picture of the game
    bool diagonals;             // whether the cursor also moves diagonally
};
extern const Keyboard KEYBOARD;

// The keyboard cursor; hidden until the first arrow.
extern shapes::Cursor cursor;

// draw_board, draw_grid, the cursor's frame, draw_messages and update_hud, always in this
// order; then the canvas's accessible description follows the cursor.
void redraw();
// The "gtk-new" button's callback and the start-up timer's: a new game and a new board,
// redrawn, the cursor hidden.  It returns 0, so the timer runs it once.
int new_game();
// A click on the canvas at cell (col, row), or off the board: the cursor hides (redrawn when it
// showed) and the next arrow starts from that cell.
void click_hides_cursor(int col, int row);
// From INIT on: the start values, pixel sizes ("NOSCALING"), the window, the keys, the first
// deal 150 ms after the main loop starts, and the main loop, which ends only through QUIT or
// the window.
void run_game();
