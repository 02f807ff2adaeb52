// windows.cpp: top-level windows, notebooks and frames, the layout of their pages, placement
// with ATTACH, and the calls that show, hide, restyle, enable and focus a widget.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>
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
// What windows, notebooks and frames leave in the registry.
constexpr Profile WINDOW_PROFILE{"window", 1, BUTTON_LIKE, Show::all};
constexpr Profile NOTEBOOK_PROFILE{"notebook", 0, BUTTON_LIKE, Show::widget};
constexpr Profile FRAME_PROFILE{"frame", 0, SIZES | S_WIDGET | FONT_OF, Show::widget};

// Closing any toolkit window ends the program at once, without going back to the main loop.
gboolean end_program(gpointer, gpointer, gpointer) { std::exit(0); }

bool is_kind(Widget widget, const char* kind) { return __t4k__strcmp(WEX_GET(wex_widget_type$, widget), kind) == 0; }

// A widget the registry knows, or null: calls on any other handle do nothing.  An unknown
// pointer is never read, and GTK would refuse null (or a clipboard) with a critical.
GtkWidget* known_widget(Widget widget) {
    const char* kind = WEX_GET(wex_widget_type$, widget);
    return *kind && wex_is_a(widget, gtk_widget_get_type) ? static_cast<GtkWidget*>(widget) : nullptr;
}

// A widget's font or focus entry, when it is a widget (REGISTER may have been given any object).
GtkWidget* role_widget(void* entry) {
    return wex_is_a(entry, gtk_widget_get_type) ? static_cast<GtkWidget*>(entry) : nullptr;
}

// Whether `child` may go into `container`: it has no place yet, is no top-level window, and
// is not the container itself or one of its ancestors (a widget cannot hold itself).
bool can_place(GtkWidget* child, GtkWidget* container) {
    if (child->parent != nullptr || GTK_WIDGET_TOPLEVEL(child)) return false;
    for (GtkWidget* w = container; w != nullptr; w = w->parent)
        if (w == child) return false;
    return true;
}

// Table cells from `first` spanning `count`, kept inside what a GTK table holds and at least
// one cell wide (GTK refuses an empty or reversed span).
struct Span {
    guint from, to;
};
Span cells(int first, int count) {
    const long long from = std::clamp<long long>(first, 0, WEX_MAX_TABLE_CELLS - 1);
    const long long to = std::clamp<long long>(static_cast<long long>(first) + count, from + 1, WEX_MAX_TABLE_CELLS);
    return {guint(from), guint(to)};
}

int on_screen(int position) { return std::clamp(position, -WEX_MAX_PIXELS, WEX_MAX_PIXELS); }

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

// The columns and rows of the first word containing "TABLE" that two more words follow: the
// one rule for every table layout.  Each number is truncated and must lie within what a GTK
// table can hold, 1 to 65535; anything else is no usable shape.
bool wex_table_shape(const char* option, int* columns, int* rows) {
    if (option == nullptr || std::strstr(option, "TABLE") == nullptr) return false;
    std::vector<std::string_view> words;
    for_each_word(option, ' ', [&](std::string_view word) { words.push_back(word); });
    auto cells = [](std::string_view word) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*s", int(word.size()), word.data());
        const double value = std::atof(text);
        return value >= 1 && value < WEX_MAX_TABLE_CELLS + 1 ? int(value) : 0;
    };
    for (size_t i = 0; i + 2 < words.size(); ++i) {
        if (words[i].find("TABLE") == std::string_view::npos) continue;
        *columns = cells(words[i + 1]);
        *rows = cells(words[i + 2]);
        return *columns > 0 && *rows > 0;
    }
    return false;
}

bool wex_table_layout() {
    int columns = 0, rows = 0;
    return wex_table_shape(wex_gui_properties.table_option, &columns, &rows);
}

