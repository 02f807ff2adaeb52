// events.h (internal): the toolkit's own handlers for keys and the pointer.
#pragma once
#include "wex/bindings.h"

namespace wex {
// The event codes with which CANVAS connects wex_mouse_event to the pointer signals.
constexpr int WEX_MOUSE_MOTION = 0, WEX_MOUSE_SCROLL = 10, WEX_MOUSE_PRESS = 20, WEX_MOUSE_LEAVE = 30,
              WEX_MOUSE_RELEASE = 40;

gboolean wex_key_press(GtkWidget* widget, GdkEventKey* event);
gboolean wex_mouse_event(GtkWidget* widget, GdkEvent* event, gpointer code);
}  // namespace wex
