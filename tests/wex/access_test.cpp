// access_test.cpp: TEXT, GRAB$, SET and GET on every kind, the edit's tagging, the return ring.
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "toolkit_fixture.h"

namespace {
using Access = Toolkit;

std::string grabbed(Widget w) {
    const char* text = GRAB$(w);
    EXPECT_NE(text, nullptr);
    return text != nullptr ? text : "<null>";
}

int rows_of(GtkTreeModel* model) { return gtk_tree_model_iter_n_children(model, nullptr); }

struct TemporaryDirectory {
    std::string path;
    TemporaryDirectory() {
        char name[] = "/tmp/wex-access-XXXXXX";
        path = mkdtemp(name);
    }
    ~TemporaryDirectory() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string file(const char* name) const {
        std::string full = path + "/" + name;
        g_file_set_contents(full.c_str(), "x", 1, nullptr);
        return full;
    }
};

TEST_F(Access, WindowTitleAndFullScreenState) {
    Widget window = WINDOW("First", 200, 100);
    TEXT(window, "Second");
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), "Second");
    EXPECT_EQ(grabbed(window), "Second");

    EXPECT_EQ(GET(window), 0);
    SET(window, 1);
    EXPECT_EQ(GET(window), 1);
    EXPECT_TRUE(gtk_window_get_resizable(GTK_WINDOW(window)));
    SET(window, 0);
    EXPECT_EQ(GET(window), 0);
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));
    HIDE(window);
}

TEST_F(Access, WindowWithoutTitleGrabsTheEmptyText) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    WEX_PUT_STR(wex_widget_type$, window, "window");
    EXPECT_EQ(grabbed(window), "");
}

TEST_F(Access, NotebookPageFollowsTheTableOption) {
    Widget notebook = NOTEBOOK("First", 300, 200);
    void* first_page = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 0);
    WEXOPTIONS("TABLE 4 3");
    TEXT(notebook, "Page");
    set_option(wex::wex_gui_properties.table_option, "");

    ASSERT_EQ(gtk_notebook_get_n_pages(GTK_NOTEBOOK(notebook)), 2);
    GtkWidget* page = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 1);
    ASSERT_TRUE(GTK_IS_TABLE(page));
    guint rows = 0, columns = 0;
    gboolean homogeneous = FALSE;
    g_object_get(page, "n-rows", &rows, "n-columns", &columns, "homogeneous", &homogeneous, nullptr);
    EXPECT_EQ(rows, 3u);
    EXPECT_EQ(columns, 4u);
    EXPECT_TRUE(homogeneous);
    EXPECT_TRUE(gtk_widget_get_visible(page));
    EXPECT_STREQ(gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(notebook), page), "Page");

    EXPECT_EQ(GET(notebook), 1);
    EXPECT_EQ(ENTRY_HANDLE(wex_widget_attach, notebook), page) << "ATTACH goes to the new page";
    EXPECT_EQ(std::string(WEX_GET(wex_widget_nb_page$, notebook)),
              std::string(wex::Key(first_page)) + " " + std::string(wex::Key(page)));
    EXPECT_EQ(grabbed(notebook), "Page");
    SET(notebook, 0);
    EXPECT_EQ(GET(notebook), 0);
    EXPECT_EQ(grabbed(notebook), "First");
}

// The page container for each option text: a table of the shape or a fixed container.
TEST_F(Access, NotebookTableWordsAreSplitAtBlanksOutsideQuotes) {
    struct Shape {
        const char* option;
        guint columns, rows;  // 0: a fixed container
    };
    const Shape shapes[] = {
        {"TABLE", 0, 0},                  // no numbers
        {"A TABLE 2", 0, 0},              // one word after it
        {"TABLE  4 3", 0, 0},             // the empty word between two blanks is the first number
        {"TABLE 0 3", 0, 0},              // no columns
        {"XTABLEX 5 2", 5, 2},            // any word containing the keyword
        {"\"TABLE 7\" 2 3", 2, 3},        // a quoted blank does not split
        {"\\\"TABLE 7\\\" 2 3", 7, 2},    // an escaped quote opens nothing
        {"TABLE 6.9 2 junk", 6, 2},       // numbers are truncated
    };
    for (const Shape& shape : shapes) {
        Widget notebook = NOTEBOOK("First", 300, 200);
        set_option(wex::wex_gui_properties.table_option, shape.option);
        TEXT(notebook, "Page");
        set_option(wex::wex_gui_properties.table_option, "");
        GtkWidget* page = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 1);
        ASSERT_NE(page, nullptr) << shape.option;
        if (shape.columns == 0) {
            EXPECT_TRUE(GTK_IS_FIXED(page)) << shape.option;
            continue;
        }
        ASSERT_TRUE(GTK_IS_TABLE(page)) << shape.option;
        guint rows = 0, columns = 0;
        g_object_get(page, "n-rows", &rows, "n-columns", &columns, nullptr);
        EXPECT_EQ(columns, shape.columns) << shape.option;
        EXPECT_EQ(rows, shape.rows) << shape.option;
    }
}