GtkWidget* wex_page_container() {
    int columns = 0, rows = 0;
    if (wex_table_shape(wex_gui_properties.table_option, &columns, &rows))
        return gtk_table_new(guint(rows), guint(columns), TRUE);
    return gtk_fixed_new();
}

/* GTK repaints a window through one off-screen pixmap as large as the part that changed, up to
 * the whole window, and X keeps those pixels in its memory: a window of X's largest size, 32767
 * square, costs 4 GiB at each repaint, which takes seconds and which X may refuse (GDK would then
 * end the program).  No screen shows more than WEX_MAX_WINDOW_PIXELS a side: a window stops there,
 * however large its widgets would make it, and a program that asks for more is told. */
void wex_size_toplevel(GtkWidget* window, int xsize, int ysize) {
    int width = wex_scaled_size(xsize), height = wex_scaled_size(ysize);
    if (width > WEX_MAX_WINDOW_PIXELS || height > WEX_MAX_WINDOW_PIXELS) {
        std::printf("WARNING: Window size too large! Keeping it within %d x %d pixels.\n", WEX_MAX_WINDOW_PIXELS,
                    WEX_MAX_WINDOW_PIXELS);
        std::fflush(stdout);
        width = std::min(width, WEX_MAX_WINDOW_PIXELS);
        height = std::min(height, WEX_MAX_WINDOW_PIXELS);
    }
    gtk_widget_set_size_request(window, width, height);
    GdkGeometry limits{};
    limits.max_width = WEX_MAX_WINDOW_PIXELS;
    limits.max_height = WEX_MAX_WINDOW_PIXELS;
    gtk_window_set_geometry_hints(GTK_WINDOW(window), nullptr, &limits, GDK_HINT_MAX_SIZE);
}

Widget WINDOW(const char* title, int xsize, int ysize) {
    T4K_FUNCTION(WINDOW);
    TextCopy caption(title);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), caption);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    wex_connect(window, "delete-event", end_program);
    wex_connect(window, "key-press-event", wex_key_press);
    if (!wex_table_layout()) gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    GtkWidget* container = wex_page_container();
    gtk_container_add(GTK_CONTAINER(window), container);
    wex_size_toplevel(window, xsize, ysize);
    WEX_PUT(wex_winstate, window, 0);
    return wex_enrol(WINDOW_PROFILE, {.self = window, .attach = container}, xsize, ysize);
}

Widget NOTEBOOK(const char* title, int xsize, int ysize) {
    T4K_FUNCTION(NOTEBOOK);
    TextCopy caption(title);
    GtkWidget* notebook = gtk_notebook_new();
    GtkWidget* container = wex_page_container();
    gtk_widget_show(container);
    GtkWidget* label = gtk_label_new(caption);
    gtk_notebook_append_page(GTK_NOTEBOOK(notebook), container, label);
    wex_enrol(NOTEBOOK_PROFILE, {.self = notebook, .attach = container, .font = label}, xsize, ysize);
    wex_connect(notebook, "switch-page", wex_NOTEBOOK_hack);
    WEX_PUT_STR(wex_widget_nb_page$, notebook, Key(container));
    return notebook;
}

void wex_NOTEBOOK_hack(gpointer notebook, gpointer, guint page_number, gpointer) {
    T4K_FUNCTION(wex_NOTEBOOK_hack);
    if (GtkWidget* page = nth_page(WEX_GET(wex_widget_nb_page$, notebook), page_number))
        WEX_PUT_HANDLE(wex_widget_attach, notebook, page);
}

Widget FRAME(int xsize, int ysize) {
    T4K_FUNCTION(FRAME);
    GtkWidget* frame = gtk_frame_new(nullptr);
    return wex_enrol(FRAME_PROFILE, {.self = frame, .font = gtk_frame_get_label_widget(GTK_FRAME(frame))}, xsize, ysize);
}

