// Windows, notebooks, frames and placement, checked on what GTK made and allocated after the main
// loop ran; and the small calls on visibility, font, sensitivity and focus.
#include <gtest/gtest.h>
#include <string>
#include "support/toolkit.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/windows.h"

namespace {
using wex_test::run_until_idle;

class Windows : public ::testing::Test {
protected:
    static void SetUpTestSuite() { wex_test::start_toolkit(); }
    void SetUp() override { WEXOPTIONS("NOSCALING"); }
    void TearDown() override {
        g_object_set(gtk_settings_get_default(), "gtk-font-name", "Sans 10", nullptr);
        WEXOPTIONS("NOSCALING");
        wex::wex_gui_properties.table_option = __t4k_Copy_String(wex::wex_gui_properties.table_option, "");
        WEX_WIDGET_SHOW = 1;
    }
    static void use_font_factor_of(const char* font) {
        g_object_set(gtk_settings_get_default(), "gtk-font-name", font, nullptr);
        WEXOPTIONS("SCALING");
    }
    static GtkRequisition requested(void* widget) {
        GtkRequisition size;
        gtk_widget_get_size_request(GTK_WIDGET(widget), &size.width, &size.height);
        return size;
    }
    // A registered widget with the given size, as REGISTER brings one in.
    static GtkWidget* registered_button(int xsize, int ysize) {
        GtkWidget* button = gtk_button_new_with_label("b");
        REGISTER(button, xsize, ysize, "clicked", nullptr, nullptr, nullptr, nullptr);
        return button;
    }
    static GtkWidget* container_of(void* window) { return gtk_bin_get_child(GTK_BIN(window)); }
};

TEST_F(Windows, AWindowRequestsItsSizeInPixelsUnderNoScaling) {
    use_font_factor_of("Sans 12");
    WEXOPTIONS("NOSCALING");
    Widget window = WINDOW("Kelvado", 800, 600);
    EXPECT_EQ(requested(window).width, 800);
    EXPECT_EQ(requested(window).height, 600);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), "Kelvado");
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));
    GtkWindowPosition position;
    g_object_get(window, "window-position", &position, nullptr);
    EXPECT_EQ(position, GTK_WIN_POS_CENTER);
    EXPECT_TRUE(GTK_IS_FIXED(container_of(window)));
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(window));
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(container_of(window)));
    EXPECT_EQ(WIDGET, window);
    EXPECT_STREQ(WEX_GET(wex_widget_type$, window), "window");
    EXPECT_EQ(WEX_GET(wex_widget_signal, window), 1);
    EXPECT_EQ(WEX_GET(wex_winstate, window), 0);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_attach, window), container_of(window));
    for (auto* entry : {&_wex_widget_s_widget_, &_wex_widget_font_, &_wex_widget_focus_})
        EXPECT_EQ(reinterpret_cast<void*>(entry(wex::Key(window), nullptr)), window);
}

TEST_F(Windows, AWindowIsScaledByTheFontFactor) {
    use_font_factor_of("Sans 12");
    Widget window = WINDOW("Scaled", 333, 300);
    EXPECT_EQ(requested(window).width, 400);  // 399.6
    EXPECT_EQ(requested(window).height, 360);
    EXPECT_EQ(WEX_GET(wex_widget_xsize, window), 333);  // kept as given
    EXPECT_EQ(WEX_GET(wex_widget_ysize, window), 300);
}

TEST_F(Windows, ATableOptionGivesAResizableHomogeneousTable) {
    WEXOPTIONS("TABLE 4 3");
    Widget window = WINDOW("Table", 400, 300);
    GtkWidget* table = container_of(window);
    ASSERT_TRUE(GTK_IS_TABLE(table));
    EXPECT_TRUE((wex_test::table_shape(table) == wex_test::TableShape{4, 3, TRUE}));
    EXPECT_TRUE(gtk_window_get_resizable(GTK_WINDOW(window)));

    GtkWidget* button = registered_button(2, 1);
    ATTACH(window, button, 1, 2);
    guint left, right, top, bottom;
    gtk_container_child_get(GTK_CONTAINER(table), button, "left-attach", &left, "right-attach", &right,
                            "top-attach", &top, "bottom-attach", &bottom, nullptr);
    EXPECT_EQ(left, 1u);
    EXPECT_EQ(right, 3u);
    EXPECT_EQ(top, 2u);
    EXPECT_EQ(bottom, 3u);
}

/* The shape each "TABLE" option text gives, read by the one parser that windows, notebook pages
 * and CANVAS share: a table of that shape, or a fixed container.  The option is set as it is
 * kept, so that texts WEXOPTIONS would not take for "TABLE" reach the parser too. */
