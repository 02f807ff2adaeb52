// torvane_window_test.cpp: torvane's own window, in-process on the X server: every text whole at a
// large desktop font, and the energy gauge above its first range.
// The game's main ends in the main loop, which never returns; renamed, it is never called.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wreturn-type"
#define main torvane_main
#include "games/torvane/board.cpp"
#undef main
#pragma GCC diagnostic pop

#include "tests/support/game_window.h"

GAME_WINDOW_TESTS(Torvane)

// Energy above the gauge's 300 lifts the gauge's top to it: the gauge reads the true energy, full;
// at 300 or less it reads as it always has.
TEST(TorvaneGauge, TheEnergyGaugeReadsTheTrueEnergy) {
    game_window::start("Sans 10");
    for (const int32_t value : {420, 301, 300, 216, 0}) {
        energy = value;
        update_hud();
        game_window::settle();
        EXPECT_EQ(GET(energy_gauge), value);
        EXPECT_EQ(gtk_adjustment_get_upper(gtk_range_get_adjustment(GTK_RANGE(energy_gauge))), std::max(value, 300));
    }
}
