// shapes.cpp: ELLIPSE, BOX and SEGMENT, the centre-and-half-size forms of CIRCLE, SQUARE and LINE.
#include "games/common/shapes.h"

#include "wex/wex.h"

void ELLIPSE(const char* color, int cx, int cy, int rx, int ry, int fill) {
    T4K_FUNCTION(ELLIPSE);
    CIRCLE(color, cx - rx, cy - ry, 2 * rx, 2 * ry, fill);
}

void BOX(const char* color, int cx, int cy, int hx, int hy, int fill) {
    T4K_FUNCTION(BOX);
    SQUARE(color, cx - hx, cy - hy, 2 * hx, 2 * hy, fill);
}

void shapes::SEGMENT(const char* color, int cx, int cy, int hx, int hy, int) {
    T4K_FUNCTION(SEGMENT);
    LINE(color, cx - hx, cy - hy, cx + hx, cy + hy);
}
