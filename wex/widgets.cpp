// widgets.cpp: the widget constructors, each a GTK creation plus one registry profile.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <unordered_set>
#include <utility>
#include "wex/events.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"
#include "wex/widgets.h"

namespace wex {
namespace {
constexpr Profile BUTTON_PROFILE{"button", 2, BUTTON_LIKE, Show::widget};
constexpr Profile STOCK_PROFILE{"stock", 2, BUTTON_LIKE, Show::widget};
constexpr Profile TOGGLE_PROFILE{"toggle", 2, BUTTON_LIKE, Show::widget};
constexpr Profile CHECK_PROFILE{"check", 2, BUTTON_LIKE, Show::widget};
constexpr Profile RADIO_PROFILE{"radio", 2, BUTTON_LIKE, Show::widget};
constexpr Profile ENTRY_PROFILE{"entry", 3, SIZES | S_WIDGET | FONT_OF | FOCUS_ON, Show::widget};
constexpr Profile PASSWORD_PROFILE{"password", 3, SIZES | S_WIDGET | FONT_OF | FOCUS_ON, Show::widget};
constexpr Profile MARK_PROFILE{"mark", 0, SIZES | S_WIDGET | FONT_OF, Show::widget};
constexpr Profile COMBO_PROFILE{"combo", 5, SIZES | S_WIDGET | FONT_OF | FOCUS_ON, Show::widget};
constexpr Profile HSEPARATOR_PROFILE{"separator", 0, XSIZE | S_WIDGET, Show::widget};
constexpr Profile VSEPARATOR_PROFILE{"separator", 0, YSIZE | S_WIDGET, Show::widget};
constexpr Profile EDIT_PROFILE{"edit", 9, SIZES | S_WIDGET | FONT_OF | FOCUS_ON, Show::all};
constexpr Profile LIST_PROFILE{"list", 5, BUTTON_LIKE | BUFFER, Show::all};
constexpr Profile MSGDIALOG_PROFILE{"msgdialog", 7, SIZES | S_WIDGET | FONT_OF, Show::never};
constexpr Profile FILEDIALOG_PROFILE{"filedialog", 7, SIZES | S_WIDGET | FONT_OF, Show::never};
constexpr Profile SPIN_PROFILE{"spin", 6, BUTTON_LIKE, Show::widget};
constexpr Profile SLIDER_PROFILE{"slider", 6, BUTTON_LIKE, Show::widget};
constexpr Profile IMAGE_PROFILE{"image", 4, SIZES | S_WIDGET | FONT_OF | FOCUS_ON, Show::all};
constexpr Profile CLIPBOARD_PROFILE{"clipboard", 0, 0, Show::never};
constexpr Profile PROGRESSBAR_PROFILE{"progressbar", 1, SIZES | S_WIDGET | ATTACH_TO | FOCUS_ON, Show::widget};

void show(Show rule, void* widget) {
    if (WEX_WIDGET_SHOW == 0) return;
    if (rule == Show::widget) gtk_widget_show(GTK_WIDGET(widget));
    if (rule == Show::all) gtk_widget_show_all(GTK_WIDGET(widget));
}

Widget button_kind(const Profile& profile, GtkWidget* button, int xsize, int ysize) {
    return wex_enrol(profile, {.self = button, .font = gtk_bin_get_child(GTK_BIN(button))}, xsize, ysize);
}

Widget entry_kind(const char* text, int xsize, int ysize) {
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(entry), text);
    return wex_enrol(ENTRY_PROFILE, {.self = entry}, xsize, ysize);
}

Widget slider_kind(GtkWidget* scale, int xsize, int ysize) {
    return wex_enrol(SLIDER_PROFILE, {.self = scale}, xsize, ysize);
}

GtkWidget* scrolled(GtkWidget* view) {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_ETCHED_IN);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    return scroller;
}

