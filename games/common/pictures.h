// pictures.h: a game's pictures as tables of strokes around a cell's centre, and their drawing.
#pragma once
#include <span>

namespace shapes {

// A shape given by its centre and half-sizes: ELLIPSE, BOX or SEGMENT (shapes.h), or a game's
// own name for one of them.
using Shape = void (*)(const char* color, int cx, int cy, int hx, int hy, int fill);

constexpr int OUTLINE = 0;
constexpr int FILLED = 1;

// One shape of a picture: the offset of its centre from the cell's centre, its half-sizes, and
// its colour as an index into the game's palette.
struct Stroke {
    Shape shape;
    int colour;
    int dx, dy;
    int hx, hy;
    int fill;  // FILLED or OUTLINE; a segment takes no notice
};

using Picture = std::span<const Stroke>;
using Palette = std::span<const char* const>;  // colour texts, by the games' colour indices
using PictureFunction = void (*)(int x, int y);  // draws one picture around (x, y)

// Draws the strokes of a picture in order around the canvas pixel (x, y).
void draw_picture(Picture picture, Palette palette, int x, int y);

}  // namespace shapes
