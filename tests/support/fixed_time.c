/* fixed_time.c: preloaded into a game, time() answers one fixed second, so the game seeds its
   random numbers alike on every start and deals the boards of that seed. */
#include <time.h>

time_t time(time_t* t) {
    if (t) *t = WEX_FIXED_TIME;
    return WEX_FIXED_TIME;
}
