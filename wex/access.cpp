// access.cpp: TEXT, GRAB$, SET and GET, dispatched on a widget's kind name through one table.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"
#include "wex/widgets.h"
#include "wex/windows.h"

namespace wex {
namespace {
using TextFn = void (*)(Widget, const char*);
using GrabFn = char* (*)(Widget);  // gives a return-ring slot
using SetFn = void (*)(Widget, int);
using GetFn = int (*)(Widget);

// What the four calls do for one kind; a null member means "nothing" (GET: 0, GRAB$: "").
struct Behaviour {
    std::string_view kind;
    TextFn text;
    GrabFn grab;
    SetFn set;
    GetFn get;
};

bool is_empty(const char* text) {
    if (__t4k__option_utf8 != 0) return __t4k__ulen(NO_LINE, WEX_UNIT, "LEN", text, -1) == 0;
    return __t4k__len(text) == 0;
}

char* ring(const char* text) { return t4k_ring_return(text); }

// Rings a text that GTK handed over to the caller, and frees GTK's copy.
char* ring_taken(gchar* text) {
    char* slot = t4k_ring_return(text);
    g_free(text);
    return slot;
}

GtkWidget* font_of(Widget w) { return WEX_GET_HANDLE(GtkWidget, wex_widget_font, w); }

// --- window ---
void window_text(Widget w, const char* text) { gtk_window_set_title(GTK_WINDOW(w), text); }
char* window_grab(Widget w) { return ring(gtk_window_get_title(GTK_WINDOW(w))); }
void window_set(Widget w, int full_screen) {
    if (full_screen != 0) {
        gtk_window_set_resizable(GTK_WINDOW(w), TRUE);
        gtk_window_fullscreen(GTK_WINDOW(w));
        WEX_PUT(wex_winstate, w, 1);
    } else {
        gtk_window_unfullscreen(GTK_WINDOW(w));
        WEX_PUT(wex_winstate, w, 0);
        gtk_window_set_resizable(GTK_WINDOW(w), FALSE);
    }
}
int window_get(Widget w) { return int(WEX_GET(wex_winstate, w)); }

// --- notebook ---
// A new page gets the same kind of container as the window layout, and becomes current, so
// that the switch-page handler makes it the notebook's place for ATTACH.
void notebook_text(Widget w, const char* title) {
    GtkWidget* page = wex_page_container();
    gtk_widget_show(page);
    int index = gtk_notebook_append_page(GTK_NOTEBOOK(w), page, gtk_label_new(title));
    const std::string pages = std::string(WEX_GET(wex_widget_nb_page$, w)) + ' ' + Key(page).text;
    WEX_PUT_STR(wex_widget_nb_page$, w, pages.c_str());
    gtk_notebook_set_current_page(GTK_NOTEBOOK(w), index);
}
char* notebook_grab(Widget w) {
    GtkWidget* page = WEX_GET_HANDLE(GtkWidget, wex_widget_attach, w);
    return ring(gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(w), page));
}
void notebook_set(Widget w, int page) { gtk_notebook_set_current_page(GTK_NOTEBOOK(w), page); }
int notebook_get(Widget w) { return gtk_notebook_get_current_page(GTK_NOTEBOOK(w)); }

// --- buttons: the text is the child label's; a stock button's child is an image and a label
// in a box, which has no text of its own.  Only the toggling kinds have a state. ---
GtkLabel* label_of(Widget w) {
    GtkWidget* child = font_of(w);
    return wex_is_a(child, gtk_label_get_type) ? GTK_LABEL(child) : nullptr;
}
void button_text(Widget w, const char* text) {
    if (GtkLabel* label = label_of(w)) gtk_label_set_text(label, text);
}
char* button_grab(Widget w) {
    GtkLabel* label = label_of(w);
    return ring(label ? gtk_label_get_text(label) : "");
}
void button_set(Widget w, int active) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), active); }
int button_get(Widget w) { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w)); }

// --- entries ---
void entry_text(Widget w, const char* text) { gtk_entry_set_text(GTK_ENTRY(w), text); }
char* entry_grab(Widget w) { return ring(gtk_entry_get_text(GTK_ENTRY(w))); }
void password_set(Widget w, int visible) { gtk_entry_set_visibility(GTK_ENTRY(w), visible); }
int password_get(Widget w) { return gtk_entry_get_visibility(GTK_ENTRY(w)); }

