// init.cpp: INIT, the toolkit's global state, the scaling rule, the main loop and the screen size.
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include "runtime/runtime.h"
#include "wex/bindings.h"
#include "wex/canvas.h"
#include "wex/library.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"

namespace wex {
Widget WIDGET = nullptr;
int WEX_WIDGET_SHOW = 1;
int WEX_CANVAS_TYPE = 0;
double WEX_FONT_SIZE_FACTOR = 1;
double WEX_XFT_SIZE_FACTOR = 1;
double WEX_DEFAULT_XFT_SIZE = 96;
char* wex_Goocanvas$ = nullptr;
wex_gui_properties_t wex_gui_properties{};

namespace {
constexpr double WEX_BASE_DPI = 96;         // the screen resolution that needs no scaling
constexpr double WEX_BASE_FONT_POINTS = 10; // the font size that needs no scaling

void set_text(char*& field, const char* text) { field = __t4k_Copy_String(field, text); }

/* X answers a request it cannot carry out (a pixmap beyond its size or its memory, which
 * sizes a program passes can lead GTK to ask for) with an error long after the request, and
 * GDK ends the program at any error that no trap catches.  One trap stays open for the whole
 * run; SYNC says what it caught and opens it again. */
void report_x_refusals() {
    const int code = gdk_error_trap_pop();
    gdk_error_trap_push();
    if (code == 0) return;
    std::printf("WARNING: X refused a request (error %d)! Going on without it.\n", code);
    std::fflush(stdout);
}

void set_defaults() {
    wex_gui_properties_t& p = wex_gui_properties;
    set_text(p.table_option, "");
    set_text(p.gl_library, "");
    set_text(p.clipboard, "");
    set_text(p.markup, "");
    set_text(p.gl_library, "NONE");
    p.mouse_wheel = -1;
    p.mouse_button = -1;
    p.mouse_x = -1;
    p.mouse_y = -1;
    p.mouse_widget = nullptr;
    set_text(p.clipboard, "CLIPBOARD");
}
}  // namespace

namespace {
double scaled(int value) { return value * WEX_FONT_SIZE_FACTOR * WEX_XFT_SIZE_FACTOR; }
}  // namespace

int wex_scale(int value) {
    const double v = scaled(value);
    if (!(v > INT_MIN)) return std::isnan(v) ? 0 : INT_MIN;
    if (!(v < INT_MAX)) return INT_MAX;
    return static_cast<int>(std::lrint(v));
}

int wex_size(double pixels) {
    if (std::isnan(pixels) || pixels < 0) return -1;
    return pixels < WEX_MAX_PIXELS ? static_cast<int>(std::lrint(pixels)) : WEX_MAX_PIXELS;
}

int wex_scaled_size(int value) { return wex_size(scaled(value)); }

// A font name without a size would give 0 and shrink every scaled widget to nothing; such a
// desktop is taken to need no scaling.
double wex_desktop_font_factor() {
    T4K_FUNCTION(wex_desktop_font_factor);
    gchar* name = nullptr;
    g_object_get(gtk_settings_get_default(), "gtk-font-name", &name, nullptr);
    PangoFontDescription* font = pango_font_description_from_string(name ? name : "");
    const int size = pango_font_description_get_size(font);
    pango_font_description_free(font);
    g_free(name);
    if (size <= 0) return 1;
    return size / double(PANGO_SCALE) / WEX_BASE_FONT_POINTS;
}

void INIT() {
    T4K_FUNCTION(INIT);
    const LibraryFiles files = wex_locate_libraries();
    ERROR = 0;  // the candidates that failed to open left it at 3
    set_defaults();
    wex_bind_libraries(files);
    const bool goocanvas = wex_group_bound(Library::goocanvas);
    wex_Goocanvas$ = __t4k_Copy_String(wex_Goocanvas$, goocanvas ? files[Library::goocanvas] : WEX_NOTFOUND);
    if (wex_group_bound(Library::gl)) wex_load_glfont();
    WIDGET = nullptr;
    wex_gui_properties.timer_id = -1;
    wex_registry_init();
    WEX_DEFAULT_XFT_SIZE = WEX_BASE_DPI;
    WEX_XFT_SIZE_FACTOR = 1;
    gtk_init(nullptr, nullptr);
    gdk_error_trap_push();
    WEX_FONT_SIZE_FACTOR = wex_desktop_font_factor();
}

void DISPLAY() {
    T4K_FUNCTION(DISPLAY);
    gtk_main();
}

// Only a GL canvas has buffers to swap, and SYNC swaps them only while a GL option is in force.
void SYNC() {
    T4K_FUNCTION(SYNC);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    report_x_refusals();
    // Both the option and the canvas's own kind must say GL: a GL option may be in force while
    // the current canvas is a GTK one (made before it, or made without a GL library).  Its buffers
    // are shown only when its context can be made current: X refuses the swap of a GL window
    // that has none (one never shown yet, or lying outside its window).
    const CanvasParts* canvas = wex_current_canvas();
    if (WEX_CANVAS_TYPE == 1 && canvas && canvas->kind == 1 && wex_gl_begin(canvas->drawable))
        wex_gl_swap(canvas->drawable);
}

void QUIT() {
    T4K_FUNCTION(QUIT);
    std::exit(0);
}

int SCREENSIZE(int n) {
    T4K_FUNCTION(SCREENSIZE);
    switch (n) {
    case 0: return gdk_screen_get_width(gdk_screen_get_default());
    case 1: return gdk_screen_height();
    default: return 0;
    }
}
}  // namespace wex
