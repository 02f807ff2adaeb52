// cursor.h: the keyboard cursor the three games share: what each key means, where the cursor
// stands on a board, and its frame on the canvas.
#pragma once
#include "games/common/grid.h"

namespace shapes {

enum class KeyAction { NONE, MOVE, ACT, NEW_GAME, QUIT };

// What a key does: a move of the cursor by (dx, dy), an action on its cell, or a command.
struct KeyMeaning {
    KeyAction action;
    int dx, dy;
};

// The meaning of a GDK key value with its modifier state (wex's KEYSTATE): the arrows and the
// keypad's arrows move; the diagonal keys (keypad 7, 9, 1, 3, Home, Page Up, End, Page Down)
// move only where `diagonals` allows; Space, Return and the keypad's Enter act; Ctrl+N and
// Ctrl+Q are the commands.  Every other key means nothing.
KeyMeaning key_meaning(int key, int modifiers, bool diagonals);

struct Cursor {
    bool shown = false;
    int col = -1, row = -1;                  // where it stands while shown
    int clicked_col = -1, clicked_row = -1;  // the cell last clicked on the board, -1 before any
};

// An arrow's press: the first shows the cursor on the cell last clicked, or else on the board's
// centre cell; later ones move it one cell, and it stops at the board's edges.
void move_cursor(Cursor& cursor, const Grid& grid, int dx, int dy);

// A click on the canvas at cell (col, row) of the grid, or off it: hides the cursor and
// remembers a cell of the board for the next arrow.
void click_cursor(Cursor& cursor, const Grid& grid, int col, int row);

// The cursor's frame, two pixels wide and two pixels inside its cell's grid lines; nothing
// while it is hidden.
void draw_cursor_frame(const Cursor& cursor, const Grid& grid, const char* colour);

}  // namespace shapes
