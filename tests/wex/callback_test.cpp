// callback_test.cpp: CALLBACK and CALLBACKX connect each kind's signal; widgets without one end
// the program with a warning and status 0 (run as child processes).  What the functions are
// given, on every shape of signal, is in callback_shapes_test.
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
int clicks = 0, other_clicks = 0;

void on_click() { ++clicks; }
void on_click_too() { ++other_clicks; }

class Callbacks : public ::testing::Test {
protected:
    static void SetUpTestSuite() { start_toolkit(); }
    void SetUp() override { clicks = other_clicks = 0; }
};

TEST_F(Callbacks, ButtonClickRunsEveryConnectedFunction) {
    Widget button = BUTTON("Go", 80, 30);
    CALLBACK(button, on_click);
    CALLBACK(button, on_click_too);
    gtk_button_clicked(GTK_BUTTON(button));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(other_clicks, 1);
}

TEST_F(Callbacks, WindowCallbackRunsOnShow) {
    WEXOPTIONS("WIDGET_SHOW 0");
    Widget window = WINDOW("shown", 100, 100);
    WEXOPTIONS("WIDGET_SHOW 1");
    CALLBACK(window, on_click);
    EXPECT_EQ(clicks, 0);
    SHOW(window);
    EXPECT_EQ(clicks, 1);
    HIDE(window);
}

TEST_F(Callbacks, SliderCallbackRunsOnValueChange) {
    Widget slider = VSLIDER(20, 100, 0, 10, 1);
    CALLBACK(slider, on_click);
    SET(slider, 4);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Callbacks, ExternalWidgetConnectsItsOwnSignal) {
    GtkWidget* button = gtk_button_new_with_label("mine");
    REGISTER(button, 10, 10, "enter", nullptr, nullptr, nullptr, nullptr);
    CALLBACK(button, on_click);
    gtk_button_clicked(GTK_BUTTON(button));
    EXPECT_EQ(clicks, 0);  // "clicked" is not the registered signal
    gtk_button_enter(GTK_BUTTON(button));
    EXPECT_EQ(clicks, 1);
}

// The warning is the last line the program prints; it ends with status 0.
TEST_F(Callbacks, LabelHasNoCallbackSignal) {
    EXPECT_PROGRAM_EXITS_PRINTING("WARNING: Cannot setup callback for wex_widget!\n$",
                                  CALLBACK(MARK("caption", 100, 20), on_click));
}

TEST_F(Callbacks, CallbackxHasNoSignalForAnEdit) {
    EXPECT_PROGRAM_EXITS_PRINTING("WARNING: Cannot setup callback for widget!\n$", CALLBACKX(EDIT(100, 60), on_click, 5));
}

TEST_F(Callbacks, CallbackxOnAnUnknownHandle) {
    static int not_a_widget;
    EXPECT_PROGRAM_EXITS_PRINTING("WARNING: Cannot setup callback for widget!\n$", CALLBACKX(&not_a_widget, on_click, 5));
}
TEST_F(Callbacks, AFunctionAskingForArgumentsTheSignalLacks) {
    EXPECT_PROGRAM_EXITS_PRINTING("WARNING: Cannot setup callback for wex_widget!\n$",
                                  CALLBACK(BUTTON("b", 10, 10), [](Widget, int, void*) {}));
}
}  // namespace
