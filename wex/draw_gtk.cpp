// draw_gtk.cpp: drawing on the GTK canvas, a pixmap that a GTK image shows.
#include <cstring>
#include <iterator>
#include "runtime/runtime.h"
#include "wex/canvas.h"
#include "wex/clip.h"
#include "wex/properties.h"

namespace wex {
namespace {
constexpr int FULL_CIRCLE = 360 * 64;  // GDK arcs count in 64ths of a degree

/* The GTK painter's memory between calls, of three things that a redraw would otherwise do
 * hundreds of times.  Each stays true by one rule, stated here and checked where that is cheap.
 *
 * Parsed colours: what gdk_color_parse made of each recent colour text, in a small table keyed
 * by the text.  True because the parse depends on the text alone: it sets a record's red,
 * green and blue when it knows the text and leaves the record alone when it does not.  A kept
 * result is held against a fresh parse on every use in a debug build, and on one use in
 * COLOUR_CHECK_PERIOD otherwise: a GDK whose parse depended on more than the text would then
 * stop the program rather than draw wrong colours, for a cost lost in a redraw's noise.
 *
 * The pen: the foreground last set on a graphics context; setting the same one again changes
 * nothing.  True while nothing but set_pen sets a context's foreground: the text renderer may,
 * so drawing text forgets the pen.  (Contexts and images live as long as the process, so an
 * address names the same one throughout.)
 *
 * The queued redraw: an image whose redraw is queued and not yet done; drawing on it again
 * queues nothing more, as the queued redraw covers the whole image.  True because the redraw
 * ends in an expose of the image, whose handler (wex_canvas_repainted) forgets it.  An image
 * that is not mapped queues nothing, so it is never remembered. */
class PainterMemory {
public:
    // Parses `colour` into the canvas's record and makes it the context's foreground.
    void set_pen(const CanvasParts& c, const char* colour) {
        parse(c.record, colour);
        const GdkColor& r = *c.record;
        if (pen_.gc == c.gc && pen_.red == r.red && pen_.green == r.green && pen_.blue == r.blue) return;
        gdk_gc_set_rgb_fg_color(c.gc, c.record);
        pen_ = {c.gc, r.red, r.green, r.blue};
    }
    void forget_pen() { pen_.gc = nullptr; }

    void show_later(GtkWidget* image) {
        if (image == queued_) return;
        gtk_widget_queue_draw(image);
        if (GTK_WIDGET_MAPPED(image)) queued_ = image;
    }
    void repainted(const void* image) {
        if (image == queued_) queued_ = nullptr;
    }

private:
    struct ParsedColour {
        char text[24];
        bool used, known;
        guint16 red, green, blue;
    };
    struct Pen {
        GdkGC* gc = nullptr;
        guint16 red, green, blue;
    };
    static constexpr unsigned SLOT_BITS = 5, SLOT_TRIES = 4;
#ifdef NDEBUG
    static constexpr unsigned COLOUR_CHECK_PERIOD = 64;
#else
    static constexpr unsigned COLOUR_CHECK_PERIOD = 1;
#endif

    /* A text's home slot comes from an FNV-1a hash of the whole text, its top bits (the low
     * bits of FNV-1a mix poorly).  The text is kept in the first of SLOT_TRIES slots from its
     * home that holds it or is free, so that each of a program's colours, a dozen or so, keeps a
     * slot of its own; only when all of them hold other texts does it take its home over. */
    static unsigned home_of(const char* text) {
        uint32_t hash = 2166136261u;
        for (; *text; ++text) hash = (hash ^ static_cast<unsigned char>(*text)) * 16777619u;
        return hash >> (32 - SLOT_BITS);
    }
    ParsedColour& slot_of(const char* text) {
        const unsigned home = home_of(text);
        for (unsigned i = 0; i < SLOT_TRIES; ++i) {
            ParsedColour& p = colours_[(home + i) % std::size(colours_)];
            if (!p.used || std::strcmp(p.text, text) == 0) return p;
        }
        return colours_[home];
    }

    // A text too long for a slot is parsed every time.
    void parse(GdkColor* record, const char* colour) {
        if (!colour) colour = "";
        const size_t length = std::strlen(colour);
        if (length >= sizeof(ParsedColour::text)) {
            gdk_color_parse(colour, record);
            return;
        }
        ParsedColour& p = slot_of(colour);
        if (p.used && std::strcmp(p.text, colour) == 0) {
            check_kept(p);
        } else {
            p = parsed(colour, *record);
            std::memcpy(p.text, colour, length + 1);
        }
        if (!p.known) return;
        record->red = p.red;
        record->green = p.green;
        record->blue = p.blue;
    }

    static ParsedColour parsed(const char* colour, GdkColor result) {
        ParsedColour p{};
        p.used = true;
        p.known = gdk_color_parse(colour, &result);
        p.red = result.red;
        p.green = result.green;
        p.blue = result.blue;
        return p;
    }

    void check_kept(const ParsedColour& p) {
        if (--uses_until_check_ != 0) return;
        uses_until_check_ = COLOUR_CHECK_PERIOD;
        const ParsedColour fresh = parsed(p.text, GdkColor{});
        const bool same = fresh.known == p.known &&
                          (!p.known || (fresh.red == p.red && fresh.green == p.green && fresh.blue == p.blue));
        if (!same) t4k_assertion_failed("kept colour == fresh parse", WEX_UNIT, KEPT_COLOUR_LINE, "PainterMemory::check_kept");
    }

