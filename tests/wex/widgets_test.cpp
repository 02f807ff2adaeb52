// widgets_test.cpp: every constructor's GTK widget, its registry profile and its show rule.
#include <functional>
#include <optional>
#include <string>
#include "tests/support/whole_text.h"
#include "toolkit_fixture.h"

namespace {
constexpr int XSIZE = 71;
constexpr int YSIZE = 33;

enum class Shown { widget, all, never, not_a_widget };
using Role = std::optional<void*>;  // nullopt: the entry must be absent

struct Profile {
    std::string kind;
    int signal;  // 0: no signal entry
    std::optional<int> xsize, ysize;
    Role s_widget, attach, font, focus, buffer;
    Shown shown;
    GtkWidget* inner = nullptr;  // a child that "show all" must reach
};

void* child(Widget w) { return gtk_bin_get_child(GTK_BIN(w)); }

Profile button_like(const char* kind, Widget w) {
    return {kind, 2, XSIZE, YSIZE, w, w, child(w), w, {}, Shown::widget};
}
Profile entry_like(const char* kind, Widget w) {
    return {kind, 3, XSIZE, YSIZE, w, {}, w, w, {}, Shown::widget};
}
Profile range_like(const char* kind, Widget w) {
    return {kind, 6, XSIZE, YSIZE, w, w, w, w, {}, Shown::widget};
}
Profile dialog_like(const char* kind, Widget w) {
    return {kind, 7, XSIZE, YSIZE, w, {}, w, {}, {}, Shown::never};
}

struct Case {
    const char* name;
    std::function<Widget()> make;
    std::function<Profile(Widget)> profile;
};

const Case CASES[] = {
    {"BUTTON", [] { return BUTTON("_Go", XSIZE, YSIZE); }, [](Widget w) { return button_like("button", w); }},
    {"STOCK", [] { return STOCK("gtk-new", XSIZE, YSIZE); }, [](Widget w) { return button_like("stock", w); }},
    {"TOGGLE", [] { return TOGGLE("_On", XSIZE, YSIZE); }, [](Widget w) { return button_like("toggle", w); }},
    {"CHECK", [] { return CHECK("Tick", XSIZE, YSIZE); }, [](Widget w) { return button_like("check", w); }},
    {"RADIO", [] { return RADIO("One", XSIZE, YSIZE, nullptr); }, [](Widget w) { return button_like("radio", w); }},
    {"ENTRY", [] { return ENTRY("typed", XSIZE, YSIZE); }, [](Widget w) { return entry_like("entry", w); }},
    {"WEXENTRY", [] { return WEXENTRY("unused", XSIZE, YSIZE); }, [](Widget w) { return entry_like("entry", w); }},
    {"PASSWORD", [] { return PASSWORD(XSIZE, YSIZE); }, [](Widget w) { return entry_like("password", w); }},
    {"MARK", [] { return MARK("<b>25</b>", XSIZE, YSIZE); },
     [](Widget w) { return Profile{"mark", 0, XSIZE, YSIZE, w, {}, w, {}, {}, Shown::widget}; }},
    {"COMBO", [] { return COMBO("first", XSIZE, YSIZE); },
     [](Widget w) { return Profile{"combo", 5, XSIZE, YSIZE, w, {}, child(w), child(w), {}, Shown::widget}; }},
    {"HSEPARATOR", [] { return HSEPARATOR(XSIZE); },
     [](Widget w) { return Profile{"separator", 0, XSIZE, {}, w, {}, {}, {}, {}, Shown::widget}; }},
    {"VSEPARATOR", [] { return VSEPARATOR(YSIZE); },
     [](Widget w) { return Profile{"separator", 0, {}, YSIZE, w, {}, {}, {}, {}, Shown::widget}; }},
    {"EDIT", [] { return EDIT(XSIZE, YSIZE); },
     [](Widget w) {
         GtkWidget* view = gtk_bin_get_child(GTK_BIN(w));
         void* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
         return Profile{"edit", 9, XSIZE, YSIZE, buffer, {}, view, view, {}, Shown::all, view};
     }},
    {"LIST", [] { return LIST(XSIZE, YSIZE); },
     [](Widget w) {
         GtkWidget* view = gtk_bin_get_child(GTK_BIN(w));
         void* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(view));
         void* store = gtk_tree_view_get_model(GTK_TREE_VIEW(view));
         return Profile{"list", 5, XSIZE, YSIZE, selection, selection, view, view, store, Shown::all, view};
     }},
    {"MSGDIALOG", [] { return MSGDIALOG("Hello", XSIZE, YSIZE, 0, 1); },
     [](Widget w) { return dialog_like("msgdialog", w); }},
    {"FILEDIALOG", [] { return FILEDIALOG("Pick", "gtk-open", XSIZE, YSIZE, 0); },
     [](Widget w) { return dialog_like("filedialog", w); }},
    {"SPIN", [] { return SPIN(XSIZE, YSIZE, 0, 10, 1); }, [](Widget w) { return range_like("spin", w); }},
    {"HSLIDER", [] { return HSLIDER(XSIZE, YSIZE, 0, 10, 1); }, [](Widget w) { return range_like("slider", w); }},
    {"VSLIDER", [] { return VSLIDER(XSIZE, YSIZE, 0, 300, 1); }, [](Widget w) { return range_like("slider", w); }},
    {"IMAGE", [] { return IMAGE("/nonexistent/picture.png", XSIZE, YSIZE); },
     [](Widget w) {
         GtkWidget* image = gtk_bin_get_child(GTK_BIN(w));
         return Profile{"image", 4, XSIZE, YSIZE, w, {}, image, image, {}, Shown::all, image};
     }},
    {"CLIPBOARD", [] { return CLIPBOARD(); },
     [](Widget) { return Profile{"clipboard", 0, {}, {}, {}, {}, {}, {}, {}, Shown::not_a_widget}; }},
    {"PROGRESSBAR", [] { return PROGRESSBAR("busy", XSIZE, YSIZE); },
     [](Widget w) { return Profile{"progressbar", 1, XSIZE, YSIZE, w, w, {}, w, {}, Shown::widget}; }},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class Constructor : public Toolkit, public ::testing::WithParamInterface<Case> {};

#define EXPECT_ROLE(table, w, expected)                                               \
    do {                                                                              \
        if (expected) {                                                               \
            EXPECT_TRUE(HAS_ENTRY(table, w)) << #table;                               \
            EXPECT_EQ(ENTRY_HANDLE(table, w), *(expected)) << #table;                 \
        } else {                                                                      \
            EXPECT_FALSE(HAS_ENTRY(table, w)) << #table << " should be absent";       \
        }                                                                             \
    } while (0)

TEST_P(Constructor, WritesExactlyItsKindsRegistryEntries) {
    WIDGET = nullptr;
    Widget w = GetParam().make();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(WIDGET, w);
    Profile expected = GetParam().profile(w);

    EXPECT_STREQ(WEX_GET(wex_widget_type$, w), expected.kind.c_str());
    if (expected.signal != 0) {
        EXPECT_EQ(WEX_GET(wex_widget_signal, w), expected.signal);
    } else {
        EXPECT_FALSE(HAS_ENTRY(wex_widget_signal, w)) << "a kind without a callback signal has no signal entry";
    }
    EXPECT_EQ(HAS_ENTRY(wex_widget_xsize, w), expected.xsize.has_value());
    EXPECT_EQ(HAS_ENTRY(wex_widget_ysize, w), expected.ysize.has_value());
    EXPECT_EQ(WEX_GET(wex_widget_xsize, w), expected.xsize.value_or(0));
    EXPECT_EQ(WEX_GET(wex_widget_ysize, w), expected.ysize.value_or(0));
    EXPECT_ROLE(wex_widget_s_widget, w, expected.s_widget);
    EXPECT_ROLE(wex_widget_attach, w, expected.attach);
    EXPECT_ROLE(wex_widget_font, w, expected.font);
    EXPECT_ROLE(wex_widget_focus, w, expected.focus);
    EXPECT_ROLE(wex_widget_buffer, w, expected.buffer);
    EXPECT_EQ(HAS_ENTRY(wex_widget_image$, w), expected.kind == "image");
    EXPECT_FALSE(HAS_ENTRY(wex_widget_comborows, w));
    EXPECT_FALSE(HAS_ENTRY(wex_winstate, w));
}

TEST_P(Constructor, ShowsByItsRuleAndNothingWhenShowingIsOff) {
    for (int show : {1, 0}) {
        WEXOPTIONS(show ? "WIDGET_SHOW 1" : "WIDGET_SHOW 0");
        Widget w = GetParam().make();
        Profile expected = GetParam().profile(w);
        if (expected.shown == Shown::not_a_widget) {
            EXPECT_FALSE(GTK_IS_WIDGET(w));
            continue;
        }
        bool shown = show && expected.shown != Shown::never;
        EXPECT_EQ(gtk_widget_get_visible(GTK_WIDGET(w)), shown) << "WIDGET_SHOW " << show;
        if (expected.inner != nullptr) {
            EXPECT_EQ(gtk_widget_get_visible(expected.inner), shown) << "the child, WIDGET_SHOW " << show;
        }
    }
    WEXOPTIONS("WIDGET_SHOW 1");
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Constructor, ::testing::ValuesIn(CASES),
                         [](const auto& info) { return std::string(info.param.name); });

using Widgets = Toolkit;

TEST_F(Widgets, ButtonsAreGtksOwnWithTheirLabels) {
    Widget stock = STOCK("gtk-new", 80, 30);
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(stock)), "gtk-new");
    EXPECT_TRUE(gtk_button_get_use_stock(GTK_BUTTON(stock)));

    Widget button = BUTTON("_Quit now", 80, 30);
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(child(button))), "Quit now");
    EXPECT_TRUE(gtk_button_get_use_underline(GTK_BUTTON(button)));
    EXPECT_TRUE(GTK_IS_TOGGLE_BUTTON(TOGGLE("t", 1, 1)));
    EXPECT_TRUE(GTK_IS_CHECK_BUTTON(CHECK("c", 1, 1)));
}

