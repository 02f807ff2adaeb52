// kelvado_e2e_test.cpp: the real kelvado on the X server, clicked with xdotool, read with import.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "tests/support/x11_session.h"

namespace {

using e2e::Image;
using e2e::Program;
using e2e::Rgb;
using std::chrono::milliseconds;

const std::string KELVADO = WEX_BINARY_DIR "/games/kelvado/kelvado";

// Where things are, in window pixels; the board in canvas pixels.
constexpr int CANVAS_LEFT = 100;
constexpr int CANVAS_SIZE = 600;
constexpr int TIME_LABEL_X = 10, TIME_LABEL_Y = 40;
constexpr int LABEL_WIDTH = 80, LABEL_HEIGHT = 30;
constexpr int NEW_BUTTON_X = 750, NEW_BUTTON_Y = 535;
constexpr int QUIT_BUTTON_X = 750, QUIT_BUTTON_Y = 575;
constexpr Rgb GRID{0xcc, 0xcc, 0xcc};

constexpr int centre(int index) { return 75 + 50 * index; }

// The settle time after a click that should change nothing; a redraw takes a few milliseconds.
constexpr milliseconds SETTLE(400);

// The hourglass: its top and bottom bars and the crossing of its diagonals, all white.
bool shows_hourglass(const Image& canvas, int col, int row) {
    const int x = centre(col), y = centre(row);
    for (int dx = -11; dx <= 11; dx++)
        if (canvas.at(x + dx, y - 16) != e2e::WHITE || canvas.at(x + dx, y + 16) != e2e::WHITE) return false;
    return canvas.at(x, y) == e2e::WHITE;
}

int hourglasses(const Image& canvas) {
    int n = 0;
    for (int i = 0; i < 100; i++) n += shows_hourglass(canvas, i % 10, i / 10);
    return n;
}

bool is_fresh_board(const Image& canvas) {
    return canvas.at(25, 25) == e2e::BLACK && canvas.at(575, 575) == e2e::BLACK && hourglasses(canvas) == 100;
}

// A canvas that differs from `before` only inside the given cell.
::testing::AssertionResult only_cell_changed(const Image& before, const Image& after, int col, int row) {
    const int left = 50 + 50 * col, top = 50 + 50 * row;
    for (int y = 0; y < CANVAS_SIZE; y++) {
        for (int x = 0; x < CANVAS_SIZE; x++) {
            const bool inside = x > left && x < left + 50 && y > top && y < top + 50;
            if (!inside && before.at(x, y) != after.at(x, y))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " changed from "
                                                     << e2e::to_string(before.at(x, y)) << " to "
                                                     << e2e::to_string(after.at(x, y));
        }
    }
    return ::testing::AssertionSuccess();
}

constexpr int OVERLAY_LEFT = 10, OVERLAY_TOP = 10, OVERLAY_WIDTH = 580, OVERLAY_HEIGHT = 70;

int overlay_yellow(const Image& canvas) {
    return canvas.count(e2e::YELLOW, OVERLAY_LEFT, OVERLAY_TOP, OVERLAY_WIDTH, OVERLAY_HEIGHT);
}

class Kelvado : public ::testing::Test {
protected:
    void start() {
        game = std::make_unique<Program>(KELVADO);
        game->wait_window("Kelvado");
        first_board = wait_canvas(is_fresh_board);
        ASSERT_TRUE(is_fresh_board(first_board)) << "no fresh board within the time limit";
    }

    void TearDown() override {
        if (game && expect_stderr.empty()) {
            EXPECT_EQ(game->standard_error(), "") << "the program complained";
        }
    }

    Image canvas() const { return game->read(CANVAS_LEFT, 0, CANVAS_SIZE, CANVAS_SIZE); }
    Image wait_canvas(const std::function<bool(const Image&)>& ready) const {
        return game->read_until(CANVAS_LEFT, 0, CANVAS_SIZE, CANVAS_SIZE, ready);
    }
    Image time_label() const { return game->read(TIME_LABEL_X, TIME_LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT); }
    void click_canvas(int x, int y) const { game->click(CANVAS_LEFT + x, y); }
    // Clicks a cell's centre and waits until its hourglass is gone.
    Image explore(int col, int row) const {
        click_canvas(centre(col), centre(row));
        return wait_canvas([&](const Image& c) { return !shows_hourglass(c, col, row); });
    }

