// examples_e2e_test.cpp: the toolkit's examples on the X server, clicked and typed at with
// xdotool and read from the screen or from what they print.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "tests/support/x11_session.h"

namespace {

using e2e::Image;
using e2e::Program;
using e2e::Rgb;
using std::chrono::milliseconds;

const std::string EXAMPLES = WEX_BINARY_DIR "/examples/";

// The program ends with status 0 through its Quit button, having said nothing on standard error.
void quit_with_button(Program& program, int x, int y) {
    program.click(x, y);
    const auto ended = program.wait_exit();
    ASSERT_TRUE(ended.has_value()) << "still running after Quit";
    EXPECT_TRUE(ended->exited);
    EXPECT_EQ(ended->status, 0);
    EXPECT_EQ(program.standard_error(), "");
}

TEST(Hello, HelloChangesTheLabelAndQuitEndsTheProgram) {
    Program hello(EXAMPLES + "hello");
    hello.wait_window("Hello");
    const e2e::Geometry window = hello.geometry();
    EXPECT_EQ(window.width, 300);
    EXPECT_EQ(window.height, 110);

    constexpr int LABEL_X = 10, LABEL_Y = 10, LABEL_WIDTH = 280, LABEL_HEIGHT = 30;
    const Image first = hello.read(LABEL_X, LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT);
    EXPECT_GT(first.count(e2e::BLACK), 0) << "the label shows no text";
    hello.click(10 + 135 / 2, 60 + 20);
    const Image greeting = hello.read_until(LABEL_X, LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT,
                                            [&](const Image& label) { return label != first; });
    EXPECT_NE(greeting, first) << "the label did not change";
    EXPECT_GT(greeting.count(e2e::BLACK), first.count(e2e::BLACK)) << "the greeting is bold and longer";
    quit_with_button(hello, 155 + 135 / 2, 60 + 20);
}

constexpr Rgb RED{255, 0, 0};

class Sketch : public ::testing::Test {
protected:
    static constexpr int PAGE_X = 10, PAGE_Y = 10, PAGE_WIDTH = 400, PAGE_HEIGHT = 300;
    static constexpr int BUTTON_X = 420 + 45, COLOUR_Y = 130 + 15, CLEAR_Y = 170 + 15, QUIT_Y = 280 + 15;
    static constexpr int WHERE_X = 420, WHERE_Y = 10, LABEL_WIDTH = 90, LABEL_HEIGHT = 30;

    void SetUp() override { sketch.wait_window("Sketch"); }

    Image page() const { return sketch.read(PAGE_X, PAGE_Y, PAGE_WIDTH, PAGE_HEIGHT); }
    // Waits until the page shows `colour` at every one of the points, given in page pixels.
    ::testing::AssertionResult page_shows(Rgb colour, std::initializer_list<std::pair<int, int>> points) const {
        const auto shows = [&](const Image& p) {
            for (auto [x, y] : points)
                if (p.at(x, y) != colour) return false;
            return true;
        };
        const Image seen = sketch.read_until(PAGE_X, PAGE_Y, PAGE_WIDTH, PAGE_HEIGHT, shows);
        if (shows(seen)) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure();
        for (auto [x, y] : points) failure << " (" << x << ", " << y << ") " << e2e::to_string(seen.at(x, y));
        return failure;
    }
    void click_page(int x, int y) const { sketch.click(PAGE_X + x, PAGE_Y + y); }
    // Within the page a warp of the pointer is a motion, as a hand's would be.
    void move_on_page(int x, int y) const {
        const e2e::Geometry window = sketch.geometry();
        e2e::run_command({"xdotool", "mousemove", std::to_string(window.x + PAGE_X + x),
                          std::to_string(window.y + PAGE_Y + y)});
    }
    Image where_label() const { return sketch.read(WHERE_X, WHERE_Y, LABEL_WIDTH, LABEL_HEIGHT); }

