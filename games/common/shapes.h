// shapes.h: shapes given by centre and half-sizes, the forms the games' pictures are drawn with.
#pragma once

// The ellipse with centre (cx, cy) and half-axes rx, ry; filled when fill is 1, else its outline.
void ELLIPSE(const char* color, int cx, int cy, int rx, int ry, int fill);
// The rectangle with centre (cx, cy), half-width hx and half-height hy.
void BOX(const char* color, int cx, int cy, int hx, int hy, int fill);

namespace shapes {

// The line from (cx - hx, cy - hy) to (cx + hx, cy + hy), through the centre: the same form as
// ELLIPSE and BOX, so that a picture's strokes are all given alike.  A line has no fill.
void SEGMENT(const char* color, int cx, int cy, int hx, int hy, int fill);

}  // namespace shapes
