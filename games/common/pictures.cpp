// pictures.cpp: drawing a picture's strokes around a cell's centre.
#include "games/common/pictures.h"

#include "runtime/runtime.h"

void shapes::draw_picture(Picture picture, Palette palette, int x, int y) {
    T4K_FUNCTION(draw_picture);
    for (const Stroke& s : picture) s.shape(palette[s.colour], x + s.dx, y + s.dy, s.hx, s.hy, s.fill);
}