// --- mark ---
void mark_text(Widget w, const char* markup) { gtk_label_set_markup(GTK_LABEL(w), markup); }
char* mark_grab(Widget w) { return ring(gtk_label_get_text(GTK_LABEL(w))); }
void mark_set(Widget w, int selectable) { gtk_label_set_selectable(GTK_LABEL(w), selectable); }
int mark_get(Widget w) { return gtk_label_get_selectable(GTK_LABEL(w)); }

// --- combo: wex_widget_comborows holds the index of the last row (absent: the first) ---
void combo_text(Widget w, const char* text) {
    int last = int(WEX_GET(wex_widget_comborows, w));
    if (!is_empty(text)) {
        gtk_combo_box_append_text(GTK_COMBO_BOX(w), text);
        WEX_PUT(wex_widget_comborows, w, last + 1);
    } else if (last >= 0) {
        gtk_combo_box_remove_text(GTK_COMBO_BOX(w), last);
        WEX_PUT(wex_widget_comborows, w, last - 1);
    }
}
char* combo_grab(Widget w) { return ring_taken(gtk_combo_box_get_active_text(GTK_COMBO_BOX(w))); }
// Any negative row makes no row active, as -1 does.
// -1 clears the choice; a row below it leaves the combo as it is, as GTK would (less its critical).
void combo_set(Widget w, int row) {
    if (row >= -1) gtk_combo_box_set_active(GTK_COMBO_BOX(w), row);
}
int combo_get(Widget w) { return gtk_combo_box_get_active(GTK_COMBO_BOX(w)); }

// --- frame: a new label is a new widget, and FONT must reach it ---
void frame_text(Widget w, const char* text) {
    gtk_frame_set_label(GTK_FRAME(w), text);
    WEX_PUT_HANDLE(wex_widget_font, w, gtk_frame_get_label_widget(GTK_FRAME(w)));
}
char* frame_grab(Widget w) { return ring(gtk_frame_get_label(GTK_FRAME(w))); }

// --- edit: the handle is the scrolled window; the buffer keeps its tag and end mark ---
GtkTextBuffer* buffer_of(Widget w) { return WEX_GET_HANDLE(GtkTextBuffer, wex_widget_s_widget, w); }

void edit_text(Widget w, const char* text) {
    GtkTextBuffer* buffer = buffer_of(w);
    if (is_empty(text)) {
        gtk_text_buffer_set_text(buffer, "", 0);
        return;
    }
    t4k::Scratch end(EDIT_TEXT_LINE, WEX_UNIT);
    gtk_text_buffer_get_end_iter(buffer, end.as<GtkTextIter>());
    GtkTextTag* tag = WEX_GET_HANDLE(GtkTextTag, wex_widget_attach, buffer);
    gtk_text_buffer_insert_with_tags(buffer, end.as<GtkTextIter>(), wex_as_utf8(text).c_str(), -1, tag, nullptr);
}
char* edit_grab(Widget w) {
    GtkTextBuffer* buffer = buffer_of(w);
    // Declared end first so that the start iterator's site is released first.
    t4k::Scratch end(EDIT_GRAB_END_LINE, WEX_UNIT);
    t4k::Scratch start(EDIT_GRAB_START_LINE, WEX_UNIT);
    gtk_text_buffer_get_start_iter(buffer, start.as<GtkTextIter>());
    gtk_text_buffer_get_end_iter(buffer, end.as<GtkTextIter>());
    return ring_taken(gtk_text_buffer_get_text(buffer, start.as<GtkTextIter>(), end.as<GtkTextIter>(), TRUE));
}
// Brings line `line` to the bottom edge of the view.
void edit_set(Widget w, int line) {
    GtkTextBuffer* buffer = buffer_of(w);
    t4k::Scratch at(EDIT_SET_LINE, WEX_UNIT);
    gtk_text_buffer_get_iter_at_line(buffer, at.as<GtkTextIter>(), line);
    GtkTextMark* mark = gtk_text_buffer_create_mark(buffer, nullptr, at.as<GtkTextIter>(), FALSE);
    GtkWidget* view = WEX_GET_HANDLE(GtkWidget, wex_widget_focus, w);
    gtk_text_view_scroll_to_mark(GTK_TEXT_VIEW(view), mark, 0.0, TRUE, 0.0, 1.0);
    gtk_text_buffer_delete_mark(buffer, mark);
}
int edit_get(Widget w) { return gtk_text_buffer_get_line_count(buffer_of(w)); }

