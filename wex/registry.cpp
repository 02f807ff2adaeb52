// registry.cpp: the widget registry's 24 tables and keys, REGISTER and METHOD.
#include <iterator>
#include "wex/registry.h"
#include "wex/bindings.h"
#include "wex/wex.h"
#include "wex/widgets.h"

#define WEX_DEFINE_TABLE(kind, name) T4K_ASSOC_DEFINE(kind, name);
WEX_REGISTRY_TABLES(WEX_DEFINE_TABLE)
#undef WEX_DEFINE_TABLE

namespace wex {
namespace {
// Room for 10240 widgets before any table grows.
constexpr int WEX_TABLE_CAPACITY = 10240;

#define WEX_TABLE_ADDRESS(kind, name) &__t4k__##name##_table_,
__t4k__hashtable_t* const registry_tables[] = {WEX_REGISTRY_TABLES(WEX_TABLE_ADDRESS)};
#undef WEX_TABLE_ADDRESS

// METHOD's kinds 1 to 4: the text function, the text-setting function, the value function,
// the value-setting function.
using MethodTable = t4k_assoc_fn* (*)(int create, const char* key, ...);
constexpr MethodTable method_tables[] = {
    __t4k__wex_widget_external_grab__add_secure_,
    __t4k__wex_widget_external_text__add_secure_,
    __t4k__wex_widget_external_get__add_secure_,
    __t4k__wex_widget_external_set__add_secure_,
};

Widget or_self(Widget given, Widget widget) { return given ? given : widget; }
}  // namespace

// Digits are produced from the right into a scratch buffer: no formatting call, since the
// drawing calls make several keys per call.
Key::Key(const void* handle) {
    const intptr_t value = reinterpret_cast<intptr_t>(handle);
    uintptr_t magnitude = value < 0 ? 0 - static_cast<uintptr_t>(value) : static_cast<uintptr_t>(value);
    char digits[sizeof text];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    char* out = text;
    if (value < 0) *out++ = '-';
    while (count > 0) *out++ = digits[--count];
    *out = '\0';
}

void wex_registry_init() {
    for (__t4k__hashtable_t* table : registry_tables)
        __t4k__hashtable_init(table, T4K_ASSOC_ITEM, WEX_TABLE_CAPACITY, nullptr);
}

void REGISTER(Widget widget, int xsize, int ysize, const char* signal$, Widget s_widget, Widget attach,
              Widget font, Widget focus) {
    T4K_FUNCTION(REGISTER);
    if (!widget) return;
    if (WEX_WIDGET_SHOW && wex_is_a(widget, gtk_widget_get_type)) gtk_widget_show(static_cast<GtkWidget*>(widget));
    WEX_PUT(wex_widget_xsize, widget, xsize);
    WEX_PUT(wex_widget_ysize, widget, ysize);
    WEX_PUT(wex_widget_signal, widget, -1);
    WEX_PUT_STR(wex_widget_external_signal$, widget, signal$);
    WEX_PUT_HANDLE(wex_widget_s_widget, widget, or_self(s_widget, widget));
    WEX_PUT_STR(wex_widget_type$, widget, "external");
    WEX_PUT_HANDLE(wex_widget_attach, widget, or_self(attach, widget));
    WEX_PUT_HANDLE(wex_widget_font, widget, or_self(font, widget));
    WEX_PUT_HANDLE(wex_widget_focus, widget, or_self(focus, widget));
}

void METHOD(Widget widget, int kind, t4k_fn function) {
    T4K_FUNCTION(METHOD);
    if (kind < 1 || kind > static_cast<int>(std::size(method_tables))) return;
    method_tables[kind - 1](1, Key(widget), nullptr)->value = function;
}
}  // namespace wex
