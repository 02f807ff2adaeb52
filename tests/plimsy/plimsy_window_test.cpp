// plimsy_window_test.cpp: plimsy's own window, in-process on the X server: every text whole at a large desktop font.
// The game's main ends in the main loop, which never returns; renamed, it is never called.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wreturn-type"
#define main plimsy_main
#include "games/plimsy/board.cpp"
#undef main
#pragma GCC diagnostic pop

#include "tests/support/game_window.h"

GAME_WINDOW_TESTS(Plimsy)
