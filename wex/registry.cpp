// registry.cpp: the widget registry's 24 tables and keys, REGISTER and METHOD.
#include <iterator>
#include "wex/registry.h"
#include "wex/bindings.h"
#include "wex/wex.h"

T4K_ASSOC_DEFINE(int, wex_widget_xsize);
T4K_ASSOC_DEFINE(int, wex_widget_ysize);
T4K_ASSOC_DEFINE(int, wex_widget_signal);
T4K_ASSOC_DEFINE(int, wex_widget_s_widget);
T4K_ASSOC_DEFINE(int, wex_winstate);
T4K_ASSOC_DEFINE(int, wex_canvas_expose);
T4K_ASSOC_DEFINE(str, wex_widget_type$);
T4K_ASSOC_DEFINE(int, wex_widget_attach);
T4K_ASSOC_DEFINE(int, wex_widget_font);
T4K_ASSOC_DEFINE(int, wex_widget_focus);
T4K_ASSOC_DEFINE(int, wex_widget_buffer);
T4K_ASSOC_DEFINE(str, wex_widget_nb_page$);
T4K_ASSOC_DEFINE(int, wex_widget_pix);
T4K_ASSOC_DEFINE(int, wex_widget_context);
T4K_ASSOC_DEFINE(int, wex_widget_image);
T4K_ASSOC_DEFINE(int, wex_widget_color);
T4K_ASSOC_DEFINE(int, wex_widget_ebox);
T4K_ASSOC_DEFINE(int, wex_widget_comborows);
T4K_ASSOC_DEFINE(str, wex_widget_image$);
T4K_ASSOC_DEFINE(fn, wex_widget_external_grab);
T4K_ASSOC_DEFINE(fn, wex_widget_external_text);
T4K_ASSOC_DEFINE(fn, wex_widget_external_set);
T4K_ASSOC_DEFINE(fn, wex_widget_external_get);
T4K_ASSOC_DEFINE(str, wex_widget_external_signal$);

namespace wex {
namespace {
// Room for 10240 widgets before any table grows.
constexpr int WEX_TABLE_CAPACITY = 10240;

// In the order INIT creates them.
__t4k__hashtable_t* const registry_tables[] = {
    &__t4k__wex_widget_xsize_table_,         &__t4k__wex_widget_ysize_table_,
    &__t4k__wex_widget_signal_table_,        &__t4k__wex_widget_s_widget_table_,
    &__t4k__wex_winstate_table_,             &__t4k__wex_canvas_expose_table_,
    &__t4k__wex_widget_type$_table_,         &__t4k__wex_widget_attach_table_,
    &__t4k__wex_widget_font_table_,          &__t4k__wex_widget_focus_table_,
    &__t4k__wex_widget_buffer_table_,        &__t4k__wex_widget_nb_page$_table_,
    &__t4k__wex_widget_pix_table_,           &__t4k__wex_widget_context_table_,
    &__t4k__wex_widget_image_table_,         &__t4k__wex_widget_color_table_,
    &__t4k__wex_widget_ebox_table_,          &__t4k__wex_widget_comborows_table_,
    &__t4k__wex_widget_image$_table_,        &__t4k__wex_widget_external_grab_table_,
    &__t4k__wex_widget_external_text_table_, &__t4k__wex_widget_external_set_table_,
    &__t4k__wex_widget_external_get_table_,  &__t4k__wex_widget_external_signal$_table_,
};

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
    if (WEX_WIDGET_SHOW) gtk_widget_show(static_cast<GtkWidget*>(widget));
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
