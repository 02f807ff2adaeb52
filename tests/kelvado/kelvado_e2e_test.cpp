// kelvado_e2e_test.cpp: the real kelvado on the X server, clicked with xdotool, read with import.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "tests/kelvado/screen.h"
#include "tests/support/keys.h"

namespace {

using namespace kelvado_screen;
using e2e::Program;

const std::string KELVADO = WEX_BINARY_DIR "/games/kelvado/kelvado";


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

class Kelvado : public ::testing::Test {
protected:
    void start() {
        game = std::make_unique<Program>(KELVADO);
        game->wait_window("Kelvado");
        first_board = wait_canvas(is_fresh_board);
        ASSERT_TRUE(is_fresh_board(first_board)) << "no fresh board within the time limit";
    }

    void TearDown() override {
        if (game) {
            EXPECT_EQ(game->standard_error(), "") << "the program complained";
        }
    }

    Image canvas() const { return game->read(CANVAS_LEFT, 0, CANVAS_SIZE, CANVAS_SIZE); }
    Image wait_canvas(const std::function<bool(const Image&)>& ready) const {
        return game->read_until(CANVAS_LEFT, 0, CANVAS_SIZE, CANVAS_SIZE, ready);
    }
    Image time_label() const { return game->read(LEFT_LABELS_X, TIME_LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT); }
    void click_canvas(int x, int y, int presses = 1) const { game->click(CANVAS_LEFT + x, y, presses); }
    // Clicks a cell's centre and waits until its hourglass is gone.
    Image explore(int col, int row) const {
        click_canvas(centre(col), centre(row));
        return wait_canvas([&](const Image& c) { return !shows_hourglass(c, col, row); });
    }

