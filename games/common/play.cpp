// play.cpp: start-up, a new game, the redraw and the keyboard, the same for every game.
#include "games/common/play.h"

#include "wex/wex.h"

using shapes::KeyAction;

shapes::Cursor cursor;

namespace {

bool dealt = false;  // keys wait for the first deal

std::string described;  // what the canvas's accessible description says

// "Row 4, column 7: forest, used once" while the cursor shows, counted from 1; else nothing.
// Told to the accessibility layer only when it changes, so mouse play does no more than before.
void describe_cursor() {
    T4K_FUNCTION(describe_cursor);
    std::string text;
    if (cursor.shown)
        text = "Row " + std::to_string(cursor.row + 1) + ", column " + std::to_string(cursor.col + 1) + ": " +
               cell_description(cursor.col, cursor.row);
    if (text == described) return;
    described = text;
    DESCRIBE(*KEYBOARD.canvas, KEYBOARD.name, text.c_str());
}

void deal() {
    T4K_FUNCTION(deal);
    init_game();
    init_board();
    dealt = true;
    redraw();
}

// The window's key handler: a key the games use is handled here and goes no further, so
// Space and Return never press the button that holds the focus.
int on_key(Widget, int key, void*) {
    T4K_FUNCTION(on_key);
    const shapes::KeyMeaning meaning = shapes::key_meaning(key, KEYSTATE(), KEYBOARD.diagonals);
    if (meaning.action == KeyAction::NONE) return 0;
    if (!dealt) return 1;
    switch (meaning.action) {
    case KeyAction::MOVE:
        shapes::move_cursor(cursor, KEYBOARD.grid, meaning.dx, meaning.dy);
        redraw();
        break;
    case KeyAction::ACT:
        if (cursor.shown) play_cell(cursor.col, cursor.row);
        break;
    case KeyAction::NEW_GAME: deal(); break;
    case KeyAction::QUIT: QUIT();
    case KeyAction::NONE: break;
    }
    return 1;
}

}  // namespace

void redraw() {
    T4K_FUNCTION(redraw);
    draw_board();
    draw_grid();
    shapes::draw_cursor_frame(cursor, KEYBOARD.grid, KEYBOARD.cursor_colour);
    draw_messages();
    update_hud();
    describe_cursor();
}

int new_game() {
    T4K_FUNCTION(new_game);
    cursor.shown = false;
    deal();
    return 0;
}

void click_hides_cursor(int col, int row) {
    T4K_FUNCTION(click_hides_cursor);
    const bool shown = cursor.shown;
    shapes::click_cursor(cursor, KEYBOARD.grid, col, row);
    if (shown) redraw();
}

void run_game() {
    INIT();
    set_start_values();
    WEXOPTIONS("NOSCALING");
    build_window();
    DESCRIBE(*KEYBOARD.canvas, KEYBOARD.name, "");
    KEYCALLBACK(*KEYBOARD.window, on_key);
    constexpr int FIRST_DEAL_DELAY_MS = 150;
    TIMEOUT(FIRST_DEAL_DELAY_MS, new_game);
    DISPLAY();
}