TEST_F(Windows, TheTableOptionsWordsGiveTheShape) {
    struct Shape {
        const char* option;
        guint columns, rows;  // 0: a fixed container
    };
    const Shape shapes[] = {
        {"TABLE", 0, 0},                // no numbers
        {"A TABLE 2", 0, 0},            // one word after it
        {"TABLE  4 3", 0, 0},           // the empty word between two blanks is the first number
        {"TABLE 0 3", 0, 0},            // no columns
        {"TABLE 3 -1", 0, 0},           // no rows
        {"TABLE 1e20 3", 0, 0},         // more columns than a GTK table holds
        {"TABLE 70000 2", 0, 0},
        {"TABLE nan 2", 0, 0},
        {"TABLE 65535 1", 65535, 1},    // the most a GTK table holds
        {"XTABLEX 5 2", 5, 2},          // any word containing the keyword
        {"\"TABLE 7\" 2 3", 2, 3},      // a quoted blank does not split
        {"\\\"TABLE 7\\\" 2 3", 7, 2},  // an escaped quote opens nothing
        {"TABLE 6.9 2 junk", 6, 2},     // numbers are truncated
        {"TABLE 2 5 and more", 2, 5},   // words after the shape are left alone
    };
    for (const Shape& shape : shapes) {
        wex::wex_gui_properties.table_option = __t4k_Copy_String(wex::wex_gui_properties.table_option, shape.option);
        GtkWidget* container = container_of(WINDOW("Shape", 100, 100));
        if (shape.columns == 0) {
            EXPECT_TRUE(GTK_IS_FIXED(container)) << shape.option;
            continue;
        }
        ASSERT_TRUE(GTK_IS_TABLE(container)) << shape.option;
        const wex_test::TableShape made = wex_test::table_shape(container);
        EXPECT_EQ(made.columns, shape.columns) << shape.option;
        EXPECT_EQ(made.rows, shape.rows) << shape.option;
    }
}

TEST_F(Windows, ATableOptionWithoutAShapeLaysOutInPixels) {
    WEXOPTIONS("TABLE 4");
    Widget window = WINDOW("No shape", 100, 100);
    EXPECT_TRUE(GTK_IS_FIXED(container_of(window)));
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));
    GtkWidget* button = registered_button(30, 20);
    ATTACH(window, button, 5, 6);
    EXPECT_EQ(gtk_widget_get_parent(button), container_of(window));
}

TEST_F(Windows, AttachPlacesAndSizesInScaledPixelsButCanvasesKeepTheirSize) {
    use_font_factor_of("Sans 12");
    Widget window = WINDOW("Placed", 400, 300);
    GtkWidget* button = registered_button(100, 50);
    ATTACH(window, button, 10, 20);
    GtkWidget* canvas = gtk_event_box_new();
    REGISTER(canvas, 100, 50, "button-press-event", nullptr, nullptr, nullptr, nullptr);
    WEX_PUT_HANDLE(wex_widget_image, canvas, gtk_image_new());  // what makes it a canvas
    ATTACH(window, canvas, 200, 100);
    run_until_idle();
    const GtkAllocation b = button->allocation, c = canvas->allocation;
    EXPECT_EQ(b.x, 12);
    EXPECT_EQ(b.y, 24);
    EXPECT_EQ(b.width, 120);
    EXPECT_EQ(b.height, 60);
    EXPECT_EQ(c.x, 240);
    EXPECT_EQ(c.y, 120);
    EXPECT_EQ(c.width, 100);
    EXPECT_EQ(c.height, 50);
}

TEST_F(Windows, AttachWithoutScalingPutsWidgetsWhereAsked) {
    Widget window = WINDOW("Pixels", 300, 200);
    Widget frame = FRAME(150, 80);
    ATTACH(window, frame, 30, 40);
    run_until_idle();
    EXPECT_EQ(gtk_widget_get_parent(GTK_WIDGET(frame)), container_of(window));
    const GtkAllocation a = GTK_WIDGET(frame)->allocation;
    EXPECT_EQ(a.x, 30);
    EXPECT_EQ(a.y, 40);
    EXPECT_EQ(a.width, 150);
    EXPECT_EQ(a.height, 80);
    GtkAllocation w = GTK_WIDGET(window)->allocation;
    EXPECT_EQ(w.width, 300);
    EXPECT_EQ(w.height, 200);
}

