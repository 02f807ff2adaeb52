// events_test.cpp: the pointer and the keyboard driven for real with xdotool over a canvas, and
// what MOUSE, KEY and a canvas's CALLBACK see.  The tests run in order: the first one needs a
// program that has had no pointer event yet.
#include <gdk/gdkkeysyms.h>
#include "tests/wex/canvas_harness.h"
#include "wex/events.h"

using namespace harness;

namespace {
constexpr int GDK_SCROLL_UP_ = 0, GDK_SCROLL_DOWN_ = 1;

// What the canvas's click handler saw, read through MOUSE as the games do.
struct Press {
    int count = 0;
    intptr_t x = 0, y = 0, button = 0, widget = 0;
};
Press press;
void on_press() {
    ++press.count;
    press.x = MOUSE(0);
    press.y = MOUSE(1);
    press.button = MOUSE(2);
    press.widget = MOUSE(4);
}

class Events : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (window.window) return;
        start_toolkit();
        xdo({"mousemove", "0", "0"});  // nowhere near the window, which opens at the centre
        window = open_canvas_window("events", 200, 150);
        CALLBACK(window.canvas, on_press);
        screen_origin(window.canvas, &left, &top);
    }
    // Moves the pointer to canvas pixel (x, y).
    static void move_to(int x, int y) {
        xdo({"mousemove", std::to_string(left + x), std::to_string(top + y)});
    }
    static CanvasWindow window;
    static int left, top;
};
CanvasWindow Events::window;
int Events::left, Events::top;

TEST_F(Events, BeforeAnyPointerEventMouseReadsItsStartValues) {
    for (int what = 0; what < 4; ++what) EXPECT_EQ(MOUSE(what), -1) << what;
    EXPECT_EQ(MOUSE(4), 0);
    EXPECT_EQ(MOUSE(5), 0);
    EXPECT_EQ(MOUSE(-1), 0);
    EXPECT_EQ(KEY(), 0);
}

TEST_F(Events, MotionRecordsCanvasPixelsAndTheCanvas) {
    move_to(30, 40);
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == 30 && MOUSE(1) == 40; })) << MOUSE(0) << "," << MOUSE(1);
    EXPECT_EQ(MOUSE(4), reinterpret_cast<intptr_t>(window.canvas));  // the whole handle
    EXPECT_EQ(MOUSE(3), -1);
    move_to(199, 149);
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == 199 && MOUSE(1) == 149; }));
}

TEST_F(Events, AClickRunsTheCallbackWhichReadsThePosition) {
    move_to(57, 12);
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == 57; }));
    press = {};
    xdo({"click", "3"});
    ASSERT_TRUE(pump_until([] { return press.count == 1 && MOUSE(2) == -1; }));
    EXPECT_EQ(press.x, 57);
    EXPECT_EQ(press.y, 12);
    EXPECT_EQ(press.button, 3);  // the release sets it back
    EXPECT_EQ(press.widget, reinterpret_cast<intptr_t>(window.canvas));
    EXPECT_EQ(MOUSE(2), -1);
}

// GDK follows a quick second and third press with synthesised double- and triple-press events
// on the same signal; the program's function still runs once per press.
TEST_F(Events, AQuickSeriesOfClicksRunsTheCallbackOncePerPress) {
    move_to(80, 30);
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == 80; }));
    for (int presses : {2, 3}) {
        press = {};
        xdo({"click", "--repeat", std::to_string(presses), "--delay", "40", "1"});
        pump(300);
        EXPECT_EQ(press.count, presses) << presses << " presses";
        pump(500);  // the next series is not taken for a continuation of this one
    }
}

TEST_F(Events, ScrollSetsTheWheelUntilTheNextMotion) {
    move_to(100, 100);
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == 100; }));
    xdo({"click", "5"});
    ASSERT_TRUE(pump_until([] { return MOUSE(3) == GDK_SCROLL_DOWN_; })) << MOUSE(3);
    xdo({"click", "4"});
    ASSERT_TRUE(pump_until([] { return MOUSE(3) == GDK_SCROLL_UP_; })) << MOUSE(3);
    EXPECT_EQ(MOUSE(0), 100);
    move_to(101, 100);
    ASSERT_TRUE(pump_until([] { return MOUSE(3) == -1; }));
}

TEST_F(Events, LeavingTheCanvasForgetsThePosition) {
    move_to(20, 20);
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == 20; }));
    wex::wex_gui_properties.mouse_button = 3;
    wex::wex_gui_properties.mouse_wheel = 2;
    move_to(-300, -300);
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == -1; }));
    EXPECT_EQ(MOUSE(1), -1);
    EXPECT_EQ(MOUSE(2), -1);
    EXPECT_EQ(MOUSE(3), -1);
    EXPECT_EQ(MOUSE(4), reinterpret_cast<intptr_t>(window.canvas));  // kept
}

// A canvas opened under a pointer that then stays still: the click lands where it is made.
TEST_F(Events, AClickWithoutMotionLandsWhereItIsMade) {
    const int centre_x = gdk_screen_width() / 2, centre_y = gdk_screen_height() / 2;
    xdo({"mousemove", std::to_string(centre_x), std::to_string(centre_y)});
    const CanvasWindow still = open_canvas_window("still", 120, 90);
    CALLBACK(still.canvas, on_press);
    int x = 0, y = 0;
    screen_origin(still.canvas, &x, &y);
    press = {};
    xdo({"click", "1"});
    ASSERT_TRUE(pump_until([] { return press.count == 1; }));
    EXPECT_EQ(press.x, centre_x - x);
    EXPECT_EQ(press.y, centre_y - y);
    EXPECT_EQ(press.button, 1);
    EXPECT_EQ(press.widget, reinterpret_cast<intptr_t>(still.canvas));
    gtk_widget_hide(static_cast<GtkWidget*>(still.window));
    pump(100);
}

// A double click on an entry that runs a program function on presses still selects a word.
TEST_F(Events, GtkKeepsItsOwnDoubleClicks) {
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(entry), "first second");
    REGISTER(entry, 150, 30, "button-press-event", nullptr, nullptr, nullptr, nullptr);
    CALLBACK(entry, on_press);
    Widget window = WINDOW("entry", 170, 50);
    ATTACH(window, entry, 10, 10);
    SHOW(window);
    pump_until([&] { return GTK_WIDGET_MAPPED(entry); });
    pump(100);
    int x = 0, y = 0;
    screen_origin(entry, &x, &y);
    xdo({"mousemove", std::to_string(x + 12), std::to_string(y + 8)});
    press = {};
    xdo({"click", "--repeat", "2", "--delay", "40", "1"});
    pump(300);
    int start = 0, end = 0;
    EXPECT_TRUE(gtk_editable_get_selection_bounds(GTK_EDITABLE(entry), &start, &end));
    EXPECT_EQ(end - start, 5) << start << " " << end;  // "first"
    EXPECT_EQ(press.count, 2);
    gtk_widget_hide(static_cast<GtkWidget*>(window));
}

TEST_F(Events, AKeyTypedInTheWindowShowsInKey) {
    move_to(50, 50);
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == 50; }));
    xdo({"key", "a"});
    ASSERT_TRUE(pump_until([] { return KEY() == 97; })) << KEY();
    RESETKEY();
    EXPECT_EQ(KEY(), 0);
    xdo({"key", "Return"});
    ASSERT_TRUE(pump_until([] { return KEY() == GDK_Return; })) << KEY();
    RESETKEY();
}
}  // namespace