    std::unique_ptr<Program> game;
    Image first_board;
    std::string expect_stderr;
};

TEST_F(Kelvado, WindowIsTitledKelvadoAndMeasures800By600) {
    start();
    const e2e::Geometry window = game->geometry();
    EXPECT_EQ(window.width, 800);
    EXPECT_EQ(window.height, 600);
}

TEST_F(Kelvado, FirstBoardIsBlackWithGreyGridAndHourglasses) {
    start();
    for (int i = 0; i <= 10; i++) {
        const int line = 50 + 50 * i;
        EXPECT_EQ(first_board.at(line, 60), GRID) << "vertical line " << i;
        EXPECT_EQ(first_board.at(60, line), GRID) << "horizontal line " << i;
    }
    EXPECT_EQ(first_board.at(25, 300), e2e::BLACK);   // the margin
    EXPECT_EQ(first_board.at(595, 595), e2e::BLACK);
    EXPECT_EQ(first_board.at(centre(4) + 20, centre(4)), e2e::BLACK);  // beside an hourglass
    EXPECT_EQ(first_board.count(e2e::WHITE, 0, 0, 50, 600), 0);
    EXPECT_EQ(overlay_yellow(first_board), 0) << "no message at the start";
}

TEST_F(Kelvado, ClickOnACellExploresItAndTakesTime) {
    start();
    const Image time_before = time_label();
    const Image after = explore(3, 4);
    EXPECT_TRUE(only_cell_changed(first_board, after, 3, 4));
    EXPECT_EQ(hourglasses(after), 99);
    const Image time_after =
        game->read_until(TIME_LABEL_X, TIME_LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT,
                         [&](const Image& label) { return label != time_before; });
    EXPECT_NE(time_after, time_before) << "TIME did not change";
}

TEST_F(Kelvado, ClicksJustOffTheGridChangeNothing) {
    start();
    const Image time_before = time_label();
    for (auto [x, y] : {std::pair{49, 300}, {300, 49}, {550, 300}, {300, 550}, {49, 49}, {550, 550}})
        click_canvas(x, y);
    std::this_thread::sleep_for(SETTLE);
    EXPECT_EQ(canvas(), first_board);
    EXPECT_EQ(time_label(), time_before);
    // A click that counts, handled after the ones above, changes its own cell only.
    EXPECT_TRUE(only_cell_changed(first_board, explore(5, 5), 5, 5));
}

TEST_F(Kelvado, GridEdgesActOnTheCornerCells) {
    start();
    click_canvas(50, 50);
    Image after = wait_canvas([](const Image& c) { return !shows_hourglass(c, 0, 0); });
    EXPECT_TRUE(only_cell_changed(first_board, after, 0, 0));
    const Image before = after;
    click_canvas(549, 549);
    after = wait_canvas([](const Image& c) { return !shows_hourglass(c, 9, 9); });
    EXPECT_TRUE(only_cell_changed(before, after, 9, 9));
}

TEST_F(Kelvado, NewButtonDealsANewBoard) {
    start();
    const Image time_at_start = time_label();
    explore(0, 0);
    explore(1, 0);
    game->click(NEW_BUTTON_X, NEW_BUTTON_Y);
    const Image board = wait_canvas(is_fresh_board);
    EXPECT_TRUE(is_fresh_board(board));
    const Image time_now = game->read_until(TIME_LABEL_X, TIME_LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT,
                                            [&](const Image& label) { return label == time_at_start; });
    EXPECT_EQ(time_now, time_at_start) << "TIME is not back to 25";
}

TEST_F(Kelvado, QuitButtonEndsWithStatusZero) {
    start();
    game->click(QUIT_BUTTON_X, QUIT_BUTTON_Y);
    const auto exit = game->wait_exit();
    ASSERT_TRUE(exit.has_value()) << "still running";
    EXPECT_TRUE(exit->exited);
    EXPECT_EQ(exit->status, 0);
}

TEST_F(Kelvado, ClosingTheWindowEndsTheProcess) {
    start();
    game->close_window();
    const auto exit = game->wait_exit();
    ASSERT_TRUE(exit.has_value()) << "still running";
    EXPECT_TRUE(exit->exited);
    EXPECT_EQ(exit->status, 0);
}

TEST_F(Kelvado, VemtoFlagPrintsTheBannerAndExitsOne) {
    game = std::make_unique<Program>(KELVADO, std::vector<std::string>{"-vemto"});
    expect_stderr = "Converted by Vemto executable 3.9.2.\n";
    const auto exit = game->wait_exit();
    ASSERT_TRUE(exit.has_value()) << "still running";
    EXPECT_TRUE(exit->exited);
    EXPECT_EQ(exit->status, 1);
    EXPECT_EQ(game->standard_error(), expect_stderr);
    EXPECT_EQ(game->standard_output(), "");
}

TEST_F(Kelvado, GamePlayedToItsEndShowsTheOverlayAndIgnoresClicks) {
    start();
    // Exploring 25 hidden cells spends the 25 time units of a new game.
    for (int i = 0; i < 25; i++) click_canvas(centre(i % 10), centre(i / 10));
    const Image ended = wait_canvas([](const Image& c) { return overlay_yellow(c) > 300; });
    EXPECT_GT(overlay_yellow(ended), 300) << "no GAME OVER or VICTORY! overlay";
    EXPECT_EQ(hourglasses(ended), 75);
    const Image time_at_end = time_label();
    click_canvas(centre(9), centre(9));
    click_canvas(centre(0), centre(0));
    std::this_thread::sleep_for(SETTLE);
    EXPECT_EQ(canvas(), ended) << "a click after the end changed the board";
    EXPECT_EQ(time_label(), time_at_end);
}

}  // namespace