TEST_F(Windows, AttachToNothingMovesAWindowOnTheScreen) {
    Widget window = WINDOW("Moved", 120, 80);
    run_until_idle();
    ATTACH(nullptr, window, 100, 50);
    run_until_idle();
    gint x = 0, y = 0;
    gdk_window_get_root_origin(GTK_WIDGET(window)->window, &x, &y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
}

TEST_F(Windows, ANotebookIsRegisteredWithItsFirstPage) {
    Widget notebook = NOTEBOOK("First", 300, 200);
    EXPECT_EQ(WIDGET, notebook);
    ASSERT_EQ(gtk_notebook_get_n_pages(GTK_NOTEBOOK(notebook)), 1);
    GtkWidget* page = gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), 0);
    EXPECT_TRUE(GTK_IS_FIXED(page));
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(page));
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(notebook));
    EXPECT_STREQ(gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(notebook), page), "First");
    EXPECT_STREQ(WEX_GET(wex_widget_type$, notebook), "notebook");
    EXPECT_EQ(WEX_GET(wex_widget_signal, notebook), 0);
    EXPECT_EQ(WEX_GET(wex_widget_xsize, notebook), 300);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_attach, notebook), page);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_font, notebook),
              gtk_notebook_get_tab_label(GTK_NOTEBOOK(notebook), page));
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_focus, notebook), notebook);
    EXPECT_STREQ(WEX_GET(wex_widget_nb_page$, notebook), wex::Key(page).text);
}

TEST_F(Windows, AttachingToANotebookUsesThePageShown) {
    Widget window = WINDOW("Pages", 400, 300);
    Widget notebook = NOTEBOOK("One", 300, 200);
    ATTACH(window, notebook, 0, 0);
    // A second and third page, recorded as a page is recorded when one is added.
    std::string pages = WEX_GET(wex_widget_nb_page$, notebook);
    GtkWidget* added[2];
    for (GtkWidget*& page : added) {
        page = gtk_fixed_new();
        gtk_widget_show(page);
        gtk_notebook_append_page(GTK_NOTEBOOK(notebook), page, gtk_label_new("more"));
        pages += std::string(" ") + wex::Key(page).text;
    }
    WEX_PUT_STR(wex_widget_nb_page$, notebook, pages.c_str());
    run_until_idle();

    gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 2);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_attach, notebook), added[1]);
    gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 1);
    Widget frame = FRAME(50, 40);
    ATTACH(notebook, frame, 5, 6);
    EXPECT_EQ(gtk_widget_get_parent(GTK_WIDGET(frame)), added[0]);

    wex::wex_NOTEBOOK_hack(GTK_NOTEBOOK(notebook), nullptr, 9, nullptr);  // no such page
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_attach, notebook), added[0]);
}

TEST_F(Windows, ANotebookPageUnderATableOptionIsATable) {
    WEXOPTIONS("TABLE 4 3");
    Widget notebook = NOTEBOOK("Cells", 4, 3);
    EXPECT_TRUE(GTK_IS_TABLE(WEX_GET_HANDLE(GtkWidget, wex_widget_attach, notebook)));
}

TEST_F(Windows, AFrameHasNoLabelContainerOrFocus) {
    Widget frame = FRAME(70, 30);
    EXPECT_EQ(WIDGET, frame);
    EXPECT_TRUE(GTK_IS_FRAME(frame));
    EXPECT_EQ(gtk_frame_get_label_widget(GTK_FRAME(frame)), nullptr);
    EXPECT_STREQ(WEX_GET(wex_widget_type$, frame), "frame");
    EXPECT_EQ(WEX_GET(wex_widget_xsize, frame), 70);
    EXPECT_EQ(WEX_GET(wex_widget_ysize, frame), 30);
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_s_widget, frame), frame);
    EXPECT_EQ(WEX_GET(wex_widget_font, frame), 0);
    EXPECT_EQ(WEX_GET(wex_widget_attach, frame), 0);
    EXPECT_EQ(WEX_GET(wex_widget_focus, frame), 0);
    EXPECT_EQ(WEX_GET(wex_widget_signal, frame), 0);
}

TEST_F(Windows, NothingIsShownWhileWidgetShowIsOff) {
    WEXOPTIONS("WIDGET_SHOW 0");
    Widget window = WINDOW("Hidden", 100, 100);
    Widget notebook = NOTEBOOK("Hidden", 100, 100);
    Widget frame = FRAME(10, 10);
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(window));
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(notebook));
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(frame));
    SHOW(window);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(window));
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(container_of(window)));
}

TEST_F(Windows, ShowHideDisableEnable) {
    Widget window = WINDOW("States", 100, 100);
    GtkWidget* button = registered_button(40, 20);
    ATTACH(window, button, 0, 0);
    HIDE(button);
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(button));
    SHOW(button);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(button));
    DISABLE(button);
    EXPECT_FALSE(GTK_WIDGET_SENSITIVE(button));
    ENABLE(button);
    EXPECT_TRUE(GTK_WIDGET_SENSITIVE(button));
}

