// events.h (internal): connecting the toolkit's own signal handlers, and its handlers for keys and the pointer.
#pragma once
#include <type_traits>
#include "wex/bindings.h"

namespace wex {
// The event codes with which CANVAS connects wex_mouse_event to the pointer signals.
constexpr int WEX_MOUSE_MOTION = 0, WEX_MOUSE_SCROLL = 10, WEX_MOUSE_PRESS = 20, WEX_MOUSE_LEAVE = 30,
              WEX_MOUSE_RELEASE = 40;

/* Connects one of the toolkit's own handlers to a signal; the one place where a handler is
 * handed to GLib as a bare GCallback.  GLib's marshallers call a handler as a function of the
 * instance, the signal's arguments and the user data, every pointer among them a gpointer and
 * every number as itself, returning gboolean when the signal has a result.  Each handler
 * connected here is declared exactly so, which makes that call one through its own type.
 * `release`, when given, frees the data once the connection goes. */
template <class R, class... A>
void wex_connect(gpointer instance, const char* signal, R (*handler)(A...), gpointer data = nullptr,
                 GClosureNotify release = nullptr, GConnectFlags flags = GConnectFlags(0)) {
    static_assert(((std::is_same_v<A, gpointer> || std::is_integral_v<A>) && ...),
                  "a handler takes its pointer arguments as gpointer, as GLib passes them");
    g_signal_connect_data(instance, signal, G_CALLBACK(handler), data, release, flags);
}

// "key-press-event" of every window and dialog (in_dialog nonzero): records the key and runs
// the program's key functions.
gboolean wex_key_press(gpointer window, gpointer key_event, gpointer in_dialog);
gboolean wex_mouse_event(gpointer widget, gpointer event, gpointer code);
}  // namespace wex
