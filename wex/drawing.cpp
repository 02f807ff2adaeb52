// drawing.cpp: the drawing calls and GETCOLOR$, each handed to the painter of the current canvas.
#include <algorithm>
#include <cstdio>
#include "runtime/runtime.h"
#include "wex/canvas.h"
#include "wex/wex.h"

namespace wex {
namespace {
constexpr const Painter* PAINTERS[] = {&wex_gtk_painter, &wex_gl_painter, &wex_goo_painter};

// Drawing before any canvas exists does nothing.
template <class Call> void on_canvas(Call call) {
    if (const CanvasParts* c = wex_current_canvas()) call(*PAINTERS[c->kind], *c);
}

constexpr int COLOUR_TEXT_SIZE = 512;
}  // namespace

void CIRCLE(const char* colour, int x, int y, int width, int height, int fill) {
    T4K_FUNCTION(CIRCLE);
    on_canvas([&](const Painter& p, const CanvasParts& c) { p.circle(c, colour, x, y, width, height, fill); });
}

void SQUARE(const char* colour, int x, int y, int width, int height, int fill) {
    T4K_FUNCTION(SQUARE);
    on_canvas([&](const Painter& p, const CanvasParts& c) { p.square(c, colour, x, y, width, height, fill); });
}

void LINE(const char* colour, int x1, int y1, int x2, int y2) {
    T4K_FUNCTION(LINE);
    on_canvas([&](const Painter& p, const CanvasParts& c) { p.line(c, colour, x1, y1, x2, y2); });
}

void PIXEL(const char* colour, int x, int y) {
    T4K_FUNCTION(PIXEL);
    on_canvas([&](const Painter& p, const CanvasParts& c) { p.pixel(c, colour, x, y); });
}

void OUT(const char* text, const char* foreground, const char* background, int x, int y) {
    T4K_FUNCTION(OUT);
    on_canvas([&](const Painter& p, const CanvasParts& c) { p.out(c, text, foreground, background, x, y); });
}

void PICTURE(const char* file, int x, int y, int width, int height) {
    T4K_FUNCTION(PICTURE);
    on_canvas([&](const Painter& p, const CanvasParts& c) { p.picture(c, file, x, y, width, height); });
}

// "#RRGGBB" or, with the alpha flag, "#RRGGBBAA", ending in a newline.  A point outside the
// canvas, or no canvas at all, reads as all zero bytes.
char* GETCOLOR$(int x, int y, int alpha) {
    T4K_FUNCTION(GETCOLOR$);
    unsigned char rgba[4] = {0, 0, 0, 0};
    on_canvas([&](const Painter& p, const CanvasParts& c) {
        if (x >= 0 && y >= 0 && x < std::min(c.xsize, c.width) && y < std::min(c.ysize, c.height)) p.read(c, x, y, rgba);
    });
    char text[COLOUR_TEXT_SIZE];
    int length = alpha ? std::snprintf(text, sizeof text, "%s%02X%02X%02X%02X\n", "#", rgba[0], rgba[1], rgba[2],
                                       rgba[3])
                       : std::snprintf(text, sizeof text, "%s%02X%02X%02X\n", "#", rgba[0], rgba[1], rgba[2]);
    return t4k_temporary_copy(text, length);
}
}  // namespace wex
