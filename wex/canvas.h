// canvas.h (internal): what the drawing calls know about the current canvas, and the three painters.
#pragma once
#include "wex/bindings.h"

namespace wex {
// The objects behind one canvas and its kind, kept as CANVAS made them.
struct CanvasParts {
    void* drawable;       // kind 0: the backing pixmap; kinds 1 and 2: the drawing widget
    GdkColor* record;     // kind 0: the colour record every call parses into; else null
    GdkGC* gc;            // kind 0: the graphics context; else null
    GtkWidget* ebox;      // the canvas handle
    GtkWidget* image;     // the drawing widget inside the event box
    int xsize, ysize;     // the size given to CANVAS
    int width, height;    // what drawing is cut to: kind 0 the pixmap's size, else xsize, ysize
    int kind;             // 0 GTK pixmap, 1 OpenGL, 2 GooCanvas: the painter that draws on it
};

// The parts of the current canvas (wex_gui_properties.canvas) as CANVAS made it, or null when
// there is none.
const CanvasParts* wex_current_canvas();

// The kind of canvas CANVAS makes and the drawing calls paint: WEX_CANVAS_TYPE, except that
// a kind whose library is not bound is served by the GTK canvas.
int wex_canvas_kind();

// One painter per canvas kind; each call draws on the current canvas `c` (never null).
struct Painter {
    void (*circle)(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill);
    void (*square)(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill);
    void (*line)(const CanvasParts& c, const char* colour, int x1, int y1, int x2, int y2);
    void (*pixel)(const CanvasParts& c, const char* colour, int x, int y);
    void (*out)(const CanvasParts& c, const char* text, const char* fg, const char* bg, int x, int y);
    void (*picture)(const CanvasParts& c, const char* file, int x, int y, int w, int h);
    // Red, green, blue, alpha of the pixel at (x, y), which lies inside the canvas.
    void (*read)(const CanvasParts& c, int x, int y, unsigned char rgba[4]);
};
extern const Painter wex_gtk_painter;
extern const Painter wex_gl_painter;
extern const Painter wex_goo_painter;

// The GTK canvas's image is being repainted: drawing calls queue its next redraw again.
gboolean wex_canvas_repainted(gpointer image, gpointer expose_event, gpointer);

// Red, green, blue and alpha of one pixel of a drawable; opaque where it has no alpha.
void wex_read_drawable(GdkDrawable* drawable, int x, int y, unsigned char rgba[4]);

// Whether GL canvases come from GtkGLArea (gl_library "GLAREA"); else from GtkGLExt.
bool wex_uses_glarea();

// "GLAREA" or "GLEXT" once a GL canvas has been made, else null.  The two libraries register
// GObject types of the same names (GdkGLContext among them), so only the first one used can
// make canvases in a process.
const char* wex_gl_library_in_use();

// GL canvases: make the context current (false when the widget has no GL drawable yet),
// show the back buffer and, for GtkGLExt, end the drawing.
bool wex_gl_begin(void* area);
void wex_gl_swap(void* area);

gboolean wex_glcanvas_expose(gpointer widget, gpointer expose_event, gpointer);
}  // namespace wex