TEST_F(Access, ButtonsTextIsTheirLabelAndTheirValueTheToggleState) {
    Widget button = BUTTON("_Go", 10, 10);
    TEXT(button, "Stop");
    EXPECT_EQ(grabbed(button), "Stop");
    for (Widget toggle : {TOGGLE("t", 10, 10), CHECK("c", 10, 10)}) {
        SET(toggle, 1);
        EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(toggle)));
        EXPECT_EQ(GET(toggle), 1);
        SET(toggle, 0);
        EXPECT_EQ(GET(toggle), 0);
    }
    Widget first = RADIO("one", 10, 10, nullptr);
    Widget second = RADIO("two", 10, 10, first);
    EXPECT_EQ(GET(first), 1);
    SET(second, 1);
    EXPECT_EQ(GET(second), 1);
    EXPECT_EQ(GET(first), 0);
    EXPECT_EQ(grabbed(second), "two");
}

TEST_F(Access, EntryAndPassword) {
    Widget entry = ENTRY("old", 10, 10);
    TEXT(entry, "new");
    EXPECT_EQ(grabbed(entry), "new");
    SET(entry, 0);
    EXPECT_TRUE(gtk_entry_get_visibility(GTK_ENTRY(entry))) << "an entry has no value";
    EXPECT_EQ(GET(entry), 0);

    Widget password = PASSWORD(10, 10);
    TEXT(password, "secret");
    EXPECT_EQ(grabbed(password), "secret");
    EXPECT_EQ(GET(password), 0);
    SET(password, 1);
    EXPECT_EQ(GET(password), 1);
}

TEST_F(Access, MarkShowsMarkupAndGrabsThePlainText) {
    Widget mark = MARK("", 80, 30);
    TEXT(mark, "<b>7</b>");
    EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(mark)), "<b>7</b>");
    EXPECT_EQ(grabbed(mark), "7");
    SET(mark, 1);
    EXPECT_TRUE(gtk_label_get_selectable(GTK_LABEL(mark)));
    EXPECT_EQ(GET(mark), 1);
}

TEST_F(Access, ComboRowsComeAndGoDownToNone) {
    Widget combo = COMBO("a", 10, 10);
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
    EXPECT_EQ(grabbed(combo), "a");
    TEXT(combo, "b");
    EXPECT_EQ(rows_of(model), 2);
    SET(combo, 1);
    EXPECT_EQ(GET(combo), 1);
    EXPECT_EQ(grabbed(combo), "b");

    TEXT(combo, "");
    EXPECT_EQ(rows_of(model), 1);
    EXPECT_EQ(grabbed(combo), "") << "the active row was removed";
    SET(combo, 0);
    EXPECT_EQ(grabbed(combo), "a");
    TEXT(combo, "");
    EXPECT_EQ(rows_of(model), 0);
    EXPECT_EQ(GET(combo), -1);
    EXPECT_EQ(grabbed(combo), "");
    TEXT(combo, "");
    TEXT(combo, nullptr);
    EXPECT_EQ(WEX_GET(wex_widget_comborows, combo), -1) << "nothing left to remove";

    TEXT(combo, "c");
    TEXT(combo, "d");
    TEXT(combo, "");
    ASSERT_EQ(rows_of(model), 1);
    SET(combo, 0);
    EXPECT_EQ(grabbed(combo), "c");
}

TEST_F(Access, FrameLabelBecomesItsFontWidget) {
    Widget frame = FRAME(100, 50);
    TEXT(frame, "Caption");
    EXPECT_EQ(grabbed(frame), "Caption");
    EXPECT_EQ(ENTRY_HANDLE(wex_widget_font, frame), gtk_frame_get_label_widget(GTK_FRAME(frame)));
    EXPECT_NE(ENTRY_HANDLE(wex_widget_font, frame), nullptr);
}

