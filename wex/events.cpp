// events.cpp: callbacks, the one timer, and the recorded key and pointer state.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "runtime/runtime.h"
#include "wex/events.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"

namespace wex {
namespace {
// The signal each kind of widget connects, by its registry signal code.
constexpr const char* SIGNALS[] = {
    nullptr,  // 0: no callback signal
    "show", "clicked", "activate", "button-press-event", "changed",
    "value-changed", "response", "set-focus-child", "insert-text",
};
constexpr int EXTERNAL_SIGNAL = -1;

// CALLBACK knows every code; CALLBACKX has no entry for an edit field's "insert-text".
struct Connector {
    int last_code;
    const char* failure;
};
constexpr Connector PLAIN = {9, "WARNING: Cannot setup callback for wex_widget!"};
constexpr Connector WITH_DATA = {8, "WARNING: Cannot setup callback for widget!"};

const char* signal_of(Widget widget, const Connector& connector) {
    intptr_t code = WEX_GET(wex_widget_signal, widget);
    if (code == EXTERNAL_SIGNAL) return WEX_GET(wex_widget_external_signal$, widget);
    if (code >= 1 && code <= connector.last_code) return SIGNALS[code];
    return nullptr;
}

/* After the second and the third press of a quick series GDK sends a synthesised
 * GDK_2BUTTON_PRESS or GDK_3BUTTON_PRESS through "button-press-event" as well, so a program
 * function on that signal would run twice for the second press and three times for the third.
 * Connected just before the function, this handler ends the emission for the synthesised
 * events: the function runs once per physical press. */
gboolean stop_repeated_press(GtkWidget*, GdkEventButton* event, gpointer) {
    return event->type != GDK_BUTTON_PRESS;
}

// A widget without a callback signal ends the program; a null function connects nothing.
void connect(Widget widget, Callback function, gpointer data, const Connector& connector) {
    const char* name = signal_of(widget, connector);
    if (!name) {
        std::printf("%s\n", connector.failure);
        std::fflush(stdout);
        std::exit(0);
    }
    if (!function) return;
    void* target = WEX_GET_HANDLE(void, wex_widget_s_widget, widget);
    if (std::strcmp(name, "button-press-event") == 0)
        g_signal_connect_data(target, name, G_CALLBACK(stop_repeated_press), nullptr, nullptr, GConnectFlags(0));
    g_signal_connect_data(target, name, G_CALLBACK(function), data, nullptr, GConnectFlags(0));
}

constexpr int NO_TIMER = -1;

/* GLib ends a timeout whose function returns 0; the toolkit then forgets its source id, so that
 * a later TIMEOUT removes nothing that is gone.  The id is compared, because the function may
 * itself have set a new timer. */
gboolean run_timer(gpointer function) {
    T4K_FUNCTION(run_timer);
    int id = wex_gui_properties.timer_id;
    int again = reinterpret_cast<TimerFunction>(function)(nullptr);
    if (!again && wex_gui_properties.timer_id == id) wex_gui_properties.timer_id = NO_TIMER;
    return again != 0;
}
}  // namespace

void CALLBACK(Widget widget, Callback function) {
    T4K_FUNCTION(CALLBACK);
    connect(widget, function, nullptr, PLAIN);
}

void CALLBACKX(Widget widget, Callback function, intptr_t data) {
    T4K_FUNCTION(CALLBACKX);
    connect(widget, function, reinterpret_cast<gpointer>(data), WITH_DATA);
}

// One timer at a time: a new one replaces the old; a null function just stops it.
void TIMEOUT(int milliseconds, TimerFunction function) {
    T4K_FUNCTION(TIMEOUT);
    if (wex_gui_properties.timer_id != NO_TIMER) g_source_remove(wex_gui_properties.timer_id);
    wex_gui_properties.timer_id = NO_TIMER;
    if (function)
        wex_gui_properties.timer_id = int(g_timeout_add(milliseconds, run_timer, reinterpret_cast<gpointer>(function)));
}

int KEY() {
    T4K_FUNCTION(KEY);
    return wex_gui_properties.last_key;
}

void RESETKEY() {
    T4K_FUNCTION(RESETKEY);
    wex_gui_properties.last_key = 0;
}

intptr_t MOUSE(int what) {
    T4K_FUNCTION(MOUSE);
    const wex_gui_properties_t& p = wex_gui_properties;
    switch (what) {
        case 0: return p.mouse_x;
        case 1: return p.mouse_y;
        case 2: return p.mouse_button;
        case 3: return p.mouse_wheel;
        case 4: return reinterpret_cast<intptr_t>(p.mouse_widget);
        default: return 0;
    }
}

gboolean wex_key_press(GtkWidget*, GdkEventKey* event) {
    T4K_FUNCTION(wex_key_press);
    wex_gui_properties.last_key = int(event->keyval);
    return FALSE;  // the focused widget still gets the key
}

// The position recorded is the pointer's when the handler runs, relative to the GDK window
// under it: over a canvas that is the canvas's own window, so the values are canvas pixels.
gboolean wex_mouse_event(GtkWidget* widget, GdkEvent* event, gpointer code_data) {
    T4K_FUNCTION(wex_mouse_event);
    wex_gui_properties_t& p = wex_gui_properties;
    int code = GPOINTER_TO_INT(code_data);
    if (code == WEX_MOUSE_LEAVE) {
        p.mouse_x = p.mouse_y = p.mouse_wheel = p.mouse_button = -1;
        return FALSE;
    }
    p.mouse_widget = widget;
    p.mouse_wheel = code == WEX_MOUSE_SCROLL ? int(event->scroll.direction) : -1;
    if (code == WEX_MOUSE_PRESS) p.mouse_button = int(event->button.button);
    if (code == WEX_MOUSE_RELEASE) p.mouse_button = -1;
    GdkWindow* window = gdk_window_at_pointer(nullptr, nullptr);
    gdk_window_get_pointer(window, &p.mouse_x, &p.mouse_y, nullptr);
    return FALSE;  // other handlers of the signal still run
}
}  // namespace wex
