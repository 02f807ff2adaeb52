// texts_test.cpp: the texts programs hand the toolkit (runtime strings, plain copies, pointers
// into the middle of either at odd and even offsets, null, bytes that are not UTF-8) through
// every call that copies or measures one, and "MARKUP" items of every property type.
#include <cstdlib>
#include <string>
#include <vector>
#include "toolkit_fixture.h"

namespace {
using Texts = Toolkit;

// `text` in each form a program may hold it, released with the object.  The pointers into the
// middle lie at odd and even offsets, near the block's start and far enough in for a header in
// front of them to be made of text.
struct Forms {
    std::vector<char*> runtime, plain;
    std::vector<const char*> pointers;
    explicit Forms(const std::string& text) {
        pointers.push_back(text.c_str());
        for (size_t offset : {0, 1, 2, 9, 10}) {
            const std::string prefix(offset, '#');
            runtime.push_back(__t4k_Copy_String(nullptr, (prefix + text).c_str()));
            plain.push_back(__t4k__strdup((prefix + text).c_str()));
            pointers.push_back(runtime.back() + prefix.size());
            pointers.push_back(plain.back() + prefix.size());
        }
    }
    ~Forms() {
        for (char* p : runtime) __t4k__free(p);
        for (char* p : plain) std::free(p);
    }
};

std::string grabbed(Widget w) { return GRAB$(w); }

TEST_F(Texts, EveryCallTakesAPointerIntoATextAsTheTextItPointsAt) {
    const std::string text = "Hello, world";
    Forms forms(text);
    Widget edit = EDIT(10, 10);
    for (size_t form = 0; form < forms.pointers.size(); ++form) {
        SCOPED_TRACE(form);
        const char* p = forms.pointers[form];
        for (Widget w : {WINDOW(p, 10, 10), NOTEBOOK(p, 10, 10), BUTTON(p, 1, 1), TOGGLE(p, 1, 1), CHECK(p, 1, 1),
                         RADIO(p, 1, 1, nullptr), ENTRY(p, 1, 1), MARK(p, 1, 1), COMBO(p, 1, 1), PROGRESSBAR(p, 1, 1),
                         IMAGE(p, 1, 1)})
            EXPECT_EQ(grabbed(w), text);
        EXPECT_EQ(grabbed(MSGDIALOG(p, 1, 1, 0, 1)), "\n" + text);
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(FILEDIALOG(p, p, 1, 1, 0))), text.c_str());
        TEXT(edit, "");
        TEXT(edit, p);
        EXPECT_EQ(grabbed(edit), text);
        Widget external = gtk_label_new("");
        REGISTER(external, 1, 1, p, nullptr, nullptr, nullptr, nullptr);
        EXPECT_STREQ(WEX_GET(wex_widget_external_signal$, external), text.c_str());
    }
}

TEST_F(Texts, OptionsAndTheirTailsAreTakenAsTheTextPointedAt) {
    const std::pair<std::string, char* wex::wex_gui_properties_t::*> cases[] = {
        {"MARKUP foreground: blue", &wex::wex_gui_properties_t::markup},
        {"TABLE 4 3", &wex::wex_gui_properties_t::table_option},
        {"CLIPBOARD 2", &wex::wex_gui_properties_t::clipboard},
    };
    const char* expected[] = {"foreground: blue", "TABLE 4 3", "SECONDARY"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        Forms forms(cases[i].first);
        for (const char* p : forms.pointers) {
            WEXOPTIONS(p);
            EXPECT_STREQ(wex::wex_gui_properties.*cases[i].second, expected[i]) << cases[i].first;
        }
    }
    WEXOPTIONS("FONT Serif 9");
    Forms font("FONT Sans 13");
    for (const char* p : font.pointers) WEXOPTIONS(p);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget* label = gtk_label_new("text");
    gtk_container_add(GTK_CONTAINER(window), label);
    gtk_widget_ensure_style(label);
    gchar* name = pango_font_description_to_string(label->style->font_desc);
    EXPECT_STREQ(name, "Sans 13");
    g_free(name);
    WEXOPTIONS("FONT Sans 10");
    set_option(wex::wex_gui_properties.table_option, "");
    set_option(wex::wex_gui_properties.markup, "");
}

