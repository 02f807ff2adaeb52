// ranges_test.cpp: numbers out of range in options, sizes, placement and values: refused with
// the options' warnings or cut to what GTK and X take, never a critical (the tests run with
// criticals fatal).
#include <climits>
#include <cmath>
#include <string>
#include "toolkit_fixture.h"

namespace {
class Ranges : public Toolkit {
protected:
    void TearDown() override {
        set_option(wex::wex_gui_properties.table_option, "");
        wex::WEX_FONT_SIZE_FACTOR = 1;
        wex::WEX_XFT_SIZE_FACTOR = 1;
        g_object_set(gtk_settings_get_default(), "gtk-xft-dpi", -1, nullptr);
    }
    static std::string option(const char* text) {
        wex_test::StdoutCapture out;
        WEXOPTIONS(text);
        return out.text();
    }
    static GtkRequisition requested(void* widget) {
        GtkRequisition size;
        gtk_widget_get_size_request(GTK_WIDGET(widget), &size.width, &size.height);
        return size;
    }
};

// One rule for windows and canvases: a shape beyond what a GTK table holds is no shape.
TEST_F(Ranges, TableShapesBeyondAGtkTableAreRefused) {
    for (const char* text : {"TABLE 1e20 3", "TABLE 70000 2", "TABLE 3 -1", "TABLE nan 2", "TABLE"}) {
        EXPECT_EQ(option(text), "WARNING: Invalid table layout specified! Falling back to fixed layout.\n") << text;
        EXPECT_TRUE(GTK_IS_FIXED(gtk_bin_get_child(GTK_BIN(WINDOW("t", 10, 10))))) << text;
        CANVAS(30, 20);
        gint width = 0, height = 0;
        gdk_drawable_get_size(static_cast<GdkDrawable*>(wex::wex_gui_properties.canvas), &width, &height);
        EXPECT_EQ(width, 30) << text;
        EXPECT_EQ(height, 20) << text;
    }
    EXPECT_EQ(option("TABLE 65535 1"), "");
}

// A table layout takes spans of at least one cell inside the table, whatever the numbers.
TEST_F(Ranges, TableCellsAreKeptInsideTheTable) {
    WEXOPTIONS("TABLE 4 3");
    Widget window = WINDOW("cells", 10, 10);
    for (int place : {-5, INT_MAX, INT_MIN}) {
        Widget button = BUTTON("b", INT_MAX, -3);
        ATTACH(window, button, place, place);
        guint left = 0, right = 0;
        gtk_container_child_get(GTK_CONTAINER(gtk_bin_get_child(GTK_BIN(window))), GTK_WIDGET(button), "left-attach",
                                &left, "right-attach", &right, nullptr);
        EXPECT_LT(left, right) << place;
        EXPECT_LE(right, 65535u) << place;
    }
}

TEST_F(Ranges, AResolutionNoScreenHasIsRefused) {
    g_object_set(gtk_settings_get_default(), "gtk-xft-dpi", 122880, nullptr);
    WEXOPTIONS("BASEXFTDPI 96");
    for (const char* text : {"BASEXFTDPI inf", "BASEXFTDPI 1e-300", "BASEXFTDPI 2000"}) {
        EXPECT_EQ(option(text), "WARNING: Invalid base resolution specified! Keeping the previous scaling.\n");
        EXPECT_DOUBLE_EQ(wex::WEX_XFT_SIZE_FACTOR, 1.25) << text;
    }
}

// Scaled sizes beyond X's largest coordinate are cut to it, a window's and a dialog's to what a
// repaint of the whole window may cost, with a warning; negative ones ask for the natural size.
TEST_F(Ranges, ScaledSizesStayWithinWhatGtkTakes) {
    const std::string too_large = "WARNING: Window size too large! Keeping it within 8192 x 8192 pixels.\n";
    wex::WEX_FONT_SIZE_FACTOR = 1e300;
    wex_test::StdoutCapture out;
    Widget window = WINDOW("huge", 100, -100);
    EXPECT_EQ(requested(window).width, 8192);
    EXPECT_EQ(requested(window).height, -1);
    wex::WEX_FONT_SIZE_FACTOR = 1;
    Widget dialogs[] = {MSGDIALOG("m", INT_MIN, INT_MAX, 0, 0), FILEDIALOG("f", "gtk-ok", 8193, 10, 0)};
    EXPECT_EQ(requested(dialogs[0]).width, -1);
    EXPECT_EQ(requested(dialogs[0]).height, 8192);
    EXPECT_EQ(requested(dialogs[1]).width, 8192);
    Widget fits = WINDOW("fits", 8192, 8192);
    EXPECT_EQ(out.text(), too_large + too_large + too_large);
    EXPECT_EQ(requested(fits).width, 8192);
    // Widgets that would stretch a window beyond that do not.
    SHOW(fits);
    ATTACH(fits, BUTTON("b", 32767, 32767), 32767, 32767);
    wex_test::run_until_idle();
    EXPECT_EQ(GTK_WIDGET(fits)->allocation.width, 8192);
    EXPECT_EQ(GTK_WIDGET(fits)->allocation.height, 8192);
    HIDE(fits);
    Widget button = BUTTON("b", -7, INT_MAX);
    ATTACH(WINDOW("w", 10, 10), button, INT_MAX, INT_MIN);
    EXPECT_EQ(requested(button).width, -1);
    EXPECT_EQ(requested(button).height, 32767);
}

TEST_F(Ranges, ValuesAreKeptWhereTheWidgetCanShowThem) {
    Widget bar = PROGRESSBAR("p", 10, 10);
    SET(bar, 200);
    EXPECT_EQ(GET(bar), 100);
    SET(bar, -5);
    EXPECT_EQ(GET(bar), 0);
    Widget combo = COMBO("a", 10, 10);
    SET(combo, -7);
    EXPECT_EQ(GET(combo), -1);
    // Reversed, empty and undefined ranges and steps still make a usable widget.
    Widget reversed = HSLIDER(10, 10, 10, 0, 1);
    SET(reversed, 5);
    EXPECT_EQ(GET(reversed), 5);
    EXPECT_EQ(GET(VSLIDER(10, 10, 5, 5, 0)), 5);
    EXPECT_EQ(GET(SPIN(10, 10, NAN, INFINITY, NAN)), 0);
    Widget wide = HSLIDER(10, 10, 1e300, 1e301, 1);
    EXPECT_EQ(GET(wide), INT_MAX);
}

// A request X refuses (here a pixmap beyond its largest coordinate) ends no program: the next
// SYNC says so in a warning, once.
TEST_F(Ranges, AnXErrorIsAWarningNotTheEnd) {
    wex_test::StdoutCapture out;
    gdk_pixmap_new(gdk_get_default_root_window(), 40000, 10, -1);
    for (int i = 0; i < 20; ++i) {
        SYNC();
        g_usleep(10000);
    }
    EXPECT_EQ(out.text(), "WARNING: X refused a request (error 11)! Going on without it.\n");
}
}  // namespace