    std::unique_ptr<Program> game;
    Image first_board;
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
        game->read_until(LEFT_LABELS_X, TIME_LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT,
                         [&](const Image& label) { return label != time_before; });
    EXPECT_NE(time_after, time_before) << "TIME did not change";
}

TEST_F(Kelvado, ClicksJustOffTheGridChangeNothing) {
    start();
    const Image time_before = time_label();
    for (auto [x, y] : {std::pair{49, 300}, {300, 49}, {550, 300}, {300, 550}, {49, 49}, {550, 550}})
        click_canvas(x, y);
    game->sync();  // every click handled, and whatever it changed painted
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
    game->click(NEW_BUTTON_X + LABEL_WIDTH / 2, NEW_BUTTON_Y + LABEL_HEIGHT / 2);
    const Image board = wait_canvas(is_fresh_board);
    EXPECT_TRUE(is_fresh_board(board));
    const Image time_now = game->read_until(LEFT_LABELS_X, TIME_LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT,
                                            [&](const Image& label) { return label == time_at_start; });
    EXPECT_EQ(time_now, time_at_start) << "TIME is not back to 25";
}

// GDK reports the second press of a quick pair as a double click too; each press is one move.
// A tile just explored, used twice: a forest, lake or village is spent (rubble), a mountain has
// a use left, and no refusal of a third use shows.
TEST_F(Kelvado, ADoubleClickOnATileUsesItTwice) {
    start();
    for (int game_number = 0; game_number < 3; game_number++) {
        for (int i = 0; i < 24; i++) {
            const int col = i % CELLS, row = i / CELLS;
            const Shown tile = shown_at(explore(col, row), col, row);
            if (tile == EMPTY) continue;
            ASSERT_GE(tile, MOUNTAIN) << "cell " << col << "," << row;
            click_canvas(centre(col), centre(row), 2);
            game->sync();
            const Image after = canvas();
            EXPECT_EQ(shown_at(after, col, row), tile == MOUNTAIN ? MOUNTAIN : RUBBLE) << "two uses of " << tile;
            EXPECT_EQ(overlay_yellow(after), 0) << "a third use was refused";
            return;
        }
        game->click(NEW_BUTTON_X + LABEL_WIDTH / 2, NEW_BUTTON_Y + LABEL_HEIGHT / 2);
        wait_canvas(is_fresh_board);
    }
    FAIL() << "no tile found in three games";
}

TEST_F(Kelvado, QuitButtonEndsWithStatusZero) {
    start();
    game->click(QUIT_BUTTON_X + LABEL_WIDTH / 2, QUIT_BUTTON_Y + LABEL_HEIGHT / 2);
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
    game->sync();  // every click handled, and whatever it changed painted
    EXPECT_EQ(canvas(), ended) << "a click after the end changed the board";
    EXPECT_EQ(time_label(), time_at_end);
}

const keys::Board KEY_BOARD{GRID_START, GRID_START, CELL, CELLS, CELLS};

// What a screen reader hears of a cell the canvas shows (a tile's uses do not show).
std::string heard(Shown shown) {
    static const char* const SAID[] = {"unexplored", "empty", "mountain", "forest", "lake", "village", "rubble", "?"};
    return SAID[shown + 1];
}

// A player without a mouse: Space and Return do nothing before an arrow shows the cursor on the
// centre cell; it stops at the edges; Space explores the cell it stands on, row after row, until
// the time runs out.  A screen reader, reading through ATK, hears the cell the cursor is on.
TEST_F(Kelvado, KeysAlonePlayToTheEndAndTheCursorsCellIsSpoken) {
    const std::string spoken = ::testing::TempDir() + "kelvado-spoken";
    setenv("GTK_MODULES", ATK_PROBE, 1);
    setenv(keys::PROBE_FILE_VARIABLE, spoken.c_str(), 1);
    start();
    unsetenv("GTK_MODULES");
    EXPECT_EQ(keys::wait_spoken(spoken, {"Kelvado", ""}), (keys::Spoken{"Kelvado", ""}));

    game->keys({"space", "Return", "Left"});
    const auto cursor_at = [](int col, int row) {
        return [=](const Image& c) { const keys::Seen s = keys::find_cursor(c, KEY_BOARD); return s.shown && s.col == col && s.row == row; };
    };
    Image shown = wait_canvas(cursor_at(5, 5));
    EXPECT_TRUE(cursor_at(5, 5)(shown)) << keys::find_cursor(shown, KEY_BOARD).problem;
    EXPECT_TRUE(only_cell_changed(first_board, shown, 5, 5)) << "Space or Return acted without a cursor";
    EXPECT_EQ(keys::wait_spoken(spoken, {"Kelvado", "Row 6, column 6: unexplored"}).description, "Row 6, column 6: unexplored");

    game->keys({"Up"}, 7);
    game->keys({"Left"}, 7);
    shown = wait_canvas(cursor_at(0, 0));
    ASSERT_TRUE(cursor_at(0, 0)(shown)) << "the cursor does not stop at the top left corner";
    int col = 0, row = 0;
    for (; row < CELLS && overlay_yellow(shown) <= 300; row++) {
        const char* along = row % 2 ? "Left" : "Right";
        for (int n = 0; n < CELLS; n++) game->keys({"space", n + 1 < CELLS ? along : "Down"});
        col = row % 2 ? 0 : CELLS - 1;
        shown = wait_canvas(cursor_at(col, std::min(row + 1, CELLS - 1)));
    }
    EXPECT_GT(overlay_yellow(shown), 300) << "no GAME OVER or VICTORY! after " << row << " rows";
    EXPECT_EQ(hourglasses(shown), 75) << "25 cells explored in 25 time units";
    const std::string cell = "Row " + std::to_string(row + 1) + ", column " + std::to_string(col + 1) + ": ";
    const std::string said = keys::wait_spoken(spoken, {"Kelvado", cell + heard(shown_at(shown, col, row))}).description;
    EXPECT_EQ(said.substr(0, said.find(',', cell.size())), cell + heard(shown_at(shown, col, row)));
}

}  // namespace
