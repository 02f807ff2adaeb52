// keys_test.cpp: keys typed with xdotool into a window and a dialog, and what KEYCALLBACK's
// functions, KEY and KEYSTATE see; a handled key reaches no widget.
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
std::vector<int> keys;        // what the key function got, in order
std::vector<Widget> windows;  // and where
int clicks = 0;               // of the focused button

// Handles the arrows and Space, as a game moving a cursor would; lets the rest go on.
int on_key(Widget window, int key, void*) {
    keys.push_back(key);
    windows.push_back(window);
    return key == WEX_KEY_SPACE || (key >= WEX_KEY_LEFT && key <= WEX_KEY_DOWN);
}

class Keys : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (window) return;
        start_toolkit();
        window = WINDOW("keys", 200, 100);
        Widget button = BUTTON("New", 80, 30);
        ATTACH(window, button, 10, 10);
        CALLBACK(button, [] { ++clicks; });
        KEYCALLBACK(window, on_key);
        SHOW(window);
        FOCUS(button);
        pump_until([] { return GTK_WIDGET_MAPPED(static_cast<GtkWidget*>(window)); });
        int x = 0, y = 0;
        screen_origin(window, &x, &y);
        xdo({"mousemove", "0", "0"});  // the keys go to the window the pointer enters
        xdo({"mousemove", std::to_string(x + 150), std::to_string(y + 80)});
        pump(100);
    }
    void SetUp() override {
        keys.clear();
        windows.clear();
        clicks = 0;
    }
    static Widget window;
};
Widget Keys::window;

TEST_F(Keys, EveryKeyOfAQuickSeriesRunsTheFunction) {
    std::vector<std::string> args = {"key", "--delay", "5"};
    args.insert(args.end(), 10, "Right");
    xdo(args);
    ASSERT_TRUE(pump_until([] { return keys.size() >= 10; })) << keys.size();
    pump(50);
    EXPECT_EQ(keys, std::vector<int>(10, WEX_KEY_RIGHT));
    EXPECT_EQ(windows, std::vector<Widget>(10, window));
    EXPECT_EQ(KEY(), WEX_KEY_RIGHT);
}

// Space would press the focused button; handled, it does not.  Return, not handled, does.
TEST_F(Keys, AHandledKeyGoesNoFurther) {
    xdo({"key", "space"});
    ASSERT_TRUE(pump_until([] { return !keys.empty(); }));
    pump(100);
    EXPECT_EQ(clicks, 0);
    xdo({"key", "Return"});
    ASSERT_TRUE(pump_until([] { return clicks == 1; }));
    EXPECT_EQ(keys, (std::vector<int>{WEX_KEY_SPACE, WEX_KEY_RETURN}));
}

// The modifier's own key comes first; the key it modifies last.
TEST_F(Keys, KeystateHoldsTheModifiers) {
    for (auto [typed, key, mask] : {std::tuple{"ctrl+n", int('n'), WEX_CONTROL_MASK}, {"shift+n", 'N', WEX_SHIFT_MASK},
                                    {"alt+Left", WEX_KEY_LEFT, WEX_ALT_MASK}, {"KP_Enter", WEX_KEY_KP_ENTER, 0}}) {
        keys.clear();
        xdo({"key", typed});
        ASSERT_TRUE(pump_until([&] { return !keys.empty() && keys.back() == key; })) << typed << " " << keys.size();
        EXPECT_EQ(KEYSTATE() & (WEX_SHIFT_MASK | WEX_CONTROL_MASK | WEX_ALT_MASK), mask) << typed;
    }
}

TEST_F(Keys, ADialogsKeysReachTheFunctions) {
    Widget dialog = MSGDIALOG("Keys?", 200, 100, 2, 4);
    SHOW(dialog);
    pump_until([&] { return GTK_WIDGET_MAPPED(static_cast<GtkWidget*>(dialog)); });
    int x = 0, y = 0;
    screen_origin(dialog, &x, &y);
    xdo({"mousemove", std::to_string(x + 5), std::to_string(y + 5)});
    xdo({"key", "Down"});
    ASSERT_TRUE(pump_until([] { return !keys.empty(); }));
    EXPECT_EQ(keys[0], WEX_KEY_DOWN);
    EXPECT_EQ(windows[0], dialog);
    HIDE(dialog);
    pump(100);
}

TEST_F(Keys, ChildOnAButton) {
    if (!in_child()) GTEST_SKIP();
    KEYCALLBACK(BUTTON("b", 10, 10), on_key);
    std::exit(CAME_BACK);
}

TEST_F(Keys, ChildTakingAText) {
    if (!in_child()) GTEST_SKIP();
    KEYCALLBACK(window, [](Widget, const char*, void*) {});
    std::exit(CAME_BACK);
}

TEST_F(Keys, AKeyFunctionOnNoWindowOrTakingNoKeyEndsTheProgram) {
    for (const char* child : {"Keys.ChildOnAButton", "Keys.ChildTakingAText"}) {
        const ChildRun run = run_child(child);
        EXPECT_EQ(run.status, 0) << child;
        EXPECT_NE(run.output.find("WARNING: Cannot setup callback for wex_widget!\n"), std::string::npos) << child;
    }
}
}  // namespace