TEST_F(Widgets, RadioButtonsJoinTheGroupTheyAreGiven) {
    Widget first = RADIO("a", 10, 10, nullptr);
    Widget second = RADIO("b", 10, 10, first);
    Widget other = RADIO("c", 10, 10, nullptr);
    EXPECT_EQ(gtk_radio_button_get_group(GTK_RADIO_BUTTON(first)),
              gtk_radio_button_get_group(GTK_RADIO_BUTTON(second)));
    EXPECT_EQ(g_slist_length(gtk_radio_button_get_group(GTK_RADIO_BUTTON(second))), 2u);
    EXPECT_EQ(g_slist_length(gtk_radio_button_get_group(GTK_RADIO_BUTTON(other))), 1u);
}

TEST_F(Widgets, WexentryStartsWithTheLatestRingResultNotItsArgument) {
    Widget source = ENTRY("from the ring", 10, 10);
    GRAB$(source);
    Widget entry = WEXENTRY("the argument", 10, 10);
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(entry)), "from the ring");

    TEXT(source, "");
    GRAB$(source);
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(WEXENTRY("the argument", 10, 10))), "");
}

TEST_F(Widgets, MarkTakesMarkup) {
    Widget mark = MARK("<b>25</b>", 80, 30);
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(mark)), "25");
    EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(mark)), "<b>25</b>");
    EXPECT_TRUE(gtk_label_get_use_markup(GTK_LABEL(mark)));
}