// Dialogs are sized at once (they are never attached) and only hide when closed, so that
// SHOW can bring them back.  Their keys go to the program's key functions.
void dialog_common(GtkWidget* dialog, int xsize, int ysize) {
    wex_connect(dialog, "key-press-event", wex_key_press, GINT_TO_POINTER(1));
    wex_size_toplevel(dialog, xsize, ysize);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
}

gboolean hide_dialog(gpointer dialog, gpointer, gpointer) { return gtk_widget_hide_on_delete(GTK_WIDGET(dialog)); }

void hide_on_close(GtkWidget* dialog) { wex_connect(dialog, "delete-event", hide_dialog); }

std::unordered_set<const void*> declined_dialogs;  // see wex_file_dialog_declined

void on_file_answer(gpointer dialog, gint response, gpointer) {
    if (response == GTK_RESPONSE_ACCEPT)
        declined_dialogs.erase(dialog);
    else
        declined_dialogs.insert(dialog);
}

void on_file_dialog_shown(gpointer dialog, gpointer) { declined_dialogs.erase(dialog); }

/* GTK refuses a range that is empty or reversed, and a step of zero.  The bounds are put in
 * order, a range of one value is widened by one step, a step of zero becomes 1, and what is no
 * number counts as 0; infinite bounds become the largest finite ones whose span is finite. */
struct Range {
    double minimum, maximum, step;
};
constexpr double LIMIT = DBL_MAX / 4;
Range usable_range(double minimum, double maximum, double step) {
    auto finite = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -LIMIT, LIMIT); };
    minimum = finite(minimum), maximum = finite(maximum), step = std::fabs(finite(step));
    if (minimum > maximum) std::swap(minimum, maximum);
    if (step == 0) step = 1;
    if (maximum == minimum) maximum = minimum + step > minimum ? minimum + step : minimum + LIMIT;
    return {minimum, maximum, step};
}

int clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// The dialog's text is markup and also GTK's format string: every percent sign is doubled so
// that it shows as itself and no conversion reads an argument that was never passed.
std::string message_format(const char* text) {
    std::string format = "\n";
    for (const char* c = text; *c != '\0'; ++c) {
        format += *c;
        if (*c == '%') format += '%';
    }
    return format;
}
}  // namespace

Widget wex_enrol(const Profile& profile, const Parts& parts, int xsize, int ysize) {
    void* self = parts.self;
    show(profile.show, self);
    if (profile.entries & XSIZE) WEX_PUT(wex_widget_xsize, self, xsize);
    if (profile.entries & YSIZE) WEX_PUT(wex_widget_ysize, self, ysize);
    if (profile.signal != 0) WEX_PUT(wex_widget_signal, self, profile.signal);
    if (profile.entries & S_WIDGET) WEX_PUT_HANDLE(wex_widget_s_widget, self, parts.s_widget);
    WEX_PUT_STR(wex_widget_type$, self, profile.kind);
    if (profile.entries & ATTACH_TO) WEX_PUT_HANDLE(wex_widget_attach, self, parts.attach);
    if (profile.entries & FONT_OF) WEX_PUT_HANDLE(wex_widget_font, self, parts.font);
    if (profile.entries & FOCUS_ON) WEX_PUT_HANDLE(wex_widget_focus, self, parts.focus);
    if (profile.entries & BUFFER) WEX_PUT_HANDLE(wex_widget_buffer, self, parts.buffer);
    WIDGET = self;
    return self;
}

Widget BUTTON(const char* text, int xsize, int ysize) {
    T4K_FUNCTION(BUTTON);
    TextCopy label(text);
    return button_kind(BUTTON_PROFILE, gtk_button_new_with_mnemonic(label), xsize, ysize);
}

Widget STOCK(const char* stock_id, int xsize, int ysize) {
    T4K_FUNCTION(STOCK);
    TextCopy id(stock_id);
    return button_kind(STOCK_PROFILE, gtk_button_new_from_stock(id), xsize, ysize);
}

Widget TOGGLE(const char* text, int xsize, int ysize) {
    T4K_FUNCTION(TOGGLE);
    TextCopy label(text);
    return button_kind(TOGGLE_PROFILE, gtk_toggle_button_new_with_mnemonic(label), xsize, ysize);
}

