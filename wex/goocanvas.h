// goocanvas.h: the GooCanvas calls the toolkit binds.  No GTK 2 GooCanvas is packaged on this
// platform, so its few types and functions are declared here as GooCanvas 1.0 declares them
// (the same struct tags, so that a test can hold these types against the library's own).
#pragma once
#include <gtk/gtk.h>

extern "C" {
typedef struct _GooCanvas GooCanvas;
typedef struct _GooCanvasItem GooCanvasItem;
typedef struct _GooCanvasBounds GooCanvasBounds;
struct _GooCanvasBounds {
    gdouble x1, y1, x2, y2;
};

GtkWidget* goo_canvas_new(void);
GooCanvasItem* goo_canvas_get_root_item(GooCanvas* canvas);
void goo_canvas_set_bounds(GooCanvas* canvas, gdouble left, gdouble top, gdouble right, gdouble bottom);
void goo_canvas_render(GooCanvas* canvas, cairo_t* cr, const GooCanvasBounds* bounds, gdouble scale);
GooCanvasItem* goo_canvas_ellipse_new(GooCanvasItem* parent, gdouble center_x, gdouble center_y,
                                      gdouble radius_x, gdouble radius_y, ...);
GooCanvasItem* goo_canvas_rect_new(GooCanvasItem* parent, gdouble x, gdouble y, gdouble width,
                                   gdouble height, ...);
GooCanvasItem* goo_canvas_polyline_new_line(GooCanvasItem* parent, gdouble x1, gdouble y1, gdouble x2,
                                            gdouble y2, ...);
GooCanvasItem* goo_canvas_text_new(GooCanvasItem* parent, const char* string, gdouble x, gdouble y,
                                   gdouble width, GtkAnchorType anchor, ...);
GooCanvasItem* goo_canvas_image_new(GooCanvasItem* parent, GdkPixbuf* pixbuf, gdouble x, gdouble y, ...);
void goo_canvas_item_get_bounds(GooCanvasItem* item, GooCanvasBounds* bounds);
void goo_canvas_item_translate(GooCanvasItem* item, gdouble tx, gdouble ty);
void goo_canvas_item_raise(GooCanvasItem* item, GooCanvasItem* above);
}
