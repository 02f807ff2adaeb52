// draw_gl.cpp: drawing on OpenGL canvases (GtkGLExt or GtkGLArea) and their first expose.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include "runtime/runtime.h"
#include "wex/canvas.h"
#include "wex/library.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/widgets.h"

namespace wex {
namespace {
// The few OpenGL 1.x constants used here (their values are fixed by the GL ABI).
constexpr unsigned GL_POINTS_ = 0, GL_LINES_ = 1, GL_LINE_LOOP_ = 2, GL_POLYGON_ = 9;
constexpr unsigned GL_MODELVIEW_ = 0x1700, GL_PROJECTION_ = 0x1701;
constexpr unsigned GL_DEPTH_BUFFER_BIT_ = 0x100, GL_COLOR_BUFFER_BIT_ = 0x4000;
constexpr unsigned GL_RGBA_ = 0x1908, GL_UNSIGNED_BYTE_ = 0x1401;

constexpr double TWO_PI = 6.283185307179586;
constexpr int CIRCLE_VERTICES = 360;
constexpr float PIXEL_CENTRE = 0.375f;  // shifts integer coordinates onto pixel centres
constexpr int GLYPH_WIDTH = 8, GLYPH_HEIGHT = 16;
constexpr unsigned FIRST_GLYPH = 32, GLYPH_COUNT = 96;

struct Rgb {
    unsigned char r, g, b;
};
constexpr Rgb BLACK = {0, 0, 0}, WHITE = {255, 255, 255};

// The characters of a text: bytes, or UTF-8 code points while the runtime counts characters.
template <class F> void for_each_char(const char* text, F f) {
    const auto* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (*p) {
        unsigned code = *p++;
        int extra = 0;
        if (__t4k__option_utf8 && code >= 0xC0) {
            extra = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : 1;
            code &= 0x3F >> extra;
        }
        for (; extra > 0 && (*p & 0xC0) == 0x80; --extra) code = code << 6 | (*p++ & 0x3F);
        f(code);
    }
}

int hex_digit(unsigned c) {
    if (c >= '0' && c <= '9') return int(c - '0');
    if (c >= 'a' && c <= 'f') return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return int(c - 'A' + 10);
    return -1;
}

// Two characters read as hexadecimal, as far as they are hex digits.
unsigned char hex_pair(unsigned high, unsigned low) {
    int h = hex_digit(high);
    if (h < 0) return 0;
    int l = hex_digit(low);
    return static_cast<unsigned char>(l < 0 ? h : h * 16 + l);
}

// A GL canvas knows only "#RRGGBB": exactly seven characters; anything else is the fallback.
Rgb gl_colour(const char* text, Rgb fallback) {
    unsigned chars[7];
    int count = 0;
    for_each_char(text, [&](unsigned code) {
        if (count < 7) chars[count] = code;
        ++count;
    });
    if (count != 7) return fallback;
    return {hex_pair(chars[1], chars[2]), hex_pair(chars[3], chars[4]), hex_pair(chars[5], chars[6])};
}

void set_colour(Rgb c) { glColor3ub(c.r, c.g, c.b); }

// Canvas pixels: origin top left, y downwards, over the canvas's registered size.
void project(const CanvasParts& c, bool pixel_centres) {
    glMatrixMode(GL_PROJECTION_);
    glLoadIdentity();
    glOrtho(0, c.xsize, c.ysize, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW_);
    glLoadIdentity();
    if (pixel_centres) glTranslatef(PIXEL_CENTRE, PIXEL_CENTRE, 0);
}

bool frozen() { return wex_gui_properties.gl_freeze != 0; }

// One drawing call: unless frozen, make the context current before and show the result after.
template <class Emit> void paint(const CanvasParts& c, bool pixel_centres, Emit emit) {
    if (!frozen() && !wex_gl_begin(c.drawable)) return;
    project(c, pixel_centres);
    emit();
    if (!frozen()) wex_gl_swap(c.drawable);
}

// Coordinates are summed in 64 bits and handed to GL within the int range, which GL clips.
int gl_int(double v) { return int(std::clamp(v, double(INT_MIN), double(INT_MAX))); }

void quad(unsigned mode, double x1, double y1, double x2, double y2) {
    glBegin(mode);
    glVertex2i(gl_int(x1), gl_int(y1));
    glVertex2i(gl_int(x2), gl_int(y1));
    glVertex2i(gl_int(x2), gl_int(y2));
    glVertex2i(gl_int(x1), gl_int(y2));
    glEnd();
}

void circle(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    paint(c, true, [&] {
        set_colour(gl_colour(colour, BLACK));
        const int rx = w / 2, ry = h / 2;
        const double cx = double(x) + rx, cy = double(y) + ry;
        glBegin(fill ? GL_POLYGON_ : GL_LINE_LOOP_);
        for (int i = 1; i <= CIRCLE_VERTICES; ++i) {
            double a = i * TWO_PI / CIRCLE_VERTICES;
            glVertex2i(gl_int(cx + std::trunc(std::cos(a) * rx)), gl_int(cy + std::trunc(std::sin(a) * ry)));
        }
        glEnd();
    });
}

void square(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    paint(c, true, [&] {
        set_colour(gl_colour(colour, BLACK));
        quad(fill ? GL_POLYGON_ : GL_LINE_LOOP_, x, y, double(x) + w, double(y) + h);
    });
}

void line(const CanvasParts& c, const char* colour, int x1, int y1, int x2, int y2) {
    paint(c, true, [&] {
        set_colour(gl_colour(colour, BLACK));
        glBegin(GL_LINES_);
        glVertex2i(x1, y1);
        glVertex2i(x2, y2);
        glEnd();
    });
}

void pixel(const CanvasParts& c, const char* colour, int x, int y) {
    paint(c, true, [&] {
        set_colour(gl_colour(colour, BLACK));
        glBegin(GL_POINTS_);
        glVertex2i(x, y);
        glEnd();
    });
}

// Text in the toolkit's 8 x 16 bitmap font, one background cell per character; no markup.
void out(const CanvasParts& c, const char* text, const char* fg, const char* bg, int x, int y) {
    Rgb foreground = gl_colour(fg, BLACK), background = gl_colour(bg, WHITE);
    paint(c, false, [&] {
        double left = x;
        for_each_char(text, [&](unsigned code) {
            set_colour(background);
            quad(GL_POLYGON_, left, y, left + GLYPH_WIDTH, double(y) + GLYPH_HEIGHT);
            set_colour(foreground);
            glRasterPos2i(gl_int(left), gl_int(double(y) + GLYPH_HEIGHT));
            // Each glyph row is an int whose first byte holds the row's pixels: with GL's
            // default row alignment of 4 bytes the glyph's 16 ints are its bitmap.
            if (code >= FIRST_GLYPH && code - FIRST_GLYPH < GLYPH_COUNT)
                glBitmap(GLYPH_WIDTH, GLYPH_HEIGHT, 0, 0, GLYPH_WIDTH, 0,
                         reinterpret_cast<const unsigned char*>(wex_glfont[code - FIRST_GLYPH]));
            left += GLYPH_WIDTH;
        });
    });
}

void picture(const CanvasParts&, const char*, int, int, int, int) {}

// GL counts rows from the bottom: canvas row y is GL row ysize - 1 - y.
void read(const CanvasParts& c, int x, int y, unsigned char rgba[4]) {
    if (!frozen() && !wex_gl_begin(c.drawable)) return;
    project(c, true);
    glReadPixels(x, c.ysize - 1 - y, 1, 1, GL_RGBA_, GL_UNSIGNED_BYTE_, rgba);
}
}  // namespace

static_assert(sizeof(int) == 4, "a GL font row is one 4-byte-aligned bitmap row");

const Painter wex_gl_painter = {circle, square, line, pixel, out, picture, read};

bool wex_uses_glarea() {
    const char* library = wex_gui_properties.gl_library;
    return library && std::strcmp(library, "GLAREA") == 0;
}

namespace {
// A GL canvas keeps the library it was made with, whatever gl_library says now.
bool is_glarea(void* area) { return gtk_gl_area_get_type && wex_is_a(area, gtk_gl_area_get_type); }
}  // namespace

bool wex_gl_begin(void* area) {
    auto* widget = static_cast<GtkWidget*>(area);
    if (!GTK_WIDGET_REALIZED(widget)) return false;
    if (is_glarea(area)) return gtk_gl_area_make_current(static_cast<GtkGLArea*>(area));
    GdkGLWindow* window = gtk_widget_get_gl_window(widget);
    if (!window) return false;
    return gdk_gl_drawable_gl_begin(reinterpret_cast<GdkGLDrawable*>(window), gtk_widget_get_gl_context(widget));
}

void wex_gl_swap(void* area) {
    if (is_glarea(area)) {
        gtk_gl_area_swap_buffers(static_cast<GtkGLArea*>(area));
        return;
    }
    GdkGLWindow* window = gtk_widget_get_gl_window(static_cast<GtkWidget*>(area));
    if (!window) return;
    auto* drawable = reinterpret_cast<GdkGLDrawable*>(window);
    gdk_gl_drawable_swap_buffers(drawable);
    gdk_gl_drawable_gl_end(drawable);
}

// The first expose clears the canvas to white; later ones leave the buffers as they are.
gboolean wex_glcanvas_expose(gpointer widget, gpointer, gpointer) {
    T4K_FUNCTION(wex_glcanvas_expose);
    if (WEX_GET(wex_canvas_expose, widget)) return FALSE;
    if (!wex_gl_begin(widget)) return FALSE;
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT_ | GL_DEPTH_BUFFER_BIT_);
    wex_gl_swap(widget);
    WEX_PUT(wex_canvas_expose, widget, 1);
    return FALSE;
}
}  // namespace wex