// --- list: one text column; the selection is the attach entry, the store the buffer ---
GtkListStore* store_of(Widget w) { return WEX_GET_HANDLE(GtkListStore, wex_widget_buffer, w); }
GtkTreeSelection* selection_of(Widget w) { return WEX_GET_HANDLE(GtkTreeSelection, wex_widget_attach, w); }

void list_text(Widget w, const char* text) {
    GtkListStore* store = store_of(w);
    if (is_empty(text)) {
        gtk_list_store_clear(store);
        return;
    }
    GtkTreeIter row;
    gtk_list_store_append(store, &row);
    gtk_list_store_set(store, &row, 0, text, -1);
}
char* list_grab(Widget w) {
    GtkTreeIter row;
    if (!gtk_tree_selection_get_selected(selection_of(w), nullptr, &row)) return ring("");
    gchar* text = nullptr;
    gtk_tree_model_get(GTK_TREE_MODEL(store_of(w)), &row, 0, &text, -1);
    return ring_taken(text);
}
// A negative row names no path (GTK would warn and hand back none to select).
void list_set(Widget w, int row) {
    if (row < 0) return;
    GtkTreePath* path = gtk_tree_path_new_from_string(__t4k__str(row));
    gtk_tree_selection_select_path(selection_of(w), path);
    gtk_tree_path_free(path);
}
int list_get(Widget w) {
    GtkTreeIter row;
    if (!gtk_tree_selection_get_selected(selection_of(w), nullptr, &row)) return -1;
    gchar* path = gtk_tree_model_get_string_from_iter(GTK_TREE_MODEL(store_of(w)), &row);
    int index = path != nullptr ? int(__t4k__val(path)) : 0;
    g_free(path);
    return index;
}

// --- dialogs ---
void msgdialog_text(Widget w, const char* text) { g_object_set(w, "text", text, nullptr); }
char* msgdialog_grab(Widget w) {
    gchar* text = nullptr;
    g_object_get(w, "text", &text, nullptr);
    return ring_taken(text);
}

void filedialog_text(Widget w, const char* name) { gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(w), name); }
// The chosen files as their URIs without the "file://" prefix, joined by single blanks; the
// URI escapes stay (a blank in a name reads %20), so the blanks always separate names.  None
// after the dialog was declined: the highlighted file was not chosen.
char* filedialog_grab(Widget w) {
    constexpr std::string_view SCHEME = "file://";
    if (wex_file_dialog_declined(w)) return ring("");
    GSList* uris = gtk_file_chooser_get_uris(GTK_FILE_CHOOSER(w));
    std::string names;
    for (GSList* node = uris; node != nullptr; node = node->next) {
        const char* uri = static_cast<const char*>(node->data);
        if (node != uris) names += ' ';
        if (std::strlen(uri) > SCHEME.size()) names += uri + SCHEME.size();
        g_free(node->data);
    }
    g_slist_free(uris);
    return ring(names.c_str());
}

// --- clipboard ---
void clipboard_text(Widget w, const char* text) { gtk_clipboard_set_text(GTK_CLIPBOARD(w), text, -1); }
char* clipboard_grab(Widget w) { return ring_taken(gtk_clipboard_wait_for_text(GTK_CLIPBOARD(w))); }

// --- progress bar: SET and GET speak percent ---
void progressbar_text(Widget w, const char* text) { gtk_progress_bar_set_text(GTK_PROGRESS_BAR(w), text); }
char* progressbar_grab(Widget w) { return ring(gtk_progress_bar_get_text(GTK_PROGRESS_BAR(w))); }
// A progress bar shows 0 to 100 percent; a value beyond either end leaves the bar as it is, as
// GTK would (less its critical).
void progressbar_set(Widget w, int percent) {
    if (percent < 0 || percent > 100) return;
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(w), percent / 100.0);
}
int progressbar_get(Widget w) { return int(std::lrint(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(w)) * 100)); }

