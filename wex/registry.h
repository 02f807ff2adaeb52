// registry.h (internal): the 24 tables of the widget registry, keyed by the handle's decimal text.
#pragma once
#include <cstdint>
#include "runtime/runtime.h"

// The 24 tables, in the order INIT creates them: value kind and name.
#define WEX_REGISTRY_TABLES(X) \
    X(int, wex_widget_xsize) \
    X(int, wex_widget_ysize) \
    X(int, wex_widget_signal) \
    X(int, wex_widget_s_widget) \
    X(int, wex_winstate) \
    X(int, wex_canvas_expose) \
    X(str, wex_widget_type$) \
    X(int, wex_widget_attach) \
    X(int, wex_widget_font) \
    X(int, wex_widget_focus) \
    X(int, wex_widget_buffer) \
    X(str, wex_widget_nb_page$) \
    X(int, wex_widget_pix) \
    X(int, wex_widget_context) \
    X(int, wex_widget_image) \
    X(int, wex_widget_color) \
    X(int, wex_widget_ebox) \
    X(int, wex_widget_comborows) \
    X(str, wex_widget_image$) \
    X(fn, wex_widget_external_grab) \
    X(fn, wex_widget_external_text) \
    X(fn, wex_widget_external_set) \
    X(fn, wex_widget_external_get) \
    X(str, wex_widget_external_signal$)

#define WEX_DECLARE_TABLE(kind, name) T4K_ASSOC_DECLARE(kind, name);
WEX_REGISTRY_TABLES(WEX_DECLARE_TABLE)
#undef WEX_DECLARE_TABLE

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
        wex_entry_->value = t4k_copy_tail(wex_entry_->value, (s));                 \
    } while (0)
