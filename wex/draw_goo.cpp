// draw_goo.cpp: drawing on a GooCanvas, where every call adds a retained item.
#include "runtime/runtime.h"
#include "wex/canvas.h"
#include "wex/properties.h"
#include "wex/wex.h"

namespace wex {
namespace {
void* const END = nullptr;  // closes a property list (a pointer-wide null, not an int 0)
constexpr double LINE_WIDTH = 1.0;
constexpr int BOUNDS_LINE = 1652;  // the "FREE" site of the text bounds block

GooCanvasItem* root(const CanvasParts& c) {
    return goo_canvas_get_root_item(static_cast<GooCanvas*>(c.drawable));
}

// The shape's fill and outline: both the colour when filled, else a one-pixel outline.
void style(GooCanvasItem* item, const char* colour, int fill) {
    if (fill)
        g_object_set(item, "stroke-color", colour, "fill-color", colour, END);
    else
        g_object_set(item, "stroke-color", colour, "line-width", LINE_WIDTH, END);
}

void circle(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    int rx = w / 2, ry = h / 2;
    GooCanvasItem* item = goo_canvas_ellipse_new(root(c), x + rx, y + ry, rx, ry, END);
    style(item, colour, fill);
    WIDGET = item;
}

void square(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    GooCanvasItem* item = goo_canvas_rect_new(root(c), x, y, w, h, END);
    style(item, colour, fill);
    WIDGET = item;
}

void line(const CanvasParts& c, const char* colour, int x1, int y1, int x2, int y2) {
    WIDGET = goo_canvas_polyline_new_line(root(c), x1, y1, x2, y2, "stroke-color", colour, "line-width",
                                          LINE_WIDTH, END);
}

void pixel(const CanvasParts& c, const char* colour, int x, int y) { line(c, colour, x, y, x + 1, y + 1); }

// The text is made centred on (x, y) and moved by half its size so that its top-left corner
// lands there; a background rectangle of its size goes under it.
void out(const CanvasParts& c, const char* text, const char* fg, const char* bg, int x, int y) {
    GooCanvasItem* item = goo_canvas_text_new(root(c), text ? text : "", x, y, -1, GTK_ANCHOR_CENTER,
                                              "use-markup", TRUE, "fill-color", fg, "line-width",
                                              LINE_WIDTH, END);
    t4k::Scratch block(BOUNDS_LINE, WEX_UNIT);
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

void picture(const CanvasParts& c, const char* file, int x, int y, int w, int h) {
    GdkPixbuf* pixbuf = file ? gdk_pixbuf_new_from_file(file, nullptr) : nullptr;
    if (!pixbuf) return;
    GooCanvasItem* item = goo_canvas_image_new(root(c), pixbuf, x, y, END);
    g_object_set(item, "width", double(w), "height", double(h), END);
    g_object_unref(pixbuf);
    WIDGET = item;
}

void read(const CanvasParts& c, int x, int y, unsigned char rgba[4]) { wex_read_widget(c.drawable, x, y, rgba); }
}  // namespace

const Painter wex_goo_painter = {circle, square, line, pixel, out, picture, read};
}  // namespace wex
