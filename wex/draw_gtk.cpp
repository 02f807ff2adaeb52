// draw_gtk.cpp: drawing on the GTK canvas, a pixmap that a GTK image shows.
#include <cstring>
#include "wex/canvas.h"

namespace wex {
namespace {
constexpr int FULL_CIRCLE = 360 * 64;  // GDK arcs count in 64ths of a degree

/* A redraw sets the same few colours hundreds of times.  gdk_color_parse fills the record only
 * when it understands the text and otherwise leaves it as it was, so parsing the text that was
 * last parsed into the same record can change nothing: the parse is skipped then.  Every write
 * into a record goes through here. */
struct LastColour {
    const GdkColor* record = nullptr;
    char text[32] = "";
};
LastColour last_colour;

void parse_colour(GdkColor* record, const char* colour) {
    if (!colour) colour = "";
    if (record == last_colour.record && std::strcmp(colour, last_colour.text) == 0) return;
    gdk_color_parse(colour, record);
    size_t length = std::strlen(colour);
    if (length < sizeof last_colour.text) {
        std::memcpy(last_colour.text, colour, length + 1);
        last_colour.record = record;
    } else {
        last_colour.record = nullptr;
    }
}

void set_pen(const CanvasParts& c, const char* colour) {
    parse_colour(c.record, colour);
    gdk_gc_set_rgb_fg_color(c.gc, c.record);
}

GdkDrawable* pixmap(const CanvasParts& c) { return static_cast<GdkDrawable*>(c.drawable); }

void circle(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    set_pen(c, colour);
    gdk_draw_arc(pixmap(c), c.gc, fill, x, y, w, h, 0, FULL_CIRCLE);
    gtk_widget_queue_draw(c.image);
}

void square(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    set_pen(c, colour);
    gdk_draw_rectangle(pixmap(c), c.gc, fill, x, y, w, h);
    gtk_widget_queue_draw(c.image);
}

void line(const CanvasParts& c, const char* colour, int x1, int y1, int x2, int y2) {
    set_pen(c, colour);
    gdk_draw_line(pixmap(c), c.gc, x1, y1, x2, y2);
    gtk_widget_queue_draw(c.image);
}

void pixel(const CanvasParts& c, const char* colour, int x, int y) {
    set_pen(c, colour);
    gdk_draw_point(pixmap(c), c.gc, x, y);
    gtk_widget_queue_draw(c.image);
}

// Marked-up text in the image's font; an empty background leaves the pixels behind the glyphs.
void out(const CanvasParts& c, const char* text, const char* fg, const char* bg, int x, int y) {
    set_pen(c, fg);
    PangoLayout* layout = gtk_widget_create_pango_layout(c.image, nullptr);
    pango_layout_set_markup(layout, text ? text : "", -1);
    GdkColor* background = gdk_color_copy(c.record);
    bool painted = bg && *bg;
    if (painted) gdk_color_parse(bg, background);
    gdk_draw_layout_with_colors(pixmap(c), c.gc, x, y, layout, c.record, painted ? background : nullptr);
    gtk_widget_queue_draw(c.image);
    gdk_color_free(background);
    g_object_unref(layout);
}

// Pixel size of a pixbuf, for clipping what is copied from it.
void pixbuf_size(GdkPixbuf* pixbuf, int* width, int* height) {
    g_object_get(pixbuf, "width", width, "height", height, static_cast<void*>(nullptr));
}

// The picture unscaled; width and height clip the region copied from its top-left corner.
void picture(const CanvasParts& c, const char* file, int x, int y, int w, int h) {
    GdkPixbuf* pixbuf = file ? gdk_pixbuf_new_from_file(file, nullptr) : nullptr;
    if (!pixbuf) return;
    int pw = 0, ph = 0;
    pixbuf_size(pixbuf, &pw, &ph);
    // -1 takes the whole picture, as GDK does; a larger region than the picture is cut to it.
    w = w < 0 || w > pw ? pw : w;
    h = h < 0 || h > ph ? ph : h;
    gdk_draw_pixbuf(pixmap(c), c.gc, pixbuf, 0, 0, x, y, w, h, GDK_RGB_DITHER_NONE, 0, 0);
    gtk_widget_queue_draw(c.image);
    g_object_unref(pixbuf);
}

constexpr unsigned char OPAQUE = 0xFF;

// One pixel of a drawable through a pixbuf; a pixbuf without alpha reads opaque.
void read_drawable(GdkDrawable* drawable, int x, int y, unsigned char rgba[4]) {
    GdkPixbuf* pixbuf =
        gdk_pixbuf_get_from_drawable(nullptr, drawable, gdk_colormap_get_system(), x, y, 0, 0, 1, 1);
    if (!pixbuf) return;
    const guchar* p = gdk_pixbuf_get_pixels(pixbuf);
    int channels = gdk_pixbuf_get_n_channels(pixbuf);
    for (int i = 0; i < 3; ++i) rgba[i] = p[i];
    rgba[3] = channels > 3 ? p[3] : OPAQUE;
    g_object_unref(pixbuf);
}

void read(const CanvasParts& c, int x, int y, unsigned char rgba[4]) { read_drawable(pixmap(c), x, y, rgba); }
}  // namespace

const Painter wex_gtk_painter = {circle, square, line, pixel, out, picture, read};

// The GooCanvas paints into its widget's window; read what is shown there.
void wex_read_widget(void* widget, int x, int y, unsigned char rgba[4]) {
    GdkWindow* window = static_cast<GtkWidget*>(widget)->window;
    if (window) read_drawable(window, x, y, rgba);
}
}  // namespace wex
