// cursor.cpp: the games' key table, the cursor's moves and its frame.
#include "games/common/cursor.h"

#include <algorithm>

#include "wex/wex.h"

namespace {

using shapes::KeyAction;

struct KeyEntry {
    int key;
    KeyAction action;
    int dx, dy;
    bool diagonal;  // a move only games with diagonal moves take
    bool control;   // only with Ctrl held
};

constexpr KeyEntry KEYS[] = {
    {WEX_KEY_LEFT, KeyAction::MOVE, -1, 0, false, false},
    {WEX_KEY_RIGHT, KeyAction::MOVE, 1, 0, false, false},
    {WEX_KEY_UP, KeyAction::MOVE, 0, -1, false, false},
    {WEX_KEY_DOWN, KeyAction::MOVE, 0, 1, false, false},
    {WEX_KEY_KP_LEFT, KeyAction::MOVE, -1, 0, false, false},
    {WEX_KEY_KP_RIGHT, KeyAction::MOVE, 1, 0, false, false},
    {WEX_KEY_KP_UP, KeyAction::MOVE, 0, -1, false, false},
    {WEX_KEY_KP_DOWN, KeyAction::MOVE, 0, 1, false, false},
    {WEX_KEY_KP_4, KeyAction::MOVE, -1, 0, false, false},  // the keypad's digits, Num Lock on
    {WEX_KEY_KP_6, KeyAction::MOVE, 1, 0, false, false},
    {WEX_KEY_KP_8, KeyAction::MOVE, 0, -1, false, false},
    {WEX_KEY_KP_2, KeyAction::MOVE, 0, 1, false, false},
    {WEX_KEY_HOME, KeyAction::MOVE, -1, -1, true, false},
    {WEX_KEY_PAGE_UP, KeyAction::MOVE, 1, -1, true, false},
    {WEX_KEY_END, KeyAction::MOVE, -1, 1, true, false},
    {WEX_KEY_PAGE_DOWN, KeyAction::MOVE, 1, 1, true, false},
    {WEX_KEY_KP_HOME, KeyAction::MOVE, -1, -1, true, false},
    {WEX_KEY_KP_PAGE_UP, KeyAction::MOVE, 1, -1, true, false},
    {WEX_KEY_KP_END, KeyAction::MOVE, -1, 1, true, false},
    {WEX_KEY_KP_PAGE_DOWN, KeyAction::MOVE, 1, 1, true, false},
    {WEX_KEY_KP_7, KeyAction::MOVE, -1, -1, true, false},
    {WEX_KEY_KP_9, KeyAction::MOVE, 1, -1, true, false},
    {WEX_KEY_KP_1, KeyAction::MOVE, -1, 1, true, false},
    {WEX_KEY_KP_3, KeyAction::MOVE, 1, 1, true, false},
    {WEX_KEY_SPACE, KeyAction::ACT, 0, 0, false, false},
    {WEX_KEY_RETURN, KeyAction::ACT, 0, 0, false, false},
    {WEX_KEY_KP_ENTER, KeyAction::ACT, 0, 0, false, false},
    {'n', KeyAction::NEW_GAME, 0, 0, false, true},
    {'N', KeyAction::NEW_GAME, 0, 0, false, true},
    {'q', KeyAction::QUIT, 0, 0, false, true},
    {'Q', KeyAction::QUIT, 0, 0, false, true},
};

}  // namespace

shapes::KeyMeaning shapes::key_meaning(int key, int modifiers, bool diagonals) {
    const bool control = modifiers & WEX_CONTROL_MASK;
    for (const KeyEntry& entry : KEYS)
        if (entry.key == key && (!entry.diagonal || diagonals) && (!entry.control || control))
            return {entry.action, entry.dx, entry.dy};
    return {KeyAction::NONE, 0, 0};
}

void shapes::move_cursor(Cursor& cursor, const Grid& grid, int dx, int dy) {
    if (!cursor.shown) {
        const bool clicked = grid.contains(cursor.clicked_col, cursor.clicked_row);
        cursor.col = clicked ? cursor.clicked_col : grid.columns / 2;
        cursor.row = clicked ? cursor.clicked_row : grid.rows / 2;
        cursor.shown = true;
        return;
    }
    cursor.col = std::clamp(cursor.col + dx, 0, grid.columns - 1);
    cursor.row = std::clamp(cursor.row + dy, 0, grid.rows - 1);
}

void shapes::click_cursor(Cursor& cursor, const Grid& grid, int col, int row) {
    cursor.shown = false;
    if (!grid.contains(col, row)) return;
    cursor.clicked_col = col;
    cursor.clicked_row = row;
}

void shapes::draw_cursor_frame(const Cursor& cursor, const Grid& grid, const char* colour) {
    T4K_FUNCTION(draw_cursor_frame);
    if (!cursor.shown) return;
    constexpr int INSET = 2, WIDTH = 2;
    const int left = grid.line_x(cursor.col), top = grid.line_y(cursor.row);
    for (int n = 0; n < WIDTH; n++) {
        const int side = grid.cell - 2 * (INSET + n);  // an outline spans side + 1 pixels
        SQUARE(colour, left + INSET + n, top + INSET + n, side, side, 0);
    }
}