    ParsedColour colours_[1u << SLOT_BITS] = {};
    Pen pen_;
    GtkWidget* queued_ = nullptr;
    unsigned uses_until_check_ = COLOUR_CHECK_PERIOD;
};
PainterMemory memory;

void set_pen(const CanvasParts& c, const char* colour) { memory.set_pen(c, colour); }
void show_later(const CanvasParts& c) { memory.show_later(c.image); }

GdkDrawable* pixmap(const CanvasParts& c) { return static_cast<GdkDrawable*>(c.drawable); }
Sheet sheet(const CanvasParts& c) { return {c.width, c.height}; }

// Every shape is cut to the pixmap first (clip.h); one that misses it draws and queues nothing.
void circle(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    if (w < 0 || h < 0) return;
    set_pen(c, colour);
    if (within_x(x, y, w, h)) {
        gdk_draw_arc(pixmap(c), c.gc, fill, x, y, w, h, 0, FULL_CIRCLE);
    } else {
        raster_ellipse(
            sheet(c), x, y, w, h, fill != 0,
            [&](int left, int row, int width) { gdk_draw_rectangle(pixmap(c), c.gc, TRUE, left, row, width, 1); },
            [&](int column, int row) { gdk_draw_point(pixmap(c), c.gc, column, row); });
    }
    show_later(c);
}

void square(const CanvasParts& c, const char* colour, int x, int y, int w, int h, int fill) {
    Rect r;
    if (!(fill ? clip_fill(sheet(c), x, y, w, h, &r) : clip_outline(sheet(c), x, y, w, h, &r))) return;
    set_pen(c, colour);
    gdk_draw_rectangle(pixmap(c), c.gc, fill, r.x, r.y, r.width, r.height);
    show_later(c);
}

void line(const CanvasParts& c, const char* colour, int x1, int y1, int x2, int y2) {
    int ends[4];
    if (!clip_segment(x1, y1, x2, y2, ends)) return;
    set_pen(c, colour);
    gdk_draw_line(pixmap(c), c.gc, ends[0], ends[1], ends[2], ends[3]);
    show_later(c);
}

void pixel(const CanvasParts& c, const char* colour, int x, int y) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return;
    set_pen(c, colour);
    gdk_draw_point(pixmap(c), c.gc, x, y);
    show_later(c);
}

// Marked-up text in the image's font; an empty background leaves the pixels behind the glyphs.
// A text that misses the pixmap is not drawn (its glyphs' positions would wrap in X).
void out(const CanvasParts& c, const char* text, const char* fg, const char* bg, int x, int y) {
    PangoLayout* layout = gtk_widget_create_pango_layout(c.image, nullptr);
    pango_layout_set_markup(layout, text ? text : "", -1);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    if (int64_t(x) + w > 0 && int64_t(y) + h > 0 && x < c.width && y < c.height) {
        set_pen(c, fg);
        GdkColor* background = gdk_color_copy(c.record);
        bool painted = bg && *bg;
        if (painted) gdk_color_parse(bg, background);
        gdk_draw_layout_with_colors(pixmap(c), c.gc, x, y, layout, c.record, painted ? background : nullptr);
        memory.forget_pen();  // the text renderer is free to change the context
        show_later(c);
        gdk_color_free(background);
    }
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
    Rect r;
    if (clip_fill(sheet(c), x, y, w, h, &r)) {
        gdk_draw_pixbuf(pixmap(c), c.gc, pixbuf, int(int64_t(r.x) - x), int(int64_t(r.y) - y), r.x, r.y, r.width, r.height, GDK_RGB_DITHER_NONE,
                        0, 0);
        show_later(c);
    }
    g_object_unref(pixbuf);
}

constexpr unsigned char OPAQUE = 0xFF;

void read(const CanvasParts& c, int x, int y, unsigned char rgba[4]) { wex_read_drawable(pixmap(c), x, y, rgba); }
}  // namespace

const Painter wex_gtk_painter = {circle, square, line, pixel, out, picture, read};

// One pixel of a drawable through a pixbuf; a pixbuf without alpha reads opaque.
void wex_read_drawable(GdkDrawable* drawable, int x, int y, unsigned char rgba[4]) {
    GdkPixbuf* pixbuf =
        gdk_pixbuf_get_from_drawable(nullptr, drawable, gdk_colormap_get_system(), x, y, 0, 0, 1, 1);
    if (!pixbuf) return;
    const guchar* p = gdk_pixbuf_get_pixels(pixbuf);
    int channels = gdk_pixbuf_get_n_channels(pixbuf);
    for (int i = 0; i < 3; ++i) rgba[i] = p[i];
    rgba[3] = channels > 3 ? p[3] : OPAQUE;
    g_object_unref(pixbuf);
}

gboolean wex_canvas_repainted(gpointer image, gpointer, gpointer) {
    T4K_FUNCTION(wex_canvas_repainted);
    memory.repainted(image);
    return FALSE;
}
}  // namespace wex
