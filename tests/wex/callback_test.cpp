// callback_test.cpp: CALLBACK and CALLBACKX connect each kind's signal; widgets without one end
// the program with a warning and status 0 (run as children of this program).
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
int clicks = 0, other_clicks = 0;
void* received_data = nullptr;
Widget received_widget = nullptr;

void on_click() { ++clicks; }
void on_click_too() { ++other_clicks; }
void with_data(Widget widget, void* data) {
    received_widget = widget;
    received_data = data;
}

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

TEST_F(Callbacks, CallbackxPassesItsDataLast) {
    Widget button = BUTTON("Data", 80, 30);
    const intptr_t data = intptr_t(0x7FEDCBA987654321);  // all 64 bits must arrive
    CALLBACKX(button, with_data, data);
    gtk_button_clicked(GTK_BUTTON(button));
    EXPECT_EQ(received_widget, button);
    EXPECT_EQ(reinterpret_cast<intptr_t>(received_data), data);
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

TEST_F(Callbacks, EditCallbackRunsOnInsertedText) {
    Widget edit = EDIT(100, 60);
    CALLBACK(edit, on_click);
    auto* buffer = WEX_GET_HANDLE(GtkTextBuffer, wex_widget_s_widget, edit);
    gtk_text_buffer_insert_at_cursor(buffer, "abc", -1);
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

// The children: each calls the toolkit the way a program would and must not come back.
TEST_F(Callbacks, ChildLabel) {
    if (!in_child()) GTEST_SKIP() << "runs as a child";
    CALLBACK(MARK("caption", 100, 20), on_click);
    std::_Exit(CAME_BACK);
}
TEST_F(Callbacks, ChildEditWithData) {
    if (!in_child()) GTEST_SKIP() << "runs as a child";
    CALLBACKX(EDIT(100, 60), on_click, 5);
    std::_Exit(CAME_BACK);
}
TEST_F(Callbacks, ChildUnknownHandle) {
    if (!in_child()) GTEST_SKIP() << "runs as a child";
    static int not_a_widget;
    CALLBACKX(&not_a_widget, on_click, 5);
    std::_Exit(CAME_BACK);
}
TEST_F(Callbacks, ChildArgumentsTheSignalLacks) {
    if (!in_child()) GTEST_SKIP() << "runs as a child";
    CALLBACK(BUTTON("b", 10, 10), [](Widget, int, void*) {});
    std::_Exit(CAME_BACK);
}

// The warning is the last line the child prints; the program ends with status 0.
void expect_warning_and_exit(const char* child, const std::string& line) {
    ChildRun run = run_child(child);
    EXPECT_EQ(run.status, 0) << run.output;
    ASSERT_GE(run.output.size(), line.size()) << run.output;
    EXPECT_EQ(run.output.substr(run.output.size() - line.size()), line) << run.output;
}

TEST_F(Callbacks, LabelHasNoCallbackSignal) {
    expect_warning_and_exit("Callbacks.ChildLabel", "WARNING: Cannot setup callback for wex_widget!\n");
}

TEST_F(Callbacks, CallbackxHasNoSignalForAnEdit) {
    expect_warning_and_exit("Callbacks.ChildEditWithData", "WARNING: Cannot setup callback for widget!\n");
}

TEST_F(Callbacks, CallbackxOnAnUnknownHandle) {
    expect_warning_and_exit("Callbacks.ChildUnknownHandle", "WARNING: Cannot setup callback for widget!\n");
}
TEST_F(Callbacks, AFunctionAskingForArgumentsTheSignalLacks) {
    expect_warning_and_exit("Callbacks.ChildArgumentsTheSignalLacks", "WARNING: Cannot setup callback for wex_widget!\n");
}
}  // namespace
