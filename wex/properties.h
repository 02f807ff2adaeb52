// properties.h (internal): wex_gui_properties, the toolkit's one record of global state.
#pragma once
#include "runtime/report_sites.h"  // WEX_UNIT, the toolkit's unit name in error reports

namespace wex {
struct wex_gui_properties_t {
    int last_key;         // key value of the last key press (KEY)
    int key_state;        // modifier mask of the last key press (KEYSTATE)
    int timer_id;         // GLib source of the TIMEOUT timer, -1 when none
    void* canvas;         // drawing target of the current canvas
    int gl_freeze;        // "GL_FREEZE": no make-current or swap around GL drawing
    void* mouse_widget;   // widget of the last mouse event
    int mouse_x;          // pointer position of the last mouse event, -1 after leaving
    int mouse_y;
    int mouse_wheel;      // scroll direction of the last event if it was a scroll, else -1
    int mouse_button;     // button of the last press, -1 after release or leaving
    char* table_option;   // the whole "TABLE" option
    char* gl_library;     // "NONE", "GLAREA" or "GLEXT"
    char* clipboard;      // "CLIPBOARD", "PRIMARY" or "SECONDARY"
    char* markup;         // "MARKUP" attribute list for edit widgets
};
extern wex_gui_properties_t wex_gui_properties;

// X's largest coordinate: no widget or canvas is made larger than this.
constexpr int WEX_MAX_PIXELS = 32767;
// The largest window: each repaint of a whole window costs X this many pixels squared.
constexpr int WEX_MAX_WINDOW_PIXELS = 8192;

// Sizes and positions the program gives in pixels, scaled by the font and screen-resolution
// factors; a result beyond the int range is cut to it.
int wex_scale(int value);

// A width or height to request from GTK: a negative one asks for the natural size (GTK's -1),
// and none exceeds WEX_MAX_PIXELS.  wex_scaled_size scales it first.
int wex_size(double pixels);
int wex_scaled_size(int value);

// The desktop's default font size ("gtk-font-name") in points, divided by 10; 1 when the
// setting names no size.
double wex_desktop_font_factor();

// The largest font size a desktop font, a "FONT" option or a "MARKUP" number may ask for, in
// points: GTK and Pango compute glyph and widget sizes from it in ints.
constexpr double WEX_MAX_FONT_POINTS = 1000;

// Whether a font name names a size a desktop font can have (or none); if not, it prints the
// warning and the caller keeps the previous font.
bool wex_usable_font(const char* name);

}  // namespace wex