Widget CHECK(const char* text, int xsize, int ysize) {
    T4K_FUNCTION(CHECK);
    TextCopy label(text);
    return button_kind(CHECK_PROFILE, gtk_check_button_new_with_label(label), xsize, ysize);
}

// A group handle that is not a radio button the toolkit made starts a new group.
Widget RADIO(const char* text, int xsize, int ysize, Widget group) {
    T4K_FUNCTION(RADIO);
    TextCopy label(text);
    auto* member = __t4k__strcmp(WEX_GET(wex_widget_type$, group), "radio") == 0 ? GTK_RADIO_BUTTON(group) : nullptr;
    GtkWidget* radio = gtk_radio_button_new_with_label_from_widget(member, label);
    return button_kind(RADIO_PROFILE, radio, xsize, ysize);
}

Widget ENTRY(const char* text, int xsize, int ysize) {
    T4K_FUNCTION(ENTRY);
    TextCopy initial(text);
    return entry_kind(initial, xsize, ysize);
}

// The entry starts with the latest ring result (typically the last GRAB$), not with `text`.
Widget WEXENTRY(const char*, int xsize, int ysize) {
    T4K_FUNCTION(WEXENTRY);
    TextCopy initial(t4k_ring_head());
    return entry_kind(initial, xsize, ysize);
}

Widget PASSWORD(int xsize, int ysize) {
    T4K_FUNCTION(PASSWORD);
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
    return wex_enrol(PASSWORD_PROFILE, {.self = entry}, xsize, ysize);
}

Widget MARK(const char* markup, int xsize, int ysize) {
    T4K_FUNCTION(MARK);
    TextCopy text(markup);
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_label_set_markup(GTK_LABEL(label), text);
    return wex_enrol(MARK_PROFILE, {.self = label}, xsize, ysize);
}

Widget COMBO(const char* text, int xsize, int ysize) {
    T4K_FUNCTION(COMBO);
    TextCopy first(text);
    GtkWidget* combo = gtk_combo_box_new_text();
    gtk_combo_box_append_text(GTK_COMBO_BOX(combo), first);
    gtk_combo_box_set_active(GTK_COMBO_BOX(combo), 0);
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(combo));
    return wex_enrol(COMBO_PROFILE, {.self = combo, .font = child, .focus = child}, xsize, ysize);
}

Widget HSEPARATOR(int xsize) {
    T4K_FUNCTION(HSEPARATOR);
    return wex_enrol(HSEPARATOR_PROFILE, {.self = gtk_hseparator_new()}, xsize, 0);
}

Widget VSEPARATOR(int ysize) {
    T4K_FUNCTION(VSEPARATOR);
    return wex_enrol(VSEPARATOR_PROFILE, {.self = gtk_vseparator_new()}, 0, ysize);
}

// A text view in a scrolled window.  The buffer carries one tag named after its own key and
// an end mark from which wex_apply_tag tags whatever text arrives next.
Widget EDIT(int xsize, int ysize) {
    T4K_FUNCTION(EDIT);
    GtkTextBuffer* buffer = gtk_text_buffer_new(nullptr);
    GtkWidget* view = gtk_text_view_new_with_buffer(buffer);
    GtkWidget* scroller = scrolled(view);
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), TRUE);
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
    GtkTextTag* tag = gtk_text_tag_new(Key(buffer));
    gtk_text_tag_table_add(gtk_text_buffer_get_tag_table(buffer), tag);
    wex_connect(buffer, "changed", wex_apply_tag);
    wex_enrol(EDIT_PROFILE, {.self = scroller, .s_widget = buffer, .font = view, .focus = view}, xsize, ysize);

    t4k::Scratch end(EDIT_END_LINE, WEX_UNIT);
    gtk_text_buffer_get_end_iter(buffer, end.as<GtkTextIter>());
    WEX_PUT_HANDLE(wex_widget_attach, buffer, tag);
    WEX_PUT_HANDLE(wex_widget_buffer, buffer, gtk_text_buffer_create_mark(buffer, nullptr, end.as<GtkTextIter>(), TRUE));
    return scroller;
}

