// windows.cpp: top-level windows, notebooks and frames, placement with ATTACH, and the calls
// that show, hide, restyle, enable and focus a widget.
#include <cstdlib>
#include <string_view>
#include "runtime/runtime.h"
#include "wex/bindings.h"
#include "wex/events.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/widgets.h"
#include "wex/windows.h"
#include "wex/wex.h"

namespace wex {
namespace {
// Closing any toolkit window ends the program at once, without going back to the main loop.
gboolean end_program(GtkWidget*, GdkEvent*, gpointer) { std::exit(0); }

bool is_kind(Widget widget, const char* kind) { return __t4k__strcmp(WEX_GET(wex_widget_type$, widget), kind) == 0; }

// A handle the registry does not know goes to GTK as null, which GTK refuses with its own
// warning; an arbitrary pointer would make GTK read through it.
GtkWidget* known(Widget widget) {
    const char* kind = WEX_GET(wex_widget_type$, widget);
    return kind && *kind ? static_cast<GtkWidget*>(widget) : nullptr;
}

// The "TABLE" option in force: a homogeneous table of that shape instead of pixel positions.
// An option without a usable shape lays out at pixel positions like no option at all.
bool table_layout(int* columns, int* rows) {
    return wex_table_shape(wex_gui_properties.table_option, columns, rows);
}

GtkWidget* page_container() {
    int columns = 0, rows = 0;
    if (table_layout(&columns, &rows)) return gtk_table_new(guint(rows), guint(columns), TRUE);
    return gtk_fixed_new();
}

// The nth blank-separated key of a notebook's page list, read back into a handle.
GtkWidget* nth_page(const char* pages, guint n) {
    std::string_view rest = pages ? pages : "";
    for (guint i = 0; i < n; ++i) {
        const size_t blank = rest.find(' ');
        if (blank == rest.npos) return nullptr;
        rest.remove_prefix(blank + 1);
    }
    if (rest.empty() || rest.front() == ' ') return nullptr;
    return reinterpret_cast<GtkWidget*>(static_cast<intptr_t>(std::strtoll(rest.data(), nullptr, 10)));
}
}  // namespace

Widget WINDOW(const char* title, int xsize, int ysize) {
    T4K_FUNCTION(WINDOW);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), title ? title : "");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    g_signal_connect(window, "delete-event", G_CALLBACK(end_program), nullptr);
    g_signal_connect(window, "key-press-event", G_CALLBACK(wex_key_press), nullptr);
    int columns = 0, rows = 0;
    if (!table_layout(&columns, &rows)) gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    GtkWidget* container = page_container();
    gtk_container_add(GTK_CONTAINER(window), container);
    gtk_widget_set_size_request(window, wex_scale(xsize), wex_scale(ysize));
    if (WEX_WIDGET_SHOW) gtk_widget_show_all(window);
    WEX_PUT(wex_winstate, window, 0);
    WEX_PUT(wex_widget_xsize, window, xsize);
    WEX_PUT(wex_widget_ysize, window, ysize);
    WEX_PUT(wex_widget_signal, window, 1);
    WEX_PUT_HANDLE(wex_widget_s_widget, window, window);
    WEX_PUT_STR(wex_widget_type$, window, "window");
    WEX_PUT_HANDLE(wex_widget_attach, window, container);
    WEX_PUT_HANDLE(wex_widget_font, window, window);
    WEX_PUT_HANDLE(wex_widget_focus, window, window);
    WIDGET = window;
    return window;
}

Widget NOTEBOOK(const char* title, int xsize, int ysize) {
    T4K_FUNCTION(NOTEBOOK);
    GtkWidget* notebook = gtk_notebook_new();
    GtkWidget* container = page_container();
    gtk_widget_show(container);
    GtkWidget* label = gtk_label_new(title);
    gtk_notebook_append_page(GTK_NOTEBOOK(notebook), container, label);
    if (WEX_WIDGET_SHOW) gtk_widget_show(notebook);
    g_signal_connect(notebook, "switch-page", G_CALLBACK(wex_NOTEBOOK_hack), nullptr);
    WEX_PUT(wex_widget_xsize, notebook, xsize);
    WEX_PUT(wex_widget_ysize, notebook, ysize);
    WEX_PUT_HANDLE(wex_widget_s_widget, notebook, notebook);
    WEX_PUT_STR(wex_widget_type$, notebook, "notebook");
    WEX_PUT_HANDLE(wex_widget_attach, notebook, container);
    WEX_PUT_HANDLE(wex_widget_font, notebook, label);
    WEX_PUT_HANDLE(wex_widget_focus, notebook, notebook);
    WEX_PUT_STR(wex_widget_nb_page$, notebook, Key(container));
    WIDGET = notebook;
    return notebook;
}

