// play.h: what the three games run alike (start-up, a new game, the redraw) over the functions
// each game defines in its rules and board units.
#pragma once

// Each game defines these.
void set_start_values();  // rules: the state the program starts with, before the first deal
void init_game();         // rules: a new game's values
void init_board();        // rules: a new board
void build_window();      // board: the window, its canvas with handle_move, and the controls
void draw_board();        // board: a black fill, then a picture per cell
void draw_grid();         // board: the grid lines over the pictures
void draw_messages();     // board: the texts over both
void update_hud();        // board: the labels (and gauges) that show the counters

// draw_board, draw_grid, draw_messages and update_hud, always in this order.
void redraw();
// The "gtk-new" button's callback and the start-up timer's: a new game and a new board,
// redrawn.  It returns 0, so the timer runs it once.
int new_game();
// From INIT on: the start values, pixel sizes ("NOSCALING"), the window, the first deal 150 ms
// after the main loop starts, and the main loop, which ends only through QUIT or the window.
void run_game();
