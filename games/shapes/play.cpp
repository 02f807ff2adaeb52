// play.cpp: start-up, a new game and the redraw, the same for every game.
#include "games/shapes/play.h"

#include "wex/wex.h"

void redraw() {
    T4K_FUNCTION(redraw);
    draw_board();
    draw_grid();
    draw_messages();
    update_hud();
}

int new_game() {
    T4K_FUNCTION(new_game);
    init_game();
    init_board();
    redraw();
    return 0;
}

void run_game() {
    INIT();
    set_start_values();
    WEXOPTIONS("NOSCALING");
    build_window();
    constexpr int FIRST_DEAL_DELAY_MS = 150;
    TIMEOUT(FIRST_DEAL_DELAY_MS, new_game);
    DISPLAY();
}
