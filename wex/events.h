// events.h (internal): the toolkit's own handlers for keys and the pointer.
#pragma once
#include "wex/bindings.h"

namespace wex {
gboolean wex_key_press(GtkWidget* widget, GdkEventKey* event);
gboolean wex_mouse_event(GtkWidget* widget, GdkEvent* event, gpointer code);
}  // namespace wex