    Program sketch{EXAMPLES + "sketch"};
};

TEST_F(Sketch, ThePenDrawsWhereThePointerGoesInTheInkChosenUntilLiftedOrCleared) {
    const auto white = [](const Image& p) { return p.count(e2e::WHITE) == PAGE_WIDTH * PAGE_HEIGHT; };
    const Image blank = sketch.read_until(PAGE_X, PAGE_Y, PAGE_WIDTH, PAGE_HEIGHT, white);
    ASSERT_TRUE(white(blank)) << "a new page is white";

    // Pen down at (100, 100): a dot; the pointer moves on and the timer draws the line after it.
    click_page(100, 100);
    EXPECT_TRUE(page_shows(e2e::BLACK, {{100, 100}, {98, 100}, {102, 100}, {100, 98}, {100, 102}}));
    move_on_page(200, 150);
    EXPECT_TRUE(page_shows(e2e::BLACK, {{120, 110}, {150, 125}, {180, 140}, {200, 150}}));
    EXPECT_EQ(page().at(150, 110), e2e::WHITE) << "ink beside the line";

    // The label follows the pointer: two places read differently.
    const Image here = where_label();
    move_on_page(300, 250);
    EXPECT_NE(sketch.read_until(WHERE_X, WHERE_Y, LABEL_WIDTH, LABEL_HEIGHT,
                                [&](const Image& label) { return label != here; }),
              here);

    // Lifted, the pen leaves the page as it is while the pointer moves.
    click_page(300, 250);
    sketch.sync();
    const Image lifted = page();
    move_on_page(350, 50);
    std::this_thread::sleep_for(milliseconds(200));  // five turns of the timer
    sketch.sync();
    EXPECT_EQ(page(), lifted);

    // The next ink is red.
    sketch.click(BUTTON_X, COLOUR_Y);
    click_page(50, 50);
    move_on_page(50, 250);
    EXPECT_TRUE(page_shows(RED, {{50, 50}, {50, 150}, {50, 250}}));
    click_page(50, 250);

    // Clear wipes the page white again.
    sketch.click(BUTTON_X, CLEAR_Y);
    EXPECT_TRUE(white(sketch.read_until(PAGE_X, PAGE_Y, PAGE_WIDTH, PAGE_HEIGHT, white)));
    quit_with_button(sketch, BUTTON_X, QUIT_Y);
}

// Types keys with xdotool, 5 ms apart, into the window under the pointer.
void keys(std::vector<std::string> names) {
    names.insert(names.begin(), {"xdotool", "key", "--delay", "5"});
    e2e::run_command(names);
}

// Ten quick arrow presses move the pen ten steps, drawing; a focused button does not take them.
TEST_F(Sketch, ArrowKeysMoveThePen) {
    click_page(100, 100);
    ASSERT_TRUE(page_shows(e2e::BLACK, {{100, 100}}));
    std::vector<std::string> right(5, "Right"), down(5, "Down");
    right.insert(right.end(), down.begin(), down.end());
    keys(right);
    EXPECT_TRUE(page_shows(e2e::BLACK, {{110, 100}, {130, 100}, {150, 100}, {150, 120}, {150, 150}}));
    EXPECT_EQ(page().at(150, 151), e2e::WHITE) << "the pen went beyond ten steps";
    quit_with_button(sketch, BUTTON_X, QUIT_Y);
}

// The question program: its answers come from the keyboard, as a user's would.  It runs with a
// home of its own, where GTK keeps the files recently opened, and is offered a file there.
class Ask : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/wex-ask-XXXXXX";
        home = mkdtemp(pattern);
        e2e::run_command({"mkdir", "-p", home + "/.local/share"});
        e2e::run_command({"touch", home + "/my notes"});
        setenv("HOME", home.c_str(), 1);
    }
    static void TearDownTestSuite() { e2e::run_command({"rm", "-rf", home}); }
    void SetUp() override { ask.wait_window("Ask"); }
    // Presses a button of the main window, then waits for the dialog it opens and puts the
    // pointer on it, where the keys go.
    void open_dialog(int button_x, const char* title) {
        ask.wait_window("Ask");
        ask.click(button_x, 75);
        ask.wait_window(title);
        ask.click(5, 5);
    }
    // Waits until the program has printed `line` last.
    ::testing::AssertionResult printed(const std::string& line) {
        for (int i = 0; i < 100; ++i) {
            const std::string out = ask.standard_output();
            if (out.size() >= line.size() + 1 && out.compare(out.size() - line.size() - 1, line.size(), line) == 0)
                return ::testing::AssertionSuccess();
            std::this_thread::sleep_for(milliseconds(50));
        }
        return ::testing::AssertionFailure() << "printed: " << ask.standard_output();
    }
    static constexpr int OPEN_X = 80, QUIT_X = 240;
    static std::string home;
    Program ask{EXAMPLES + "ask", {home + "/my notes"}};
};
std::string Ask::home;

// The file offered is chosen once its folder has loaded; GRAB$ names it as a URI path.
TEST_F(Ask, OpenOrCancelAFile) {
    open_dialog(OPEN_X, "Open a file");
    std::this_thread::sleep_for(milliseconds(500));
    keys({"alt+o"});
    EXPECT_TRUE(printed("opened " + home + "/my notes"));
    open_dialog(OPEN_X, "Open a file");
    keys({"alt+c"});
    EXPECT_TRUE(printed("nothing opened"));
    EXPECT_EQ(ask.standard_error(), "");
}

// Cancel, Escape and No in turn: each answer is told apart; No ends the program.
TEST_F(Ask, CancelEscapeOrNoToSaveChanges) {
    for (const char* key : {"alt+c", "Escape"}) {
        open_dialog(QUIT_X, "Message");
        keys({key});
        EXPECT_TRUE(printed("still here")) << key;
    }
    open_dialog(QUIT_X, "Message");
    keys({"alt+n"});
    EXPECT_TRUE(printed("not saved"));
    const auto ended = ask.wait_exit();
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(ended->status, 0);
}

TEST_F(Ask, YesSavesAndEnds) {
    open_dialog(QUIT_X, "Message");
    keys({"alt+y"});
    EXPECT_TRUE(printed("saved"));
    EXPECT_TRUE(ask.wait_exit().has_value());
    EXPECT_EQ(ask.standard_error(), "");
}
}  // namespace