void wex_NOTEBOOK_hack(GtkNotebook* notebook, gpointer, guint page_number, gpointer) {
    T4K_FUNCTION(wex_NOTEBOOK_hack);
    if (GtkWidget* page = nth_page(WEX_GET(wex_widget_nb_page$, notebook), page_number))
        WEX_PUT_HANDLE(wex_widget_attach, notebook, page);
}

Widget FRAME(int xsize, int ysize) {
    T4K_FUNCTION(FRAME);
    GtkWidget* frame = gtk_frame_new(nullptr);
    if (WEX_WIDGET_SHOW) gtk_widget_show(frame);
    WEX_PUT(wex_widget_xsize, frame, xsize);
    WEX_PUT(wex_widget_ysize, frame, ysize);
    WEX_PUT_HANDLE(wex_widget_s_widget, frame, frame);
    WEX_PUT_STR(wex_widget_type$, frame, "frame");
    WEX_PUT_HANDLE(wex_widget_font, frame, gtk_frame_get_label_widget(GTK_FRAME(frame)));
    WIDGET = frame;
    return frame;
}

// Fixed layout: positions and sizes in pixels, scaled, except a canvas's size (it has an image
// entry), which must match its backing pixmap.  Table layout: cells, never scaled.
void ATTACH(Widget parent, Widget widget, int x, int y) {
    T4K_FUNCTION(ATTACH);
    auto* container = WEX_GET_HANDLE(GtkWidget, wex_widget_attach, parent);
    if (!parent && is_kind(widget, "window")) {
        gtk_window_move(GTK_WINDOW(widget), x, y);
        return;
    }
    GtkWidget* child = known(widget);
    const int xsize = int(WEX_GET(wex_widget_xsize, widget));
    const int ysize = int(WEX_GET(wex_widget_ysize, widget));
    int columns = 0, rows = 0;
    if (table_layout(&columns, &rows)) {
        gtk_table_attach_defaults(GTK_TABLE(container), child, guint(x), guint(x + xsize), guint(y),
                                  guint(y + ysize));
        return;
    }
    if (WEX_GET(wex_widget_image, widget))
        gtk_widget_set_size_request(child, xsize, ysize);
    else
        gtk_widget_set_size_request(child, wex_scale(xsize), wex_scale(ysize));
    gtk_fixed_put(GTK_FIXED(container), child, wex_scale(x), wex_scale(y));
}

void SHOW(Widget widget) {
    T4K_FUNCTION(SHOW);
    gtk_widget_show_all(known(widget));
}

void HIDE(Widget widget) {
    T4K_FUNCTION(HIDE);
    gtk_widget_hide(known(widget));
}

void FONT(Widget widget, const char* description) {
    T4K_FUNCTION(FONT);
    PangoFontDescription* font = pango_font_description_from_string(description ? description : "");
    gtk_widget_modify_font(WEX_GET_HANDLE(GtkWidget, wex_widget_font, widget), font);
    pango_font_description_free(font);
}

void DISABLE(Widget widget) {
    T4K_FUNCTION(DISABLE);
    gtk_widget_set_sensitive(known(widget), FALSE);
}

void ENABLE(Widget widget) {
    T4K_FUNCTION(ENABLE);
    gtk_widget_set_sensitive(known(widget), TRUE);
}

void FOCUS(Widget widget) {
    T4K_FUNCTION(FOCUS);
    auto* focus = WEX_GET_HANDLE(GtkWidget, wex_widget_focus, widget);
    g_object_set(focus, "can-focus", TRUE, nullptr);
    gtk_widget_grab_focus(focus);
}

void UNFOCUS(Widget widget) {
    T4K_FUNCTION(UNFOCUS);
    g_object_set(WEX_GET_HANDLE(GtkWidget, wex_widget_focus, widget), "can-focus", FALSE, nullptr);
}
}  // namespace wex