TEST_F(Widgets, EditKeepsItsTagAndEndMarkUnderTheBuffersKey) {
    Widget edit = EDIT(100, 50);
    GtkWidget* view = gtk_bin_get_child(GTK_BIN(edit));
    ASSERT_TRUE(GTK_IS_TEXT_VIEW(view));
    EXPECT_TRUE(gtk_text_view_get_editable(GTK_TEXT_VIEW(view)));
    EXPECT_EQ(gtk_text_view_get_wrap_mode(GTK_TEXT_VIEW(view)), GTK_WRAP_WORD_CHAR);
    GtkScrolledWindow* scroller = GTK_SCROLLED_WINDOW(edit);
    GtkPolicyType horizontal, vertical;
    gtk_scrolled_window_get_policy(scroller, &horizontal, &vertical);
    EXPECT_EQ(horizontal, GTK_POLICY_AUTOMATIC);
    EXPECT_EQ(vertical, GTK_POLICY_AUTOMATIC);
    EXPECT_EQ(gtk_scrolled_window_get_shadow_type(scroller), GTK_SHADOW_ETCHED_IN);

    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
    wex::Key key(buffer);
    GtkTextTag* tag = gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer), key);
    ASSERT_NE(tag, nullptr) << "the tag is named after the buffer's key";
    EXPECT_EQ(ENTRY_HANDLE(wex_widget_attach, buffer), tag);
    auto* mark = static_cast<GtkTextMark*>(ENTRY_HANDLE(wex_widget_buffer, buffer));
    ASSERT_TRUE(GTK_IS_TEXT_MARK(mark));
    EXPECT_TRUE(gtk_text_mark_get_left_gravity(mark));
    EXPECT_EQ(gtk_text_mark_get_buffer(mark), buffer);
}