// Null counts as the empty text everywhere, also where it replaces a text; the file dialog keeps
// its accept button.
TEST_F(Texts, NullTextsAreEmpty) {
    Widget full = ENTRY("full", 10, 10);
    TEXT(full, nullptr);
    EXPECT_EQ(grabbed(full), "");
    for (Widget w : {WINDOW(nullptr, 10, 10), NOTEBOOK(nullptr, 10, 10), BUTTON(nullptr, 1, 1),
                     TOGGLE(nullptr, 1, 1), CHECK(nullptr, 1, 1), RADIO(nullptr, 1, 1, nullptr), ENTRY(nullptr, 1, 1),
                     MARK(nullptr, 1, 1), COMBO(nullptr, 1, 1), PROGRESSBAR(nullptr, 1, 1), IMAGE(nullptr, 1, 1)}) {
        EXPECT_EQ(grabbed(w), "");
        TEXT(w, nullptr);
    }
    STOCK(nullptr, 1, 1);
    MSGDIALOG(nullptr, 1, 1, 0, 0);
    Widget dialog = FILEDIALOG(nullptr, nullptr, 1, 1, 0);
    GList* buttons = gtk_container_get_children(GTK_CONTAINER(GTK_DIALOG(dialog)->action_area));
    EXPECT_EQ(g_list_length(buttons), 2u);
    g_list_free(buttons);
}

TEST_F(Texts, AnEditShowsBytesThatAreNotUtf8AsReplacementCharacters) {
    Widget edit = EDIT(10, 10);
    TEXT(edit, "a\xff" "b\xc3");
    EXPECT_EQ(grabbed(edit), "a\xef\xbf\xbd" "b\xef\xbf\xbd");
}

// Each item reaches the tag's property as that property's type; what cannot is left out.
TEST_F(Texts, MarkupItemsAreReadAsTheirPropertysType) {
    set_option(wex::wex_gui_properties.markup,
               "font-desc: Sans 12, tabs: 3, weight: 700, style: italic, editable: false, size-points: 1e300, "
               "wrap-mode: 99, scale: nan, name: other, foreground: blue");
    Widget edit = EDIT(10, 10);
    TEXT(edit, "ab");
    TEXT(edit, "cd");
    auto* buffer = static_cast<GtkTextBuffer*>(ENTRY_HANDLE(wex_widget_s_widget, edit));
    auto* tag = static_cast<GtkTextTag*>(ENTRY_HANDLE(wex_widget_attach, buffer));
    gint weight = 0, style = 0, wrap = 0;
    gboolean editable = TRUE, foreground_set = FALSE;
    gdouble points = 0, scale = 0;
    gchar* name = nullptr;
    g_object_get(tag, "weight", &weight, "style", &style, "editable", &editable, "size-points", &points, "wrap-mode",
                 &wrap, "scale", &scale, "name", &name, "foreground-set", &foreground_set, nullptr);
    EXPECT_EQ(weight, 700);
    EXPECT_EQ(style, PANGO_STYLE_ITALIC);
    EXPECT_FALSE(editable);
    EXPECT_DOUBLE_EQ(points, 1000);  // the largest font size
    EXPECT_EQ(wrap, GTK_WRAP_NONE);  // 99 names no wrap mode
    EXPECT_DOUBLE_EQ(scale, 1.0);
    EXPECT_STRNE(name, "other");  // a tag's name is fixed when it is made
    EXPECT_TRUE(foreground_set);
    g_free(name);
    set_option(wex::wex_gui_properties.markup, "");
}
}  // namespace
