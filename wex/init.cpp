// init.cpp: INIT, the toolkit's global state, the scaling rule, the main loop and the screen size.
#include <cmath>
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

int wex_scale(int value) {
    return static_cast<int>(std::lrint(value * WEX_FONT_SIZE_FACTOR * WEX_XFT_SIZE_FACTOR));
}

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
    wex_Goocanvas$ = __t4k_Copy_String(wex_Goocanvas$, files.goocanvas);
    ERROR = 0;  // the candidates that failed to open left it at 3
    set_defaults();
    if (wex_bind_libraries(files)) wex_load_glfont();
    WIDGET = nullptr;
    wex_gui_properties.timer_id = -1;
    wex_registry_init();
    WEX_DEFAULT_XFT_SIZE = WEX_BASE_DPI;
    WEX_XFT_SIZE_FACTOR = 1;
    gtk_init(nullptr, nullptr);
    WEX_FONT_SIZE_FACTOR = wex_desktop_font_factor();
}

void DISPLAY() {
    T4K_FUNCTION(DISPLAY);
    gtk_main();
}

// Only a GL canvas has buffers to swap: the current canvas may be of another kind than the
// option names, and a GTK canvas or a GooCanvas is no GL area.
void SYNC() {
    T4K_FUNCTION(SYNC);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    const CanvasParts* current = wex_current_canvas();
    if (WEX_CANVAS_TYPE == 1 && current && current->kind == 1) wex_gl_swap(current->drawable);
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