// The parent's container decides: a table places in cells, never scaled; a fixed container in
// pixels, scaled, except a canvas's size (it has an image entry), which must match its backing
// pixmap.  A widget goes into one place only; anything else is left as it is.
void ATTACH(Widget parent, Widget widget, int x, int y) {
    T4K_FUNCTION(ATTACH);
    if (!parent && is_kind(widget, "window")) {
        gtk_window_move(GTK_WINDOW(widget), on_screen(x), on_screen(y));
        return;
    }
    GtkWidget* child = known_widget(widget);
    auto* container = WEX_GET_HANDLE(GtkWidget, wex_widget_attach, parent);
    const bool table = wex_is_a(container, gtk_table_get_type);
    if (!child || !(table || wex_is_a(container, gtk_fixed_get_type)) || !can_place(child, container)) return;
    const int xsize = int(WEX_GET(wex_widget_xsize, widget));
    const int ysize = int(WEX_GET(wex_widget_ysize, widget));
    if (table) {
        const Span across = cells(x, xsize), down = cells(y, ysize);
        gtk_table_attach_defaults(GTK_TABLE(container), child, across.from, across.to, down.from, down.to);
    } else {
        if (WEX_GET(wex_widget_image, widget))
            gtk_widget_set_size_request(child, wex_size(xsize), wex_size(ysize));
        else
            gtk_widget_set_size_request(child, wex_scaled_size(xsize), wex_scaled_size(ysize));
        gtk_fixed_put(GTK_FIXED(container), child, on_screen(wex_scale(x)), on_screen(wex_scale(y)));
    }
}

void SHOW(Widget widget) {
    T4K_FUNCTION(SHOW);
    if (GtkWidget* w = known_widget(widget)) gtk_widget_show_all(w);
}

void HIDE(Widget widget) {
    T4K_FUNCTION(HIDE);
    if (GtkWidget* w = known_widget(widget)) gtk_widget_hide(w);
}

void FONT(Widget widget, const char* description) {
    T4K_FUNCTION(FONT);
    GtkWidget* target = role_widget(WEX_GET_HANDLE(void, wex_widget_font, known_widget(widget)));
    if (!target) return;
    TextCopy text(description);
    if (!wex_usable_font(text)) return;
    PangoFontDescription* font = pango_font_description_from_string(text);
    gtk_widget_modify_font(target, font);
    pango_font_description_free(font);
}

void DISABLE(Widget widget) {
    T4K_FUNCTION(DISABLE);
    if (GtkWidget* w = known_widget(widget)) gtk_widget_set_sensitive(w, FALSE);
}

void ENABLE(Widget widget) {
    T4K_FUNCTION(ENABLE);
    if (GtkWidget* w = known_widget(widget)) gtk_widget_set_sensitive(w, TRUE);
}

void FOCUS(Widget widget) {
    T4K_FUNCTION(FOCUS);
    GtkWidget* focus = role_widget(WEX_GET_HANDLE(void, wex_widget_focus, known_widget(widget)));
    if (!focus) return;
    g_object_set(focus, "can-focus", TRUE, nullptr);
    gtk_widget_grab_focus(focus);
}

// The widget's accessible object takes both texts as its "accessible-name" and
// "accessible-description", which screen readers speak; ATK copies them.
void DESCRIBE(Widget widget, const char* name, const char* description) {
    T4K_FUNCTION(DESCRIBE);
    GtkWidget* w = known_widget(widget);
    if (!w) return;
    TextCopy name_text(name), description_text(description);
    g_object_set(gtk_widget_get_accessible(w), "accessible-name", static_cast<const char*>(name_text),
                 "accessible-description", static_cast<const char*>(description_text), nullptr);
}

void UNFOCUS(Widget widget) {
    T4K_FUNCTION(UNFOCUS);
    if (GtkWidget* focus = role_widget(WEX_GET_HANDLE(void, wex_widget_focus, known_widget(widget))))
        g_object_set(focus, "can-focus", FALSE, nullptr);
}
}  // namespace wex