Widget LIST(int xsize, int ysize) {
    T4K_FUNCTION(LIST);
    GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
    GtkWidget* view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
    gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view), FALSE);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(view));
    gtk_tree_selection_set_mode(selection, GTK_SELECTION_SINGLE);
    GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
    GtkTreeViewColumn* column = gtk_tree_view_column_new_with_attributes("dummy", renderer, "text", 0, nullptr);
    gtk_tree_view_append_column(GTK_TREE_VIEW(view), column);
    GtkWidget* scroller = scrolled(view);
    return wex_enrol(LIST_PROFILE,
                 {.self = scroller, .s_widget = selection, .attach = selection, .font = view, .focus = view, .buffer = store},
                 xsize, ysize);
}

static_assert(WEX_RESPONSE_ACCEPT == GTK_RESPONSE_ACCEPT && WEX_RESPONSE_DISMISSED == GTK_RESPONSE_DELETE_EVENT &&
              WEX_RESPONSE_OK == GTK_RESPONSE_OK && WEX_RESPONSE_CANCEL == GTK_RESPONSE_CANCEL &&
              WEX_RESPONSE_CLOSE == GTK_RESPONSE_CLOSE && WEX_RESPONSE_YES == GTK_RESPONSE_YES &&
              WEX_RESPONSE_NO == GTK_RESPONSE_NO);

// MSGDIALOG's buttons 0 to 5 are GTK's own sets; GTK has no Yes, No and Cancel, so that set
// is added to a dialog made without buttons, as is none for a number that names no set.
constexpr int YES_NO_CANCEL = 6;
GtkButtonsType gtk_buttons(int buttons) {
    return buttons >= GTK_BUTTONS_NONE && buttons <= GTK_BUTTONS_OK_CANCEL ? GtkButtonsType(buttons) : GTK_BUTTONS_NONE;
}

Widget MSGDIALOG(const char* markup, int xsize, int ysize, int type, int buttons) {
    T4K_FUNCTION(MSGDIALOG);
    TextCopy text(markup);
    GtkMessageType message_type = GtkMessageType(clamp(type, GTK_MESSAGE_INFO, GTK_MESSAGE_OTHER));
    GtkWidget* dialog = gtk_message_dialog_new_with_markup(nullptr, GTK_DIALOG_DESTROY_WITH_PARENT, message_type,
                                                           gtk_buttons(buttons), message_format(text).c_str());
    if (buttons == YES_NO_CANCEL)
        gtk_dialog_add_buttons(GTK_DIALOG(dialog), "gtk-cancel", GTK_RESPONSE_CANCEL, "gtk-no", GTK_RESPONSE_NO,
                               "gtk-yes", GTK_RESPONSE_YES, nullptr);
    gtk_window_set_title(GTK_WINDOW(dialog), "Message");
    dialog_common(dialog, xsize, ysize);
    hide_on_close(dialog);
    return wex_enrol(MSGDIALOG_PROFILE, {.self = dialog}, xsize, ysize);
}

Widget FILEDIALOG(const char* title, const char* button, int xsize, int ysize, int action) {
    T4K_FUNCTION(FILEDIALOG);
    TextCopy caption(title);
    TextCopy accept(button);
    auto chooser_action = GtkFileChooserAction(
        clamp(action, GTK_FILE_CHOOSER_ACTION_OPEN, GTK_FILE_CHOOSER_ACTION_CREATE_FOLDER));
    GtkWidget* dialog = gtk_file_chooser_dialog_new(caption, nullptr, chooser_action, "gtk-cancel", GTK_RESPONSE_CANCEL,
                                                    static_cast<char*>(accept), GTK_RESPONSE_ACCEPT, nullptr);
    if (chooser_action == GTK_FILE_CHOOSER_ACTION_OPEN || chooser_action == GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER)
        gtk_file_chooser_set_select_multiple(GTK_FILE_CHOOSER(dialog), TRUE);
    gtk_window_set_title(GTK_WINDOW(dialog), caption);
    dialog_common(dialog, xsize, ysize);
    gtk_widget_realize(dialog);
    hide_on_close(dialog);
    wex_connect(dialog, "response", on_file_answer);
    wex_connect(dialog, "show", on_file_dialog_shown);
    return wex_enrol(FILEDIALOG_PROFILE, {.self = dialog}, xsize, ysize);
}

