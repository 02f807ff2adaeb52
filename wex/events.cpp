// events.cpp: callbacks on signals and keys, the one timer, and the recorded key and pointer state.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "runtime/runtime.h"
#include "wex/events.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"

namespace wex {
namespace detail {
// The arguments of one emission after its object, as GLib hands them to a closure.
struct Arguments {
    guint count;
    const GValue* values;
};
}  // namespace detail

int Callback::operator()(Widget widget, const detail::Arguments* arguments, void* data) const {
    switch (shape_) {
    case NONE: return 0;
    case PLAIN: plain_(); return 0;
    case ANSWERS: return answers_();
    case DATA: data_(data); return 0;
    case DATA_ANSWERS: return data_answers_(data);
    case WIDGET_DATA: widget_data_(widget, data); return 0;
    case WIDGET_DATA_ANSWERS: return widget_data_answers_(widget, data);
    case ARGUMENTS: return arguments_.run(arguments_.function, widget, arguments, data);
    }
    return 0;
}

namespace {
using detail::Arguments;

/* What a value of each fundamental type holds, as the code a program function's parameter
 * takes it by (see detail::argument_code), and where a whole number sits in the GValue. */
struct Held {
    GType fundamental;
    char code;
    long long (*number)(const GValue& value);
};
long long signed_int(const GValue& v) { return v.data[0].v_int; }
long long unsigned_int(const GValue& v) { return v.data[0].v_uint; }
long long signed_long(const GValue& v) { return v.data[0].v_long; }
long long unsigned_long(const GValue& v) { return (long long)v.data[0].v_ulong; }
long long signed_64(const GValue& v) { return v.data[0].v_int64; }
long long unsigned_64(const GValue& v) { return (long long)v.data[0].v_uint64; }
constexpr Held HELD[] = {
    {G_TYPE_CHAR, 'i', signed_int},     {G_TYPE_UCHAR, 'i', unsigned_int},  {G_TYPE_BOOLEAN, 'i', signed_int},
    {G_TYPE_INT, 'i', signed_int},      {G_TYPE_UINT, 'i', unsigned_int},   {G_TYPE_LONG, 'i', signed_long},
    {G_TYPE_ULONG, 'i', unsigned_long}, {G_TYPE_INT64, 'i', signed_64},     {G_TYPE_UINT64, 'i', unsigned_64},
    {G_TYPE_ENUM, 'i', signed_long},    {G_TYPE_FLAGS, 'i', unsigned_long}, {G_TYPE_FLOAT, 'd', nullptr},
    {G_TYPE_DOUBLE, 'd', nullptr},      {G_TYPE_STRING, 's', nullptr},      {G_TYPE_POINTER, 'p', nullptr},
    {G_TYPE_BOXED, 'p', nullptr},       {G_TYPE_OBJECT, 'p', nullptr},      {G_TYPE_PARAM, 'p', nullptr},
    {G_TYPE_INTERFACE, 'p', nullptr},
};
constexpr Held NOTHING = {G_TYPE_INVALID, 0, nullptr};

// A signal's parameter types carry a flag bit that no value's type has.
const Held& held_by(GType type) {
    const GType fundamental = g_type_fundamental(type & ~G_SIGNAL_TYPE_STATIC_SCOPE);
    for (const Held& held : HELD)
        if (held.fundamental == fundamental) return held;
    return NOTHING;
}

const GValue* value_at(const Arguments* arguments, int index) {
    return arguments && index >= 0 && guint(index) < arguments->count ? &arguments->values[index] : nullptr;
}
const Held& held_at(const Arguments* arguments, int index) {
    const GValue* value = value_at(arguments, index);
    return value ? held_by(G_VALUE_TYPE(value)) : NOTHING;
}

/* Whether a function asking for these argument codes takes the signal's parameters: it asks for
 * none, or for as many as there are, each as what the signal passes (a pointer may take a text). */
bool fits(const char* codes, const GType* types, guint count) {
    if (*codes == '\0') return true;
    if (std::strlen(codes) != count) return false;
    for (guint i = 0; i < count; ++i) {
        const char passed = held_by(types[i]).code;
        if (codes[i] != passed && !(codes[i] == 'p' && passed == 's')) return false;
    }
    return true;
}

// The signal may carry a detail ("notify::label"): its parameters are the signal's.
bool takes_signal(gpointer instance, const char* signal, const Callback& function) {
    const char* codes = function.argument_codes();
    if (*codes == '\0') return true;
    const std::string name(signal, std::strcspn(signal, ":"));
    GSignalQuery query{};
    g_signal_query(g_signal_lookup(name.c_str(), G_OBJECT_TYPE(instance)), &query);
    return query.signal_id != 0 && fits(codes, query.param_types, query.n_params);
}

// What one connection of CALLBACK or CALLBACKX runs: the program's function with its data.
struct Connection {
    Callback function;
    void* data;
};

void release(gpointer connection, GClosure*) { delete static_cast<Connection*>(connection); }

/* After the second and the third press of a quick series GDK sends a synthesised
 * GDK_2BUTTON_PRESS or GDK_3BUTTON_PRESS through "button-press-event" as well, so a program
 * function on that signal would run twice for the second press and three times for the third.
 * The function skips such an event, which goes on to the signal's other handlers: GTK's own
 * select a word or a line with them. */
bool repeated_press(gpointer event) { return static_cast<const GdkEventButton*>(event)->type != GDK_BUTTON_PRESS; }

/* Every program function on a signal runs from a closure with a marshaller of the toolkit's
 * own, which GLib hands the object and the signal's arguments as values, whatever they are.  A
 * gboolean result, where the signal has one, is the function's answer.  On "button-press-event"
 * (the object and the event) the function skips repeated presses. */
template <bool skips_repeats>
void run_connection(GClosure* closure, GValue* result, guint count, const GValue* values, gpointer, gpointer) {
    const auto& connection = *static_cast<const Connection*>(closure->data);
    const bool repeated = skips_repeats && count == 2 && repeated_press(g_value_peek_pointer(&values[1]));
    const Arguments arguments{count - 1, values + 1};
    const gboolean answer =
        !repeated && connection.function(g_value_peek_pointer(&values[0]), &arguments, connection.data) != 0;
    if (result && G_VALUE_TYPE(result) == G_TYPE_BOOLEAN) g_value_set_boolean(result, answer);
}

void connect_closure(gpointer instance, const char* signal, Connection* connection) {
    GClosure* closure = g_closure_new_simple(sizeof(GClosure), connection);
    g_closure_add_finalize_notifier(closure, connection, release);
    const bool press = std::strcmp(signal, "button-press-event") == 0;
    g_closure_set_marshal(closure, press ? run_connection<true> : run_connection<false>);
    g_signal_connect_closure(instance, signal, closure, FALSE);
    g_closure_sink(closure);  // when the signal did not take it, this frees it and the connection
}

// The signal each kind of widget connects, by its registry signal code.
constexpr const char* SIGNALS[] = {
    nullptr,  // 0: no callback signal
    "show", "clicked", "activate", "button-press-event", "changed", "value-changed", "response",
    "set-focus-child", "insert-text",
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

[[noreturn]] void refuse(const Connector& connector) {
    std::printf("%s\n", connector.failure);
    std::fflush(stdout);
    std::exit(0);
}

// A widget without a callback signal, or a function that does not take the signal's arguments,
// ends the program; a null function connects nothing.
void connect(Widget widget, Callback function, void* data, const Connector& connector) {
    const char* signal = signal_of(widget, connector);
    if (!signal) refuse(connector);
    if (!function) return;
    gpointer instance = WEX_GET_HANDLE(void, wex_widget_s_widget, widget);
    if (!takes_signal(instance, signal, function)) refuse(connector);
    connect_closure(instance, signal, new Connection{function, data});
}

// The functions of KEYCALLBACK, in the order connected, each with its window.
struct KeyFunction {
    Widget window;
    Callback function;
};
std::vector<KeyFunction> key_functions;
constexpr GType KEY_ARGUMENT[] = {G_TYPE_INT};

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

void KEYCALLBACK(Widget window, Callback function) {
    T4K_FUNCTION(KEYCALLBACK);
    const bool is_window = __t4k__strcmp(WEX_GET(wex_widget_type$, window), "window") == 0;
    if (!is_window || !fits(function.argument_codes(), KEY_ARGUMENT, 1)) refuse(PLAIN);
    if (function) key_functions.push_back({window, function});
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

int KEYSTATE() {
    T4K_FUNCTION(KEYSTATE);
    return wex_gui_properties.key_state;
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

// A window's functions run for its keys, every one for a dialog's; the first that answers
// nonzero ends the key's way.  The key is held as GLib holds a signal's int argument.
gboolean wex_key_press(gpointer window, gpointer key_event, gpointer in_dialog) {
    T4K_FUNCTION(wex_key_press);
    const auto* key = static_cast<const GdkEventKey*>(key_event);
    wex_gui_properties.last_key = int(key->keyval);
    wex_gui_properties.key_state = int(key->state);
    GValue value = G_VALUE_INIT;
    value.g_type = G_TYPE_INT;
    value.data[0].v_int = int(key->keyval);
    const Arguments argument{1, &value};
    for (size_t i = 0; i < key_functions.size(); ++i) {  // a function may connect another
        const KeyFunction k = key_functions[i];
        if ((in_dialog || k.window == window) && k.function(window, &argument, nullptr) != 0) return TRUE;
    }
    return FALSE;  // the focused widget gets the key
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
namespace detail {
long long argument_number(const Arguments* arguments, int index) {
    const Held& held = held_at(arguments, index);
    return held.number ? held.number(*value_at(arguments, index)) : 0;
}

double argument_real(const Arguments* arguments, int index) {
    const GValue* value = value_at(arguments, index);
    if (held_at(arguments, index).code != 'd') return 0;
    return G_VALUE_TYPE(value) == G_TYPE_FLOAT ? value->data[0].v_float : value->data[0].v_double;
}

const char* argument_text(const Arguments* arguments, int index) {
    if (held_at(arguments, index).code != 's') return "";
    const auto* text = static_cast<const char*>(value_at(arguments, index)->data[0].v_pointer);
    return text ? text : "";
}

void* argument_pointer(const Arguments* arguments, int index) {
    const char code = held_at(arguments, index).code;
    return code == 'p' || code == 's' ? value_at(arguments, index)->data[0].v_pointer : nullptr;
}
}  // namespace detail
}  // namespace wex