TEST_F(Widgets, ListHasOneHiddenTextColumnAndSingleSelection) {
    Widget list = LIST(100, 50);
    GtkTreeView* view = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(list)));
    GtkTreeModel* store = gtk_tree_view_get_model(view);
    ASSERT_TRUE(GTK_IS_LIST_STORE(store));
    EXPECT_EQ(gtk_tree_model_get_n_columns(store), 1);
    EXPECT_EQ(gtk_tree_model_get_column_type(store, 0), G_TYPE_STRING);
    EXPECT_FALSE(gtk_tree_view_get_headers_visible(view));
    EXPECT_EQ(gtk_tree_selection_get_mode(gtk_tree_view_get_selection(view)), GTK_SELECTION_SINGLE);
    EXPECT_NE(gtk_tree_view_get_column(view, 0), nullptr);
    EXPECT_EQ(gtk_tree_view_get_column(view, 1), nullptr);
}

int message_type(Widget dialog) {
    GtkMessageType type;
    g_object_get(dialog, "message-type", &type, nullptr);
    return type;
}

int buttons_of(Widget dialog) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_dialog_get_action_area(GTK_DIALOG(dialog))));
    int count = g_list_length(children);
    g_list_free(children);
    return count;
}

TEST_F(Widgets, MessageDialogClampsItsTypeAndKeepsItsButtons) {
    EXPECT_EQ(message_type(MSGDIALOG("x", 200, 100, 7, 1)), GTK_MESSAGE_OTHER);
    EXPECT_EQ(message_type(MSGDIALOG("x", 200, 100, -1, 1)), GTK_MESSAGE_INFO);
    EXPECT_EQ(message_type(MSGDIALOG("x", 200, 100, 3, 1)), GTK_MESSAGE_ERROR);
    EXPECT_EQ(buttons_of(MSGDIALOG("x", 200, 100, 0, 0)), 0);
    EXPECT_EQ(buttons_of(MSGDIALOG("x", 200, 100, 0, 4)), 2);

    Widget dialog = MSGDIALOG("Hello", 200, 100, 0, 1);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Message");
    gint width, height;
    gtk_widget_get_size_request(GTK_WIDGET(dialog), &width, &height);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 100);
}

TEST_F(Widgets, MessageIsMarkupAndItsPercentSignsStayAsTheyAre) {
    Widget dialog = MSGDIALOG("<b>50%</b> of %s%n", 200, 100, 0, 1);
    gchar* text = nullptr;
    gboolean markup = FALSE;
    g_object_get(dialog, "text", &text, "use-markup", &markup, nullptr);
    EXPECT_STREQ(text, "\n<b>50%</b> of %s%n");
    EXPECT_TRUE(markup);
    g_free(text);
}

TEST_F(Widgets, ClosingADialogOnlyHidesIt) {
    Widget dialog = MSGDIALOG("Hello", 200, 100, 0, 1);
    SHOW(dialog);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(dialog)));
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(dialog))));
    gtk_main_do_event(event);
    gdk_event_free(event);
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(dialog)));
    SHOW(dialog);
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(dialog)));
    HIDE(dialog);
}

GtkFileChooserAction action_of(Widget dialog) { return gtk_file_chooser_get_action(GTK_FILE_CHOOSER(dialog)); }
bool multiple(Widget dialog) { return gtk_file_chooser_get_select_multiple(GTK_FILE_CHOOSER(dialog)); }

TEST_F(Widgets, FileDialogClampsItsActionAndSelectsManyOnlyWhenOpening) {
    Widget open = FILEDIALOG("Open", "gtk-open", 300, 200, -4);
    EXPECT_EQ(action_of(open), GTK_FILE_CHOOSER_ACTION_OPEN);
    EXPECT_TRUE(multiple(open));
    EXPECT_FALSE(multiple(FILEDIALOG("Save", "gtk-save", 300, 200, 1)));
    EXPECT_TRUE(multiple(FILEDIALOG("Folder", "gtk-ok", 300, 200, 2)));
    Widget create = FILEDIALOG("New", "Make it", 300, 200, 9);
    EXPECT_EQ(action_of(create), GTK_FILE_CHOOSER_ACTION_CREATE_FOLDER);
    EXPECT_FALSE(multiple(create));

    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(create)), "New");
    EXPECT_TRUE(gtk_widget_get_realized(GTK_WIDGET(create)));
    GtkWidget* accept = gtk_dialog_get_widget_for_response(GTK_DIALOG(create), GTK_RESPONSE_ACCEPT);
    GtkWidget* cancel = gtk_dialog_get_widget_for_response(GTK_DIALOG(create), GTK_RESPONSE_CANCEL);
    ASSERT_NE(accept, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(accept)), "Make it");
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(cancel)), "gtk-cancel");
}