bool wex_file_dialog_declined(const void* dialog) { return declined_dialogs.count(dialog) != 0; }

Widget SPIN(int xsize, int ysize, double minimum, double maximum, double step) {
    T4K_FUNCTION(SPIN);
    const Range r = usable_range(minimum, maximum, step);
    return wex_enrol(SPIN_PROFILE, {.self = gtk_spin_button_new_with_range(r.minimum, r.maximum, r.step)}, xsize, ysize);
}

Widget HSLIDER(int xsize, int ysize, double minimum, double maximum, double step) {
    T4K_FUNCTION(HSLIDER);
    const Range r = usable_range(minimum, maximum, step);
    return slider_kind(gtk_hscale_new_with_range(r.minimum, r.maximum, r.step), xsize, ysize);
}

Widget VSLIDER(int xsize, int ysize, double minimum, double maximum, double step) {
    T4K_FUNCTION(VSLIDER);
    const Range r = usable_range(minimum, maximum, step);
    return slider_kind(gtk_vscale_new_with_range(r.minimum, r.maximum, r.step), xsize, ysize);
}

// Turns a slider's scale round: a vertical one then has its maximum at the top, as a gauge
// reads.  Its values stay as they are; any other kind of widget is left alone.
void INVERT(Widget slider) {
    T4K_FUNCTION(INVERT);
    if (__t4k__strcmp(WEX_GET(wex_widget_type$, slider), SLIDER_PROFILE.kind) == 0)
        gtk_range_set_inverted(GTK_RANGE(slider), TRUE);
}

// A slider's new range, made usable as its constructor makes it; GTK keeps the value within it.
void RANGE(Widget slider, double minimum, double maximum) {
    T4K_FUNCTION(RANGE);
    if (__t4k__strcmp(WEX_GET(wex_widget_type$, slider), SLIDER_PROFILE.kind) != 0) return;
    const Range range = usable_range(minimum, maximum, 1);
    gtk_range_set_range(GTK_RANGE(slider), range.minimum, range.maximum);
}

// The image sits in an event box, which is what receives the clicks.
Widget IMAGE(const char* file, int xsize, int ysize) {
    T4K_FUNCTION(IMAGE);
    TextCopy name(file);
    GtkWidget* image = gtk_image_new_from_file(name);
    GtkWidget* box = gtk_event_box_new();
    gtk_container_add(GTK_CONTAINER(box), image);
    gtk_widget_queue_draw(image);
    wex_enrol(IMAGE_PROFILE, {.self = box, .font = image, .focus = image}, xsize, ysize);
    WEX_PUT_STR(wex_widget_image$, box, name);
    return box;
}

Widget CLIPBOARD() {
    T4K_FUNCTION(CLIPBOARD);
    GtkClipboard* clipboard = gtk_clipboard_get(gdk_atom_intern(wex_gui_properties.clipboard, FALSE));
    return wex_enrol(CLIPBOARD_PROFILE, {.self = clipboard}, 0, 0);
}

Widget PROGRESSBAR(const char* text, int xsize, int ysize) {
    T4K_FUNCTION(PROGRESSBAR);
    TextCopy caption(text);
    GtkWidget* bar = gtk_progress_bar_new();
    gtk_progress_bar_set_text(GTK_PROGRESS_BAR(bar), caption);
    return wex_enrol(PROGRESSBAR_PROFILE, {.self = bar}, xsize, ysize);
}
}  // namespace wex