TEST_F(Access, EditAppendsAndClears) {
    Widget edit = EDIT(100, 50);
    TEXT(edit, "ab");
    TEXT(edit, "cd");
    EXPECT_EQ(grabbed(edit), "abcd");
    EXPECT_EQ(GET(edit), 1);
    TEXT(edit, "\nline two\n");
    EXPECT_EQ(GET(edit), 3);
    TEXT(edit, "");
    EXPECT_EQ(grabbed(edit), "");
    EXPECT_EQ(GET(edit), 1);
    TEXT(edit, "again");
    EXPECT_EQ(grabbed(edit), "again");
}

TEST_F(Access, EditScrollsALineToTheBottomEdge) {
    Widget window = WINDOW("Edit", 200, 100);
    Widget edit = EDIT(200, 100);
    ATTACH(window, edit, 0, 0);
    for (int i = 0; i < 100; ++i) TEXT(edit, ("line " + std::to_string(i) + "\n").c_str());
    GtkAdjustment* vertical = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(edit));
    ASSERT_TRUE(wait_for([&] { return gtk_adjustment_get_upper(vertical) > 1000; }));
    gtk_adjustment_set_value(vertical, 0);

    SET(edit, 80);
    EXPECT_TRUE(wait_for([&] { return gtk_adjustment_get_value(vertical) > 500; }));
    double at_80 = gtk_adjustment_get_value(vertical);
    SET(edit, 40);
    EXPECT_TRUE(wait_for([&] { return gtk_adjustment_get_value(vertical) < at_80; }));
    EXPECT_GT(gtk_adjustment_get_value(vertical), 0);
    HIDE(window);
}

TEST_F(Access, ListRowsAndSelection) {
    Widget list = LIST(100, 50);
    EXPECT_EQ(GET(list), -1);
    EXPECT_EQ(grabbed(list), "");
    for (const char* row : {"zero", "one", "two"}) TEXT(list, row);
    EXPECT_EQ(GET(list), -1);
    SET(list, 2);
    EXPECT_EQ(GET(list), 2);
    EXPECT_EQ(grabbed(list), "two");
    SET(list, 0);
    EXPECT_EQ(grabbed(list), "zero");
    SET(list, -1);
    EXPECT_EQ(GET(list), 0) << "a negative row selects nothing new";

    TEXT(list, "");
    EXPECT_EQ(rows_of(GTK_TREE_MODEL(ENTRY_HANDLE(wex_widget_buffer, list))), 0);
    EXPECT_EQ(GET(list), -1);
    EXPECT_EQ(grabbed(list), "");
}

TEST_F(Access, MessageDialogText) {
    Widget dialog = MSGDIALOG("first", 200, 100, 0, 1);
    EXPECT_EQ(grabbed(dialog), "\nfirst");
    TEXT(dialog, "second");
    EXPECT_EQ(grabbed(dialog), "second");
}

TEST_F(Access, FileDialogGrabsTheChosenFilesJoinedByBlanks) {
    TemporaryDirectory directory;
    std::string a = directory.file("a");
    std::string c = directory.file("c d");
    Widget dialog = FILEDIALOG("Pick", "gtk-open", 400, 300, 0);
    EXPECT_EQ(grabbed(dialog), "");

    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    auto chosen = [&] {
        GSList* files = gtk_file_chooser_get_filenames(chooser);
        guint count = g_slist_length(files);
        g_slist_free_full(files, g_free);
        return count;
    };
    // The folder loads in the main loop: one file chosen by name says it is in, and then
    // choosing all of it selects both files.
    gtk_file_chooser_set_current_folder(chooser, directory.path.c_str());
    gtk_file_chooser_select_filename(chooser, a.c_str());
    ASSERT_TRUE(wait_for([&] { return chosen() == 1; }));
    gtk_file_chooser_select_all(chooser);
    ASSERT_TRUE(wait_for([&] { return chosen() == 2; }));
    EXPECT_EQ(grabbed(dialog), a + " " + directory.path + "/c%20d");

    gtk_file_chooser_unselect_all(chooser);
    TEXT(dialog, a.c_str());
    EXPECT_TRUE(wait_for([&] { return grabbed(dialog) == a; }));
}

