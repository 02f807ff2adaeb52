// ranges_test.cpp: numbers out of range in options, sizes and placement, and every value case of
// SET and GET: refused with the options' warnings or cut to what GTK and X take, never a critical
// (the tests run with criticals fatal).
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

// A shape the parser refuses (the cases are in windows_test) is warned of, and a canvas made
// under it keeps its size.
TEST_F(Ranges, TableShapesBeyondAGtkTableAreRefused) {
    for (const char* text : {"TABLE 1e20 3", "TABLE"}) {
        EXPECT_EQ(option(text), "WARNING: Invalid table layout specified! Falling back to fixed layout.\n") << text;
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

// Every value case of the kinds that hold a number: what a program or the user puts in, and
// what GET then answers.  A value the widget cannot show leaves it as it was, or is cut to its
// range where GTK cuts it; reversed, empty and undefined ranges still make a usable widget.
struct ValueCase {
    const char* name;
    Widget (*make)();
    void (*put)(Widget);
    int got;
};
Widget percent_bar() { return PROGRESSBAR("p", 10, 10); }
Widget two_rows() {
    Widget combo = COMBO("a", 10, 10);
    TEXT(combo, "b");
    return combo;
}
Widget spin_to_ten() { return SPIN(50, 20, 0, 10, 1); }
Widget gauge() { return VSLIDER(96, 432, -300, 300, 1); }
Widget meter() { return VSLIDER(96, 432, 0, 300, 1); }
Widget reversed() { return HSLIDER(10, 10, 10, 0, 1); }

const ValueCase VALUE_CASES[] = {
    {"bar 50", percent_bar, [](Widget w) { SET(w, 50); }, 50},
    {"bar shown at 33.5%", percent_bar,
     [](Widget w) { gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(w), 0.335); }, 34},
    {"bar 101", percent_bar, [](Widget w) { SET(w, 40), SET(w, 101); }, 40},
    {"bar INT_MAX", percent_bar, [](Widget w) { SET(w, 100), SET(w, INT_MAX); }, 100},
    {"bar -1", percent_bar, [](Widget w) { SET(w, 0), SET(w, -1); }, 0},
    {"bar INT_MIN", percent_bar, [](Widget w) { SET(w, 60), SET(w, INT_MIN); }, 60},
    {"combo -2", two_rows, [](Widget w) { SET(w, 1), SET(w, -2); }, 1},
    {"combo INT_MIN", two_rows, [](Widget w) { SET(w, -1), SET(w, INT_MIN); }, -1},
    {"spin 7", spin_to_ten, [](Widget w) { SET(w, 7); }, 7},
    {"spin beyond its top", spin_to_ten, [](Widget w) { SET(w, 20); }, 10},
    {"spin of NaN limits", [] { return SPIN(10, 10, NAN, INFINITY, NAN); }, [](Widget) {}, 0},
    {"slider 42", gauge, [](Widget w) { SET(w, 42); }, 42},
    {"slider at 2.7, truncated", gauge, [](Widget w) { gtk_range_set_value(GTK_RANGE(w), 2.7); }, 2},
    {"slider at -2.7, toward zero", gauge, [](Widget w) { gtk_range_set_value(GTK_RANGE(w), -2.7); }, -2},
    {"inverted slider keeps the value", meter, [](Widget w) { INVERT(w), SET(w, 216); }, 216},
    {"RANGE in reverse order", meter, [](Widget w) { SET(w, 216), RANGE(w, 420, 0); }, 216},
    {"RANGE below the value", meter, [](Widget w) { SET(w, 216), RANGE(w, 0, 100); }, 100},
    {"reversed limits", reversed, [](Widget w) { SET(w, 5); }, 5},
    {"empty range", [] { return VSLIDER(10, 10, 5, 5, 0); }, [](Widget) {}, 5},
    {"limits beyond int", [] { return HSLIDER(10, 10, 1e300, 1e301, 1); }, [](Widget) {}, INT_MAX},
};

TEST_F(Ranges, ValuesComeBackAsTheWidgetShowsThem) {
    for (const ValueCase& c : VALUE_CASES) {
        Widget widget = c.make();
        c.put(widget);
        EXPECT_EQ(GET(widget), c.got) << c.name;
    }
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
