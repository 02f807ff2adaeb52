// cursor_test.cpp: the keys and the cursor of the three games, one table of cases run on each
// game's board, and the diagonal keys that only torvane takes.
#include <gtest/gtest.h>

#include "games/common/cursor.h"
#include "wex/wex.h"

namespace {

using shapes::Cursor;
using shapes::Grid;
using shapes::KeyAction;

struct Game {
    const char* name;
    Grid grid;
    bool diagonals;
};
const Game GAMES[] = {
    {"kelvado", {10, 10, 50, 50, 50, 600, 600}, false},
    {"plimsy", {16, 10, 50, 50, 50, 900, 600}, false},
    {"torvane", {24, 24, 30, 0, 0, 720, 720}, true},
};

// A cell of a board of any size: from the far edge for a negative number, the centre for MID.
constexpr int MID = 1000, NONE = -1000;
struct Place {
    int col, row;
};
int resolve(int n, int size) { return n == MID ? size / 2 : n == NONE ? -1 : n < 0 ? size + n : n; }

struct KeyCase {
    const char* what;
    bool shown;
    Place at, clicked;
    int key, modifiers;
    KeyAction action;
    bool shown_after;
    Place after;
};
const KeyCase SHARED[] = {
    {"the first arrow shows the centre", false, {NONE, NONE}, {NONE, NONE}, WEX_KEY_LEFT, 0, KeyAction::MOVE, true, {MID, MID}},
    {"the first arrow shows the last click", false, {NONE, NONE}, {2, 3}, WEX_KEY_DOWN, 0, KeyAction::MOVE, true, {2, 3}},
    {"left", true, {2, 3}, {NONE, NONE}, WEX_KEY_LEFT, 0, KeyAction::MOVE, true, {1, 3}},
    {"right", true, {2, 3}, {NONE, NONE}, WEX_KEY_RIGHT, 0, KeyAction::MOVE, true, {3, 3}},
    {"up", true, {2, 3}, {NONE, NONE}, WEX_KEY_UP, 0, KeyAction::MOVE, true, {2, 2}},
    {"down", true, {2, 3}, {NONE, NONE}, WEX_KEY_DOWN, 0, KeyAction::MOVE, true, {2, 4}},
    {"the keypad's left", true, {2, 3}, {NONE, NONE}, WEX_KEY_KP_LEFT, 0, KeyAction::MOVE, true, {1, 3}},
    {"the keypad's 8", true, {2, 3}, {NONE, NONE}, WEX_KEY_KP_8, 0, KeyAction::MOVE, true, {2, 2}},
    {"shift leaves an arrow an arrow", true, {2, 3}, {NONE, NONE}, WEX_KEY_RIGHT, WEX_SHIFT_MASK, KeyAction::MOVE, true, {3, 3}},
    {"stops at the left edge", true, {0, 0}, {NONE, NONE}, WEX_KEY_LEFT, 0, KeyAction::MOVE, true, {0, 0}},
    {"stops at the top edge", true, {0, 0}, {NONE, NONE}, WEX_KEY_UP, 0, KeyAction::MOVE, true, {0, 0}},
    {"stops at the right edge", true, {-1, -1}, {NONE, NONE}, WEX_KEY_RIGHT, 0, KeyAction::MOVE, true, {-1, -1}},
    {"stops at the bottom edge", true, {-1, -1}, {NONE, NONE}, WEX_KEY_DOWN, 0, KeyAction::MOVE, true, {-1, -1}},
    {"space acts", true, {2, 3}, {NONE, NONE}, WEX_KEY_SPACE, 0, KeyAction::ACT, true, {2, 3}},
    {"return acts", true, {2, 3}, {NONE, NONE}, WEX_KEY_RETURN, 0, KeyAction::ACT, true, {2, 3}},
    {"the keypad's enter acts", true, {2, 3}, {NONE, NONE}, WEX_KEY_KP_ENTER, 0, KeyAction::ACT, true, {2, 3}},
    {"ctrl+n", true, {2, 3}, {NONE, NONE}, 'n', WEX_CONTROL_MASK, KeyAction::NEW_GAME, true, {2, 3}},
    {"ctrl+N with caps lock", true, {2, 3}, {NONE, NONE}, 'N', WEX_CONTROL_MASK | 2, KeyAction::NEW_GAME, true, {2, 3}},
    {"ctrl+q", false, {NONE, NONE}, {NONE, NONE}, 'q', WEX_CONTROL_MASK, KeyAction::QUIT, false, {NONE, NONE}},
    {"n alone is no command", true, {2, 3}, {NONE, NONE}, 'n', 0, KeyAction::NONE, true, {2, 3}},
    {"alt+n is the button's", true, {2, 3}, {NONE, NONE}, 'n', WEX_ALT_MASK, KeyAction::NONE, true, {2, 3}},
    {"escape is unused", true, {2, 3}, {NONE, NONE}, WEX_KEY_ESCAPE, 0, KeyAction::NONE, true, {2, 3}},
    {"a key value past every table", false, {NONE, NONE}, {NONE, NONE}, 0x7fffffff, -1, KeyAction::NONE, false, {NONE, NONE}},
};

// Runs one key on a board: its meaning, and the move when it moves.
Cursor press(const Game& game, const KeyCase& c, KeyAction* action) {
    const Grid& g = game.grid;
    Cursor cursor{c.shown, resolve(c.at.col, g.columns), resolve(c.at.row, g.rows),
                  resolve(c.clicked.col, g.columns), resolve(c.clicked.row, g.rows)};
    const shapes::KeyMeaning meaning = shapes::key_meaning(c.key, c.modifiers, game.diagonals);
    *action = meaning.action;
    if (meaning.action == KeyAction::MOVE) shapes::move_cursor(cursor, g, meaning.dx, meaning.dy);
    return cursor;
}

TEST(Cursor, SharedKeysAgreeOnEveryBoard) {
    for (const Game& game : GAMES)
        for (const KeyCase& c : SHARED) {
            SCOPED_TRACE(std::string(game.name) + ": " + c.what);
            KeyAction action;
            const Cursor after = press(game, c, &action);
            EXPECT_EQ(action, c.action);
            EXPECT_EQ(after.shown, c.shown_after);
            if (!c.shown_after) continue;
            EXPECT_EQ(after.col, resolve(c.after.col, game.grid.columns));
            EXPECT_EQ(after.row, resolve(c.after.row, game.grid.rows));
        }
}

// The diagonal keys move only torvane's cursor, and stop at a corner on one side only.
TEST(Cursor, DiagonalKeysMoveOnlyWhereTheGameAllowsThem) {
    struct Diagonal {
        int key;
        Place from, to;
    };
    const Diagonal diagonals[] = {
        {WEX_KEY_HOME, {2, 3}, {1, 2}},         {WEX_KEY_KP_9, {2, 3}, {3, 2}},
        {WEX_KEY_KP_END, {2, 3}, {1, 4}},       {WEX_KEY_PAGE_DOWN, {2, 3}, {3, 4}},
        {WEX_KEY_KP_HOME, {0, 3}, {0, 2}},      {WEX_KEY_KP_PAGE_DOWN, {-1, -1}, {-1, -1}},
        {WEX_KEY_PAGE_UP, {-1, 0}, {-1, 0}},    {WEX_KEY_KP_1, {0, 5}, {0, 6}},
    };
    for (const Game& game : GAMES)
        for (const Diagonal& d : diagonals) {
            const KeyCase c{"diagonal", true, d.from, {NONE, NONE}, d.key, 0, KeyAction::MOVE, true, d.to};
            SCOPED_TRACE(std::string(game.name) + ", key " + std::to_string(d.key));
            KeyAction action;
            const Cursor after = press(game, c, &action);
            EXPECT_EQ(action, game.diagonals ? KeyAction::MOVE : KeyAction::NONE);
            const Place expected = game.diagonals ? d.to : d.from;
            EXPECT_EQ(after.col, resolve(expected.col, game.grid.columns));
            EXPECT_EQ(after.row, resolve(expected.row, game.grid.rows));
        }
}

// A click hides the cursor; one on the board is where the next arrow starts, one off it is not.
TEST(Cursor, AClickHidesTheCursorAndLeavesItsCellForTheNextArrow) {
    for (const Game& game : GAMES) {
        SCOPED_TRACE(game.name);
        Cursor cursor;
        shapes::move_cursor(cursor, game.grid, 0, 0);
        shapes::click_cursor(cursor, game.grid, 4, 5);
        EXPECT_FALSE(cursor.shown);
        shapes::click_cursor(cursor, game.grid, -1, game.grid.rows);
        shapes::move_cursor(cursor, game.grid, 1, 0);
        EXPECT_TRUE(cursor.shown);
        EXPECT_EQ(cursor.col, 4);
        EXPECT_EQ(cursor.row, 5);
    }
}

}  // namespace