// A file highlighted but not chosen is not read: Cancel, Escape or closing leave no files.
TEST_F(Access, FileDialogGrabsNothingOnceDeclined) {
    TemporaryDirectory directory;
    std::string a = directory.file("a");
    Widget dialog = FILEDIALOG("Pick", "gtk-open", 400, 300, 0);
    TEXT(dialog, a.c_str());
    ASSERT_TRUE(wait_for([&] { return grabbed(dialog) == a; }));
    for (int declined : {WEX_RESPONSE_CANCEL, WEX_RESPONSE_DISMISSED}) {
        gtk_dialog_response(GTK_DIALOG(dialog), declined);
        EXPECT_EQ(grabbed(dialog), "") << declined;
        HIDE(dialog);
        SHOW(dialog);  // asked again
        TEXT(dialog, a.c_str());
        EXPECT_TRUE(wait_for([&] { return grabbed(dialog) == a; })) << declined;
    }
    gtk_dialog_response(GTK_DIALOG(dialog), WEX_RESPONSE_ACCEPT);
    EXPECT_EQ(grabbed(dialog), a);
    HIDE(dialog);
}

TEST_F(Access, ClipboardRoundTrip) {
    Widget clipboard = CLIPBOARD();
    TEXT(clipboard, "copied text");
    EXPECT_EQ(grabbed(clipboard), "copied text");
}

TEST_F(Access, ProgressBarSpeaksPercent) {
    Widget bar = PROGRESSBAR("", 100, 20);
    SET(bar, 50);
    EXPECT_DOUBLE_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(bar)), 0.5);
    EXPECT_EQ(GET(bar), 50);
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(bar), 0.335);
    EXPECT_EQ(GET(bar), 34);
    TEXT(bar, "half");
    EXPECT_EQ(grabbed(bar), "half");

    GtkWidget* plain = gtk_progress_bar_new();
    WEX_PUT_STR(wex_widget_type$, plain, "progressbar");
    EXPECT_EQ(grabbed(plain), "") << "no text set";
}

TEST_F(Access, SpinAndSliderValues) {
    Widget spin = SPIN(50, 20, 0, 10, 1);
    SET(spin, 7);
    EXPECT_EQ(GET(spin), 7);
    SET(spin, 20);
    EXPECT_EQ(GET(spin), 10) << "kept in range by GTK";
    TEXT(spin, "3");
    EXPECT_EQ(GET(spin), 10) << "a spin button takes no text";
    EXPECT_EQ(grabbed(spin), "");

    Widget gauge = VSLIDER(96, 432, -300, 300, 1);
    SET(gauge, 42);
    EXPECT_EQ(GET(gauge), 42);
    gtk_range_set_value(GTK_RANGE(gauge), 2.7);
    EXPECT_EQ(GET(gauge), 2);
    gtk_range_set_value(GTK_RANGE(gauge), -2.7);
    EXPECT_EQ(GET(gauge), -2) << "truncated toward zero";
}

TEST_F(Access, ImageShowsAnotherFile) {
    TemporaryDirectory directory;
    std::string picture = directory.path + "/dot.png";
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 5, 4);
    gdk_pixbuf_fill(pixbuf, 0xff0000ff);
    ASSERT_TRUE(gdk_pixbuf_save(pixbuf, picture.c_str(), "png", nullptr, nullptr));
    g_object_unref(pixbuf);

    Widget image = IMAGE("/nonexistent/picture.png", 10, 10);
    TEXT(image, picture.c_str());
    EXPECT_EQ(grabbed(image), picture);
    GtkImage* shown = GTK_IMAGE(gtk_bin_get_child(GTK_BIN(image)));
    ASSERT_EQ(gtk_image_get_storage_type(shown), GTK_IMAGE_PIXBUF);
    EXPECT_EQ(gdk_pixbuf_get_width(gtk_image_get_pixbuf(shown)), 5);
}

struct ExternalCalls {
    Widget widget = nullptr;
    std::string text;
    int value = 0;
} external;

void external_text(Widget w, const char* text) {
    external.widget = w;
    external.text = text;
}
const char* external_grab(Widget w) { return w == external.widget ? "external text" : "wrong widget"; }
void external_set(Widget w, int value) {
    external.widget = w;
    external.value = value;
}
int external_get(Widget w) { return w == external.widget ? 42 : -42; }

