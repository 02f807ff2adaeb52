// clip.cpp: cutting rectangles, segments and ellipses to the pixmap in 64-bit arithmetic.
#include "wex/clip.h"

#include <algorithm>
#include <cmath>

namespace wex {
namespace {
bool inside_x(int64_t v) { return v >= -X_LIMIT && v <= X_LIMIT; }

int to_int(double v) { return static_cast<int>(std::clamp(v, double(-X_LIMIT), double(X_LIMIT))); }

// Liang-Barsky: narrow [t0, t1] to where p * t <= q holds.
bool narrow(double p, double q, double& t0, double& t1) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
        if (t > t1) return false;
        t0 = std::max(t0, t);
    } else {
        if (t < t0) return false;
        t1 = std::min(t1, t);
    }
    return true;
}
}  // namespace

bool clip_fill(const Sheet& sheet, int64_t x, int64_t y, int64_t width, int64_t height, Rect* out) {
    if (width < 0 || height < 0) return false;
    const int64_t left = std::max<int64_t>(x, 0), right = std::min<int64_t>(x + width, sheet.width);
    const int64_t top = std::max<int64_t>(y, 0), bottom = std::min<int64_t>(y + height, sheet.height);
    if (right <= left || bottom <= top) return false;
    *out = {int(left), int(top), int(right - left), int(bottom - top)};
    return true;
}

bool clip_outline(const Sheet& sheet, int64_t x, int64_t y, int64_t width, int64_t height, Rect* out) {
    if (width < 0 || height < 0) return false;
    if (x + width < 0 || y + height < 0 || x >= sheet.width || y >= sheet.height) return false;
    const int64_t left = std::max<int64_t>(x, -1), right = std::min<int64_t>(x + width, sheet.width);
    const int64_t top = std::max<int64_t>(y, -1), bottom = std::min<int64_t>(y + height, sheet.height);
    *out = {int(left), int(top), int(right - left), int(bottom - top)};
    return true;
}

/* A segment X can carry goes as it is, so its pixels are exactly X's.  Any other is cut to
 * the square X carries and its new ends rounded: the line keeps its course to within half a
 * pixel, and the part that is cut away lies far outside any pixmap. */
bool clip_segment(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int out[4]) {
    if (inside_x(x1) && inside_x(y1) && inside_x(x2) && inside_x(y2)) {
        out[0] = int(x1), out[1] = int(y1), out[2] = int(x2), out[3] = int(y2);
        return true;
    }
    const double dx = double(x2 - x1), dy = double(y2 - y1), limit = double(X_LIMIT);
    double t0 = 0, t1 = 1;
    if (!narrow(-dx, double(x1) + limit, t0, t1) || !narrow(dx, limit - double(x1), t0, t1) ||
        !narrow(-dy, double(y1) + limit, t0, t1) || !narrow(dy, limit - double(y1), t0, t1))
        return false;
    out[0] = to_int(std::round(double(x1) + t0 * dx));
    out[1] = to_int(std::round(double(y1) + t0 * dy));
    out[2] = to_int(std::round(double(x1) + t1 * dx));
    out[3] = to_int(std::round(double(y1) + t1 * dy));
    return true;
}

bool within_x(int64_t x, int64_t y, int64_t width, int64_t height) {
    return width >= 0 && height >= 0 && inside_x(x) && inside_x(y) && inside_x(x + width) && inside_x(y + height);
}

/* The ellipse inscribed in the box (x, y, width, height), as X draws it: the fill covers the
 * pixels whose centres lie inside; the outline passes through the box's edges, one pixel wider
 * and taller.  Only the sheet's rows and columns are visited, so even an ellipse of a thousand
 * million pixels costs one pass over the sheet.  The outline is found along rows and along
 * columns both, which leaves no gaps where it runs flat or steep.  Half-widths come from
 * (b - d)(b + d) rather than b² - d², which keeps them exact near the ends of a huge ellipse. */
void raster_ellipse(const Sheet& sheet, int64_t x, int64_t y, int64_t width, int64_t height, bool fill,
                    const std::function<void(int, int, int)>& span, const std::function<void(int, int)>& point) {
    if (width <= 0 || height <= 0) return;
    if (x >= sheet.width || y >= sheet.height || x + width < 0 || y + height < 0) return;
    const double a = width / 2.0, b = height / 2.0, cx = double(x) + a, cy = double(y) + b;
    // Half the ellipse's extent across, at distance d from its centre along the other axis.
    auto half = [](double along, double across, double d) {
        d = std::fabs(d);
        return d > across ? -1.0 : along * std::sqrt((across - d) * (across + d)) / across;
    };
    const int64_t top = std::max<int64_t>(y, 0), bottom = std::min<int64_t>(y + height, sheet.height - 1);
    const int64_t left = std::max<int64_t>(x, 0), right = std::min<int64_t>(x + width, sheet.width - 1);
    auto on_sheet = [&](double column, double row) {
        if (column >= 0 && column < sheet.width && row >= 0 && row < sheet.height) point(int(column), int(row));
    };
    for (int64_t row = top; row <= bottom; ++row) {
        const double h = half(a, b, double(row) + 0.5 - cy);
        if (h < 0) continue;
        if (fill) {
            const double from = std::max(std::ceil(cx - h - 0.5), 0.0);
            const double to = std::min(std::floor(cx + h - 0.5), double(sheet.width - 1));
            if (to >= from) span(int(from), int(row), int(to - from) + 1);
        } else {
            on_sheet(std::floor(cx - h), double(row));
            on_sheet(std::floor(cx + h), double(row));
        }
    }
    if (fill) return;
    for (int64_t column = left; column <= right; ++column) {
        const double v = half(b, a, double(column) + 0.5 - cx);
        if (v < 0) continue;
        on_sheet(double(column), std::floor(cy - v));
        on_sheet(double(column), std::floor(cy + v));
    }
}
}  // namespace wex