TEST_F(Windows, FocusActsOnTheFocusEntry) {
    Widget window = WINDOW("Focus", 200, 100);
    GtkWidget* box = gtk_event_box_new();
    GtkWidget* entry = gtk_entry_new();
    gtk_container_add(GTK_CONTAINER(box), entry);
    REGISTER(box, 100, 30, "activate", nullptr, nullptr, nullptr, entry);
    ATTACH(window, box, 0, 0);
    SHOW(box);
    UNFOCUS(box);
    EXPECT_FALSE(GTK_WIDGET_CAN_FOCUS(entry));
    FOCUS(box);
    EXPECT_TRUE(GTK_WIDGET_CAN_FOCUS(entry));
    EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(window)), entry);
    UNFOCUS(box);
    EXPECT_FALSE(GTK_WIDGET_CAN_FOCUS(entry));
}

// What a screen reader hears of a canvas: the texts read back through ATK, copied at the call.
TEST_F(Windows, DescribeSetsTheAccessibleNameAndDescription) {
    Widget window = WINDOW("Described", 200, 200);
    Widget canvas = CANVAS(100, 100);
    ATTACH(window, canvas, 0, 0);
    char changing[] = "Row 4, column 7: forest, used once";
    struct Case { const char* name; const char* description; const char* heard_name; const char* heard; };
    const Case cases[] = {
        {"Kelvado", changing, "Kelvado", "Row 4, column 7: forest, used once"},
        {"Kelvado", changing + 17, "Kelvado", "forest, used once"},
        {nullptr, nullptr, "", ""},
        {"Plimsy", "Row 2, column 3: robot, selected", "Plimsy", "Row 2, column 3: robot, selected"},
    };
    for (const Case& c : cases) {
        DESCRIBE(canvas, c.name, c.description);
        changing[0] = 'X';  // the toolkit kept a copy, not the caller's text
        AtkObject* accessible = gtk_widget_get_accessible(GTK_WIDGET(canvas));
        EXPECT_STREQ(atk_object_get_name(accessible), c.heard_name);
        EXPECT_STREQ(atk_object_get_description(accessible), c.heard);
        changing[0] = 'R';
    }
}

TEST_F(Windows, FontActsOnTheFontEntry) {
    Widget window = WINDOW("Font", 200, 100);
    GtkWidget* box = gtk_event_box_new();
    GtkWidget* label = gtk_label_new("styled");
    gtk_container_add(GTK_CONTAINER(box), label);
    REGISTER(box, 100, 30, "show", nullptr, nullptr, label, nullptr);
    ATTACH(window, box, 0, 0);
    FONT(box, "Monospace Bold 14");
    gtk_widget_ensure_style(label);
    gchar* font = pango_font_description_to_string(label->style->font_desc);
    EXPECT_STREQ(font, "Monospace Bold 14");
    g_free(font);
}

TEST_F(Windows, ClosingAWindowEndsTheProgramAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Widget window = WINDOW("Closing", 100, 100);
            run_until_idle();
            GdkEvent* event = gdk_event_new(GDK_DELETE);
            event->any.window = GDK_WINDOW(g_object_ref(GTK_WIDGET(window)->window));
            gtk_main_do_event(event);
            std::fprintf(stderr, "still running\n");
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "^$");
}

// Unknown handles are left alone: nothing is read through them and GTK never sees them.
TEST_F(Windows, BadHandlesAreIgnoredQuietly) {
    Widget window = WINDOW("Bad handles", 100, 100);
    const auto outcome = wex_test::run_in_child([window] {
        void* const bogus = reinterpret_cast<void*>(intptr_t(0x1234));
        for (void* bad : {static_cast<void*>(nullptr), bogus}) {
            ATTACH(bad, bad, 1, 2);
            ATTACH(window, bad, 1, 2);
            ATTACH(bad, window, 1, 2);
            SHOW(bad);
            HIDE(bad);
            FONT(bad, "Sans 12");
            FONT(bad, nullptr);
            DISABLE(bad);
            ENABLE(bad);
            FOCUS(bad);
            UNFOCUS(bad);
            DESCRIBE(bad, "name", "description");
            wex::wex_NOTEBOOK_hack(static_cast<GtkNotebook*>(bad), nullptr, 0, nullptr);
        }
        std::fprintf(stderr, "survived\n");
    });
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "survived\n");
}
}  // namespace