TEST_F(Access, ExternalWidgetsUseTheirOwnersFunctionsWhenGiven) {
    GtkWidget* label = gtk_label_new("outside");
    REGISTER(label, 10, 10, "show", nullptr, nullptr, nullptr, nullptr);
    TEXT(label, "ignored");
    SET(label, 5);
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(label)), "outside");
    EXPECT_EQ(grabbed(label), "");
    EXPECT_EQ(GET(label), 0);
    EXPECT_EQ(external.widget, nullptr);

    METHOD(label, 1, reinterpret_cast<t4k_fn>(external_grab));
    METHOD(label, 2, reinterpret_cast<t4k_fn>(external_text));
    METHOD(label, 3, reinterpret_cast<t4k_fn>(external_get));
    METHOD(label, 4, reinterpret_cast<t4k_fn>(external_set));
    TEXT(label, "given");
    EXPECT_EQ(external.widget, label);
    EXPECT_EQ(external.text, "given");
    SET(label, 9);
    EXPECT_EQ(external.value, 9);
    EXPECT_EQ(grabbed(label), "external text");
    EXPECT_EQ(GET(label), 42);
}

TEST_F(Access, KindsWithoutABehaviourAndUnknownHandlesGetNothing) {
    GtkWidget* unregistered = gtk_label_new("plain");
    for (Widget w : {HSEPARATOR(10), static_cast<Widget>(unregistered), static_cast<Widget>(nullptr)}) {
        TEXT(w, "text");
        SET(w, 1);
        EXPECT_EQ(GET(w), 0);
        EXPECT_EQ(grabbed(w), "");
    }
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(unregistered)), "plain");
    EXPECT_FALSE(HAS_ENTRY(wex_widget_type$, unregistered)) << "a lookup creates nothing";
}

TEST_F(Access, NullTextIsTheEmptyText) {
    Widget entry = ENTRY("full", 10, 10);
    TEXT(entry, nullptr);
    EXPECT_EQ(grabbed(entry), "");
}

TEST_F(Access, MarkupOptionStylesTheEditTagAndLaterText) {
    WEXOPTIONS("MARKUP foreground: blue, family:Monospace");
    Widget edit = EDIT(100, 50);
    TEXT(edit, "styled");
    set_option(wex::wex_gui_properties.markup, "");

    GtkTextBuffer* buffer = GTK_TEXT_BUFFER(ENTRY_HANDLE(wex_widget_s_widget, edit));
    auto* tag = GTK_TEXT_TAG(ENTRY_HANDLE(wex_widget_attach, buffer));
    gboolean foreground_set = FALSE;
    GdkColor* colour = nullptr;
    gchar* family = nullptr;
    g_object_get(tag, "foreground-set", &foreground_set, "foreground-gdk", &colour, "family", &family, nullptr);
    EXPECT_TRUE(foreground_set);
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->red, 0);
    EXPECT_EQ(colour->green, 0);
    EXPECT_EQ(colour->blue, 65535);
    EXPECT_STREQ(family, "Monospace");
    gdk_color_free(colour);
    g_free(family);

    TEXT(edit, " more");
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_insert(buffer, &end, " typed", -1);
    EXPECT_EQ(grabbed(edit), "styled more typed");
    GtkTextIter at;
    gtk_text_buffer_get_start_iter(buffer, &at);
    int untagged = 0;
    do {
        if (!gtk_text_iter_has_tag(&at, tag)) ++untagged;
    } while (gtk_text_iter_forward_char(&at) && !gtk_text_iter_is_end(&at));
    EXPECT_EQ(untagged, 0);
}

TEST_F(Access, RingResultsStayValidFor32MoreResults) {
    Widget entry = ENTRY("", 10, 10);
    std::vector<const char*> results;
    for (int i = 0; i < 40; ++i) {
        TEXT(entry, ("result " + std::to_string(i)).c_str());
        results.push_back(GRAB$(entry));
        ASSERT_NE(results.back(), nullptr);
    }
    for (int i = 40 - 32; i < 40; ++i) EXPECT_STREQ(results[i], ("result " + std::to_string(i)).c_str());
    EXPECT_EQ(results[0], results[32]) << "the ring reuses its 32 slots";
}
}  // namespace
