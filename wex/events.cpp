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
int Callback::operator()(Widget widget, void* data) const {
    switch (shape_) {
    case NONE: return 0;
    case PLAIN: plain_(); return 0;
    case ANSWERS: return answers_();
    case DATA: data_(data); return 0;
    case DATA_ANSWERS: return data_answers_(data);
    case WIDGET_DATA: widget_data_(widget, data); return 0;
    case WIDGET_DATA_ANSWERS: return widget_data_answers_(widget, data);
    }
    return 0;
}

namespace {
// What one connection of CALLBACK or CALLBACKX runs: the program's function with its data.
struct Connection {
    Callback function;
    void* data;
    int run(gpointer instance) const { return function(instance, data); }
};

const Connection& connection_of(gpointer data) { return *static_cast<const Connection*>(data); }
void release(gpointer connection, GClosure*) { delete static_cast<Connection*>(connection); }

/* After the second and the third press of a quick series GDK sends a synthesised
 * GDK_2BUTTON_PRESS or GDK_3BUTTON_PRESS through "button-press-event" as well, so a program
 * function on that signal would run twice for the second press and three times for the third.
 * Such an event ends the emission before the function: it runs once per physical press. */
bool repeated_press(gpointer event) { return static_cast<const GdkEventButton*>(event)->type != GDK_BUTTON_PRESS; }

// The handlers of the callback signals, one per shape of signal.
void on_signal(gpointer instance, gpointer connection) { connection_of(connection).run(instance); }

gboolean on_press(gpointer widget, gpointer event, gpointer connection) {
    if (repeated_press(event)) return TRUE;
    return connection_of(connection).run(widget) != 0;
}

void on_response(gpointer dialog, gint, gpointer connection) { connection_of(connection).run(dialog); }

void on_focus_child(gpointer container, gpointer, gpointer connection) { connection_of(connection).run(container); }

// An edit's text buffer: the place, the text and its length are the signal's.
void on_inserted_text(gpointer buffer, gpointer, gpointer, gint, gpointer connection) {
    connection_of(connection).run(buffer);
}

/* An external widget's signal may have any shape, so its handler is a closure with a marshaller
 * of the toolkit's own: GLib hands that the signal's arguments as values, whatever they are.
 * The first is the object; a gboolean result, where the signal has one, is the function's
 * answer.  A widget's "button-press-event" (the object and the event) skips repeated presses as
 * a canvas's does. */
template <bool skips_repeats>
void run_external(GClosure* closure, GValue* result, guint count, const GValue* values, gpointer, gpointer) {
    const bool repeated = skips_repeats && count == 2 && repeated_press(g_value_peek_pointer(&values[1]));
    const gboolean answer = repeated || connection_of(closure->data).run(g_value_peek_pointer(&values[0])) != 0;
    if (result && G_VALUE_TYPE(result) == G_TYPE_BOOLEAN) g_value_set_boolean(result, answer);
}

void connect_external(gpointer instance, const char* signal, Connection* connection) {
    GClosure* closure = g_closure_new_simple(sizeof(GClosure), connection);
    g_closure_add_finalize_notifier(closure, connection, release);
    const bool press = std::strcmp(signal, "button-press-event") == 0;
    g_closure_set_marshal(closure, press ? run_external<true> : run_external<false>);
    g_signal_connect_closure(instance, signal, closure, FALSE);
    g_closure_sink(closure);  // when the signal did not take it, this frees it and the connection
}

template <auto handler> void connect_typed(gpointer instance, const char* signal, Connection* connection) {
    wex_connect(instance, signal, handler, connection, release);
}

// The signal each kind of widget connects, by its registry signal code, and its handler.
struct Signal {
    const char* name;
    void (*connect)(gpointer instance, const char* signal, Connection* connection);
};
constexpr Signal SIGNALS[] = {
    {nullptr, nullptr},  // 0: no callback signal
    {"show", connect_typed<on_signal>},
    {"clicked", connect_typed<on_signal>},
    {"activate", connect_typed<on_signal>},
    {"button-press-event", connect_typed<on_press>},
    {"changed", connect_typed<on_signal>},
    {"value-changed", connect_typed<on_signal>},
    {"response", connect_typed<on_response>},
    {"set-focus-child", connect_typed<on_focus_child>},
    {"insert-text", connect_typed<on_inserted_text>},
};
constexpr int EXTERNAL_SIGNAL = -1;

// CALLBACK knows every code; CALLBACKX has no entry for an edit field's "insert-text".
struct Connector {
    int last_code;
    const char* failure;
};
constexpr Connector PLAIN = {9, "WARNING: Cannot setup callback for wex_widget!"};
constexpr Connector WITH_DATA = {8, "WARNING: Cannot setup callback for widget!"};

Signal signal_of(Widget widget, const Connector& connector) {
    intptr_t code = WEX_GET(wex_widget_signal, widget);
    if (code == EXTERNAL_SIGNAL) return {WEX_GET(wex_widget_external_signal$, widget), connect_external};
    if (code >= 1 && code <= connector.last_code) return SIGNALS[code];
    return SIGNALS[0];
}

// A widget without a callback signal ends the program; a null function connects nothing.
void connect(Widget widget, Callback function, void* data, const Connector& connector) {
    const Signal signal = signal_of(widget, connector);
    if (!signal.name) {
        std::printf("%s\n", connector.failure);
        std::fflush(stdout);
        std::exit(0);
    }
    if (!function) return;
    signal.connect(WEX_GET_HANDLE(void, wex_widget_s_widget, widget), signal.name, new Connection{function, data});
}

constexpr int NO_TIMER = -1;
Callback timer_function;  // the one timer's function: a new timer removes the old one's source

/* GLib ends a timeout whose function returns 0; the toolkit then forgets its source id, so that
 * a later TIMEOUT removes nothing that is gone.  The id is compared, because the function may
 * itself have set a new timer. */
gboolean run_timer(gpointer) {
    T4K_FUNCTION(run_timer);
    const int id = wex_gui_properties.timer_id;
    const Callback function = timer_function;  // the function may replace it
    const int again = function(nullptr, nullptr);
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
    connect(widget, function, reinterpret_cast<void*>(data), WITH_DATA);
}

// One timer at a time: a new one replaces the old; a null function just stops it.
void TIMEOUT(int milliseconds, Callback function) {
    T4K_FUNCTION(TIMEOUT);
    if (wex_gui_properties.timer_id != NO_TIMER) g_source_remove(wex_gui_properties.timer_id);
    wex_gui_properties.timer_id = NO_TIMER;
    timer_function = function;
    if (function) wex_gui_properties.timer_id = int(g_timeout_add(milliseconds, run_timer, nullptr));
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

gboolean wex_key_press(gpointer, gpointer key_event, gpointer) {
    T4K_FUNCTION(wex_key_press);
    wex_gui_properties.last_key = int(static_cast<const GdkEventKey*>(key_event)->keyval);
    return FALSE;  // the focused widget still gets the key
}

// The position recorded is the pointer's when the handler runs, relative to the GDK window
// under it: over a canvas that is the canvas's own window, so the values are canvas pixels.
gboolean wex_mouse_event(gpointer widget, gpointer event_data, gpointer code_data) {
    T4K_FUNCTION(wex_mouse_event);
    const auto* event = static_cast<const GdkEvent*>(event_data);
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
