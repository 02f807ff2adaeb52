// canvas.cpp: CANVAS and DRAW, the registry entries of a canvas and the current-canvas cache.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include "wex/canvas.h"
#include "wex/events.h"
#include "wex/library.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"
#include "wex/widgets.h"
#include "wex/windows.h"

namespace wex {
namespace {
constexpr int CANVAS_EVENTS = GDK_POINTER_MOTION_MASK | GDK_BUTTON_RELEASE_MASK | GDK_KEY_PRESS_MASK |
                              GDK_SCROLL_MASK;
static_assert(CANVAS_EVENTS == 0x200604);

// The pointer signals of the event box, each telling wex_mouse_event what it got.  The press
// is connected before any program function can be, so that the function reads where and with
// which button it was made, even when no motion came before it.
struct MouseSignal {
    const char* name;
    int code;
    GConnectFlags flags;
};
constexpr MouseSignal MOUSE_SIGNALS[] = {
    {"button-press-event", WEX_MOUSE_PRESS, GConnectFlags(0)},
    {"button-release-event", WEX_MOUSE_RELEASE, GConnectFlags(0)},
    {"motion-notify-event", WEX_MOUSE_MOTION, GConnectFlags(0)},
    {"scroll-event", WEX_MOUSE_SCROLL, G_CONNECT_AFTER},
    {"leave-notify-event", WEX_MOUSE_LEAVE, GConnectFlags(0)},
};

constexpr int COLOUR_RECORD_SIZE = 256;
// The event box is the canvas's handle: its CALLBACK signal is "button-press-event" (4).
constexpr Profile CANVAS_PROFILE{"canvas", 4, SIZES | S_WIDGET, Show::all};

// GdkGL attribute list of a GtkGLArea: RGBA, one bit each of red, green and blue at least,
// double buffered.
int GLAREA_ATTRIBUTES[] = {4, 8, 1, 9, 1, 10, 1, 5, 0};
constexpr int GLEXT_MODE = 18;  // RGB, double buffered, with a depth buffer

// The drawing widget of a new canvas, what the drawing calls draw on and what they cut to.
struct Surface {
    GtkWidget* widget;
    void* drawable;
    GdkColor* record;
    GdkGC* gc;
    int width, height;
};

bool gl_bound() { return wex_gl_usable(wex_uses_glarea()); }

// GDK refuses a pixmap without pixels, and X none beyond its largest coordinate.
int pixmap_side(int pixels) { return std::clamp(pixels, 1, WEX_MAX_PIXELS); }

// Kind 0: a GTK image showing a white pixmap, with its graphics context and colour record.
// The registered size stays as given.
Surface gtk_surface(int width, int height) {
    GtkWidget* image = gtk_image_new();
    GdkWindow* root = gdk_get_default_root_window();
    int w = width, h = height;
    if (wex_table_layout()) {  // a table cell may grow a canvas to any size
        w = gdk_screen_get_width(gdk_screen_get_default());
        h = gdk_screen_height();
    }
    w = pixmap_side(w);
    h = pixmap_side(h);
    GdkPixmap* pixmap = gdk_pixmap_new(root, w, h, -1);
    GdkGC* gc = gdk_gc_new(pixmap);
    gtk_image_set_from_pixmap(GTK_IMAGE(image), pixmap, nullptr);
    gtk_misc_set_alignment(GTK_MISC(image), 0, 0);

    auto* record = static_cast<GdkColor*>(g_malloc(COLOUR_RECORD_SIZE));
    std::memset(record, 0, COLOUR_RECORD_SIZE);
    gdk_color_parse("#FFFFFF", record);
    gdk_gc_set_rgb_bg_color(gc, record);
    gdk_gc_set_rgb_fg_color(gc, record);
    gdk_draw_rectangle(pixmap, gc, TRUE, 0, 0, w, h);
    gtk_widget_queue_draw(image);
    wex_connect(image, "expose-event", wex_canvas_repainted);
    WEX_PUT_HANDLE(wex_widget_context, pixmap, gc);
    return {image, pixmap, record, gc, w, h};
}

const char* gl_in_use = nullptr;  // the GL library of the first GL canvas, once there is one

// Kind 1: a GL drawing area from GtkGLArea or GtkGLExt, cleared at its first expose.
Surface gl_surface(int width, int height) {
    GtkWidget* area;
    gl_in_use = wex_uses_glarea() ? "GLAREA" : "GLEXT";
    if (wex_uses_glarea()) {
        area = gtk_gl_area_new(GLAREA_ATTRIBUTES);
    } else {
        gtk_gl_init(nullptr, nullptr);
        area = gtk_drawing_area_new();
        GdkGLConfig* config = gdk_gl_config_new_by_mode(GLEXT_MODE);
        gtk_widget_set_gl_capability(area, config, nullptr, TRUE, 0);
    }
    wex_connect(area, "expose-event", wex_glcanvas_expose);
    return {area, area, nullptr, nullptr, width, height};
}

// Kind 2: a GooCanvas with bounds of the canvas's size.
Surface goo_surface(int width, int height) {
    GtkWidget* canvas = goo_canvas_new();
    goo_canvas_set_bounds(reinterpret_cast<GooCanvas*>(canvas), 0, 0, width, height);
    return {canvas, canvas, nullptr, nullptr, width, height};
}

constexpr Surface (*SURFACES[])(int, int) = {gtk_surface, gl_surface, goo_surface};

GtkWidget* event_box_around(GtkWidget* widget) {
    GtkWidget* ebox = gtk_event_box_new();
    gtk_widget_set_events(ebox, CANVAS_EVENTS);
    for (const MouseSignal& s : MOUSE_SIGNALS)
        wex_connect(ebox, s.name, wex_mouse_event, GINT_TO_POINTER(s.code), nullptr, s.flags);
    gtk_container_add(GTK_CONTAINER(ebox), widget);
    return ebox;
}

/* Every canvas made, by its drawable: its parts as CANVAS made them, its kind among them.  The
 * kind is the canvas's own: WEX_CANVAS_TYPE names the kind of the next canvas, not of those made
 * before it (a GooCanvas drawn on after "CANVAS GTK" is still a GooCanvas), and neither a GL
 * canvas nor a GooCanvas has a colour record to tell it by.  A canvas lives as long as the
 * process, and so does its record, at a place that never moves. */
std::unordered_map<const void*, CanvasParts> canvases;
const CanvasParts* current = nullptr;  // the record of the current canvas when last looked up
}  // namespace

int wex_canvas_kind() {
    switch (WEX_CANVAS_TYPE) {
        case 1: return gl_bound() ? 1 : 0;
        case 2: return goo_canvas_new ? 2 : 0;
        default: return 0;
    }
}

const CanvasParts* wex_current_canvas() {
    const void* drawable = wex_gui_properties.canvas;
    if (!drawable) return nullptr;
    if (current && current->drawable == drawable) return current;
    const auto found = canvases.find(drawable);
    current = found == canvases.end() ? nullptr : &found->second;
    return current;
}

const char* wex_gl_library_in_use() { return gl_in_use; }

Widget CANVAS(int width, int height) {
    T4K_FUNCTION(CANVAS);
    const int kind = wex_canvas_kind();
    Surface surface = SURFACES[kind](width, height);
    GtkWidget* ebox = event_box_around(surface.widget);

    WEX_PUT_HANDLE(wex_widget_pix, surface.widget, surface.drawable);
    WEX_PUT_HANDLE(wex_widget_color, surface.drawable, surface.record);
    WEX_PUT_HANDLE(wex_widget_ebox, surface.drawable, ebox);
    WEX_PUT_HANDLE(wex_widget_image, ebox, surface.widget);
    canvases.emplace(surface.drawable, CanvasParts{surface.drawable, surface.record, surface.gc, ebox, surface.widget,
                                                   width, height, surface.width, surface.height, kind});
    wex_gui_properties.canvas = surface.drawable;
    return wex_enrol(CANVAS_PROFILE, {.self = ebox}, width, height);
}

Widget DRAW(Widget canvas) {
    T4K_FUNCTION(DRAW);
    void* widget = canvas ? WEX_GET_HANDLE(void, wex_widget_image, canvas) : nullptr;
    void* drawable = widget ? WEX_GET_HANDLE(void, wex_widget_pix, widget) : nullptr;
    wex_gui_properties.canvas = drawable;
    const CanvasParts* parts = wex_current_canvas();
    if (parts && parts->kind == 1) wex_gl_begin(drawable);
    return drawable;
}
}  // namespace wex