TEST_F(Widgets, RangesTakeTheirLimitsAndStep) {
    GtkAdjustment* spin = gtk_spin_button_get_adjustment(GTK_SPIN_BUTTON(SPIN(10, 10, -5, 5, 0.5)));
    EXPECT_EQ(gtk_adjustment_get_lower(spin), -5);
    EXPECT_EQ(gtk_adjustment_get_upper(spin), 5);
    EXPECT_EQ(gtk_adjustment_get_step_increment(spin), 0.5);
    Widget gauge = VSLIDER(96, 432, 0, 300, 1);
    EXPECT_TRUE(GTK_IS_VSCALE(gauge));
    EXPECT_EQ(gtk_adjustment_get_upper(gtk_range_get_adjustment(GTK_RANGE(gauge))), 300);
    EXPECT_FALSE(gtk_range_get_inverted(GTK_RANGE(gauge))) << "a vertical slider has its minimum at the top";
    INVERT(gauge);
    EXPECT_TRUE(gtk_range_get_inverted(GTK_RANGE(gauge))) << "inverted, its maximum";
    INVERT(MARK("not a slider", 10, 10));  // left alone: no GTK critical
    RANGE(gauge, 420, 0);
    EXPECT_EQ(gtk_adjustment_get_upper(gtk_range_get_adjustment(GTK_RANGE(gauge))), 420) << "bounds put in order";
    // What these do to the value is in ranges_test's table.
    RANGE(MARK("not a slider", 10, 10), 0, 1);
    EXPECT_TRUE(GTK_IS_HSCALE(HSLIDER(10, 10, 0, 1, 1)));
}

// A stock button's label, beside its icon in a box in an alignment.
GtkLabel* stock_label(Widget stock) {
    GtkWidget* box = gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(stock))));
    GList* parts = gtk_container_get_children(GTK_CONTAINER(box));
    GtkLabel* label = GTK_LABEL(g_list_last(parts)->data);
    g_list_free(parts);
    return label;
}

// A text that does not fit its place shows at the largest smaller size that fits, and at its full
// size again once a new text fits; one that fits is left as it is.
TEST_F(Widgets, FitKeepsTextsWithinTheirPlaces) {
    WEXOPTIONS("FONT DejaVu Sans 20");
    Widget window = WINDOW("fit", 300, 200);
    struct Case {
        Widget placed;
        GtkLabel* label;
        bool shrinks;
    };
    Widget mark = MARK("<b>0</b>", 96, 36), wide = MARK("<b>BATTERIES</b>", 96, 36), stock = STOCK("gtk-quit", 80, 30);
    const Case cases[] = {{mark, GTK_LABEL(mark), false},
                          {wide, GTK_LABEL(wide), true},
                          {stock, stock_label(stock), true}};
    int y = 0;
    for (const Case& c : cases) ATTACH(window, c.placed, 0, (y += 40) - 40);
    for (const Case& c : cases) FIT(c.placed);
    FIT(nullptr);
    wex_test::run_until_idle();
    for (const Case& c : cases) {
        EXPECT_TRUE(whole_text::shows_whole(c.label, GTK_WIDGET(c.placed))) << gtk_label_get_text(c.label);
        EXPECT_EQ(gtk_label_get_attributes(c.label) != nullptr, c.shrinks) << gtk_label_get_text(c.label);
    }
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(gtk_label_get_layout(GTK_LABEL(wide)), &ink, &logical);
    EXPECT_GT(logical.width, 96 * 0.95) << "as large as fits";
    TEXT(wide, "<b>1</b>");
    TEXT(mark, "<b>MORE THAN FITS</b>");
    wex_test::run_until_idle();
    EXPECT_EQ(gtk_label_get_attributes(GTK_LABEL(wide)), nullptr) << "a text that fits shows at full size again";
    EXPECT_TRUE(whole_text::shows_whole(GTK_LABEL(mark), GTK_WIDGET(mark)));
    WEXOPTIONS("FONT Sans 10");
}

TEST_F(Widgets, ClipboardIsTheSelectionTheOptionChose) {
    EXPECT_EQ(CLIPBOARD(), gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    WEXOPTIONS("CLIPBOARD 1");
    EXPECT_EQ(CLIPBOARD(), gtk_clipboard_get(GDK_SELECTION_PRIMARY));
    WEXOPTIONS("CLIPBOARD 0");
}

}  // namespace
