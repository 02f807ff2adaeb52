// clip.h (internal): shapes on an unbounded plane, cut to a pixmap before they reach X.
#pragma once
#include <cstdint>
#include <functional>

namespace wex {
/* X carries coordinates as 16-bit numbers: a shape whose numbers go past them would wrap
 * around (x = 65636 lands at 100) or be refused.  The drawing calls take any int, mean it on an
 * unbounded plane, and cut the shape to the pixmap here, in 64-bit arithmetic, so that only
 * numbers X can carry reach it.  A negative width or height draws nothing. */

// The largest coordinate X carries; shapes within [-X_LIMIT, X_LIMIT] go to X as they are.
constexpr int64_t X_LIMIT = 32767;

struct Rect {
    int x, y, width, height;
};

// The pixmap being drawn on: pixels 0 .. width-1, 0 .. height-1.
struct Sheet {
    int width, height;
};

// A filled rectangle's pixels that lie on the sheet; false when none do.
bool clip_fill(const Sheet& sheet, int64_t x, int64_t y, int64_t width, int64_t height, Rect* out);

// An outline rectangle (one pixel wider and taller than its fill, as X draws it) whose edges
// are moved to just outside the sheet where they lie beyond it: the visible pixels stay the
// same.  False for a negative size.
bool clip_outline(const Sheet& sheet, int64_t x, int64_t y, int64_t width, int64_t height, Rect* out);

// The segment cut to the square X carries; false when none of it lies there.
bool clip_segment(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int out[4]);

// Whether an ellipse's box lies where X carries it unchanged.
bool within_x(int64_t x, int64_t y, int64_t width, int64_t height);

// An ellipse too large for X, drawn by the toolkit row by row on the sheet: `span` receives the
// filled runs (x, y, width), `point` the outline's pixels.
void raster_ellipse(const Sheet& sheet, int64_t x, int64_t y, int64_t width, int64_t height, bool fill,
                    const std::function<void(int, int, int)>& span, const std::function<void(int, int)>& point);
}  // namespace wex
