// draw_goo.cpp: drawing on a GooCanvas, where every call adds a retained item to its root.
#include "runtime/runtime.h"
#include "wex/canvas.h"
#include "wex/properties.h"
#include "wex/wex.h"

namespace wex {
namespace {
void* const END = nullptr;  // closes a property list (a pointer-wide null, not an int 0)
constexpr double LINE_WIDTH = 1.0;
constexpr int INVISIBLE = 1;       // GOO_CANVAS_ITEM_INVISIBLE

GooCanvasItem* root(const CanvasParts& c) {
    return goo_canvas_get_root_item(static_cast<GooCanvas*>(c.drawable));
}

// A filled shape takes the colour for its outline and its inside; an open one is a one-pixel
// outline.  `make` is the item's constructor with its geometry, taking the properties.
template <class Make> GooCanvasItem* shape(Make make, const char* colour, int fill) {
    if (fill) return make("stroke-color", colour, "fill-color", colour, END);
    return make("stroke-color", colour, "line-width", LINE_WIDTH, END);
}

/* GooCanvas draws an ellipse by scaling a unit circle by its radii; a radius of 0 leaves the
 * cairo context in an error state, and nothing painted after it in the same repaint shows.  Such
 * an ellipse has nothing to show anyway, so it is made invisible. */
void circle(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    int rx = w / 2, ry = h / 2;
    WIDGET = shape([&](auto... properties) { return goo_canvas_ellipse_new(root(c), x + rx, y + ry, rx, ry, properties...); },
                   colour, fill);
    if (rx == 0 || ry == 0) g_object_set(WIDGET, "visibility", INVISIBLE, END);
}

void square(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    WIDGET = shape([&](auto... properties) { return goo_canvas_rect_new(root(c), x, y, w, h, properties...); },
                   colour, fill);
}

void line(const CanvasParts& c, const char* colour, int x1, int y1, int x2, int y2) {
    WIDGET = goo_canvas_polyline_new_line(root(c), x1, y1, x2, y2, "stroke-color", colour, "line-width",
                                          LINE_WIDTH, END);
}

void pixel(const CanvasParts& c, const char* colour, int x, int y) { line(c, colour, x, y, x + 1, y + 1); }

/* The text is made centred on (x, y) and moved by half its size, so that its top-left corner
 * lands there; a background rectangle of its size goes under it.  It is set in the canvas's own
 * font, as the GTK canvas sets it in its image's: GooCanvas would otherwise take Pango's default
 * size, and ignore the "FONT" option.  An empty background leaves what is under the text: a
 * rectangle "filled" with no colour would be black. */
void out(const CanvasParts& c, const char* text, const char* fg, const char* bg, int x, int y) {
    GooCanvasItem* item = goo_canvas_text_new(root(c), text ? text : "", x, y, -1, GTK_ANCHOR_CENTER, "use-markup",
                                              TRUE, "fill-color", fg, "line-width", LINE_WIDTH, "font-desc",
                                              c.image->style->font_desc, END);
    t4k::Scratch block(GOO_BOUNDS_LINE, WEX_UNIT);
    auto* bounds = block.as<GooCanvasBounds>();
    goo_canvas_item_get_bounds(item, bounds);
    double w = bounds->x2 - bounds->x1, h = bounds->y2 - bounds->y1;
    goo_canvas_item_translate(item, w / 2, h / 2);
    if (bg && *bg) {
        GooCanvasItem* back = goo_canvas_rect_new(root(c), x, y, w, h, "stroke-color", bg, "fill-color", bg, END);
        goo_canvas_item_raise(item, back);
    }
    WIDGET = item;
}

// The item shows the picture unscaled, clipped to width by height; a negative size (-1) keeps
// the picture's own, as on the GTK canvas.
void picture(const CanvasParts& c, const char* file, int x, int y, int w, int h) {
    GdkPixbuf* pixbuf = file ? gdk_pixbuf_new_from_file(file, nullptr) : nullptr;
    if (!pixbuf) return;
    GooCanvasItem* item = goo_canvas_image_new(root(c), pixbuf, x, y, END);
    if (w >= 0) g_object_set(item, "width", double(w), END);
    if (h >= 0) g_object_set(item, "height", double(h), END);
    g_object_unref(pixbuf);
    WIDGET = item;
}

/* A pixel as the canvas paints it, rendered into a pixmap of one pixel: the colour the canvas
 * clears to, then the items over that point.  The window would show items only after the next
 * repaint, and nothing at all while the canvas is not on screen. */
void read(const CanvasParts& c, int x, int y, unsigned char rgba[4]) {
    GdkPixmap* pixmap = gdk_pixmap_new(gdk_get_default_root_window(), 1, 1, -1);
    GdkGC* gc = gdk_gc_new(pixmap);
    gdk_gc_set_rgb_fg_color(gc, &c.image->style->base[GTK_WIDGET_STATE(c.image)]);
    gdk_draw_rectangle(pixmap, gc, TRUE, 0, 0, 1, 1);
    cairo_t* cr = gdk_cairo_create(pixmap);
    cairo_translate(cr, -x, -y);
    const GooCanvasBounds point{double(x), double(y), double(x + 1), double(y + 1)};
    goo_canvas_render(static_cast<GooCanvas*>(c.drawable), cr, &point, 1.0);
    cairo_destroy(cr);
    wex_read_drawable(pixmap, 0, 0, rgba);
    g_object_unref(gc);
    g_object_unref(pixmap);
}
}  // namespace

const Painter wex_goo_painter = {circle, square, line, pixel, out, picture, read};
}  // namespace wex
