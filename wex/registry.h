// registry.h (internal): the 24 tables of the widget registry, keyed by the handle's decimal text.
#pragma once
#include <cstdint>
#include "runtime/runtime.h"

T4K_ASSOC_DECLARE(int, wex_widget_xsize);
T4K_ASSOC_DECLARE(int, wex_widget_ysize);
T4K_ASSOC_DECLARE(int, wex_widget_signal);
T4K_ASSOC_DECLARE(int, wex_widget_s_widget);
T4K_ASSOC_DECLARE(int, wex_winstate);
T4K_ASSOC_DECLARE(int, wex_canvas_expose);
T4K_ASSOC_DECLARE(str, wex_widget_type$);
T4K_ASSOC_DECLARE(int, wex_widget_attach);
T4K_ASSOC_DECLARE(int, wex_widget_font);
T4K_ASSOC_DECLARE(int, wex_widget_focus);
T4K_ASSOC_DECLARE(int, wex_widget_buffer);
T4K_ASSOC_DECLARE(str, wex_widget_nb_page$);
T4K_ASSOC_DECLARE(int, wex_widget_pix);
T4K_ASSOC_DECLARE(int, wex_widget_context);
T4K_ASSOC_DECLARE(int, wex_widget_image);
T4K_ASSOC_DECLARE(int, wex_widget_color);
T4K_ASSOC_DECLARE(int, wex_widget_ebox);
T4K_ASSOC_DECLARE(int, wex_widget_comborows);
T4K_ASSOC_DECLARE(str, wex_widget_image$);
T4K_ASSOC_DECLARE(fn, wex_widget_external_grab);
T4K_ASSOC_DECLARE(fn, wex_widget_external_text);
T4K_ASSOC_DECLARE(fn, wex_widget_external_set);
T4K_ASSOC_DECLARE(fn, wex_widget_external_get);
T4K_ASSOC_DECLARE(str, wex_widget_external_signal$);

namespace wex {
// A handle's registry key: its full value as a signed pointer-wide integer, in decimal.
struct Key {
    char text[24];
    explicit Key(const void* handle);
    operator const char*() const { return text; }
};

// Create the 24 tables (INIT).
void wex_registry_init();
}  // namespace wex

// Read an entry (0, null or "" when absent) and write one (created when missing).
#define WEX_GET(table, handle) (_##table##_(wex::Key(handle), nullptr))
#define WEX_GET_HANDLE(type, table, handle) (reinterpret_cast<type*>(WEX_GET(table, handle)))
#define WEX_PUT(table, handle, v) \
    (__t4k__##table##__add_secure_(1, wex::Key(handle), nullptr)->value = (v))
#define WEX_PUT_HANDLE(table, handle, h) WEX_PUT(table, handle, reinterpret_cast<intptr_t>(h))
#define WEX_PUT_STR(table, handle, s)                                              \
    do {                                                                           \
        auto* wex_entry_ = __t4k__##table##__add_secure_(1, wex::Key(handle), nullptr); \
        wex_entry_->value = __t4k_Copy_String(wex_entry_->value, (s));             \
    } while (0)