// --- spin button and sliders ---
void spin_set(Widget w, int value) { gtk_spin_button_set_value(GTK_SPIN_BUTTON(w), value); }
int spin_get(Widget w) { return gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(w)); }
void slider_set(Widget w, int value) { gtk_range_set_value(GTK_RANGE(w), value); }
// Truncated toward zero; a value beyond the int range reads as its nearest end.
int slider_get(Widget w) {
    const double value = gtk_range_get_value(GTK_RANGE(w));
    return int(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

// --- image: the event box's image child shows the file ---
void image_text(Widget w, const char* file) {
    GtkWidget* image = font_of(w);
    gtk_image_set_from_file(GTK_IMAGE(image), file);
    gtk_widget_queue_draw(image);
    WEX_PUT_STR(wex_widget_image$, w, file);
}
char* image_grab(Widget w) { return ring(WEX_GET(wex_widget_image$, w)); }

// --- external widgets: their owner's functions, when it gave them ---
void external_text(Widget w, const char* text) {
    if (t4k_fn f = WEX_GET(wex_widget_external_text, w)) reinterpret_cast<void (*)(Widget, const char*)>(f)(w, text);
}
char* external_grab(Widget w) {
    t4k_fn f = WEX_GET(wex_widget_external_grab, w);
    return ring(f != nullptr ? reinterpret_cast<const char* (*)(Widget)>(f)(w) : "");
}
void external_set(Widget w, int value) {
    if (t4k_fn f = WEX_GET(wex_widget_external_set, w)) reinterpret_cast<void (*)(Widget, int)>(f)(w, value);
}
int external_get(Widget w) {
    t4k_fn f = WEX_GET(wex_widget_external_get, w);
    return f != nullptr ? reinterpret_cast<int (*)(Widget)>(f)(w) : 0;
}

// Kinds not listed here ("separator", "canvas", unregistered handles) get nothing.
constexpr Behaviour BEHAVIOURS[] = {
    {"window", window_text, window_grab, window_set, window_get},
    {"notebook", notebook_text, notebook_grab, notebook_set, notebook_get},
    {"button", button_text, button_grab, nullptr, nullptr},
    {"stock", button_text, button_grab, nullptr, nullptr},
    {"toggle", button_text, button_grab, button_set, button_get},
    {"check", button_text, button_grab, button_set, button_get},
    {"radio", button_text, button_grab, button_set, button_get},
    {"entry", entry_text, entry_grab, nullptr, nullptr},
    {"password", entry_text, entry_grab, password_set, password_get},
    {"mark", mark_text, mark_grab, mark_set, mark_get},
    {"combo", combo_text, combo_grab, combo_set, combo_get},
    {"frame", frame_text, frame_grab, nullptr, nullptr},
    {"edit", edit_text, edit_grab, edit_set, edit_get},
    {"list", list_text, list_grab, list_set, list_get},
    {"msgdialog", msgdialog_text, msgdialog_grab, nullptr, nullptr},
    {"filedialog", filedialog_text, filedialog_grab, nullptr, nullptr},
    {"clipboard", clipboard_text, clipboard_grab, nullptr, nullptr},
    {"progressbar", progressbar_text, progressbar_grab, progressbar_set, progressbar_get},
    {"spin", nullptr, nullptr, spin_set, spin_get},
    {"slider", nullptr, nullptr, slider_set, slider_get},
    {"image", image_text, image_grab, nullptr, nullptr},
    {"external", external_text, external_grab, external_set, external_get},
};

const Behaviour* behaviour_of(Widget w) {
    std::string_view kind = WEX_GET(wex_widget_type$, w);
    for (const Behaviour& behaviour : BEHAVIOURS)
        if (behaviour.kind == kind) return &behaviour;
    return nullptr;
}

}  // namespace

void TEXT(Widget widget, const char* text) {
    T4K_FUNCTION(TEXT);
    TextCopy copy(text);
    const Behaviour* behaviour = behaviour_of(widget);
    if (behaviour != nullptr && behaviour->text != nullptr) behaviour->text(widget, copy);
}

char* GRAB$(Widget widget) {
    T4K_FUNCTION(GRAB$);
    const Behaviour* behaviour = behaviour_of(widget);
    if (behaviour != nullptr && behaviour->grab != nullptr) return behaviour->grab(widget);
    return ring("");
}

void SET(Widget widget, int value) {
    T4K_FUNCTION(SET);
    const Behaviour* behaviour = behaviour_of(widget);
    if (behaviour != nullptr && behaviour->set != nullptr) behaviour->set(widget, value);
}

int GET(Widget widget) {
    T4K_FUNCTION(GET);
    const Behaviour* behaviour = behaviour_of(widget);
    return behaviour != nullptr && behaviour->get != nullptr ? behaviour->get(widget) : 0;
}
}  // namespace wex
