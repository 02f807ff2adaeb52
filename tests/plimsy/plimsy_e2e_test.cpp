// plimsy_e2e_test.cpp: the real plimsy on the X server, driven with xdotool and read from the screen.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/plimsy/screen.h"
#include "tests/support/keys.h"

namespace {

using namespace plimsy_screen;
using std::chrono::milliseconds;

const std::string PROGRAM = WEX_BINARY_DIR "/games/plimsy/plimsy";

class Plimsy : public testing::Test {
protected:
    void SetUp() override {
        program_.wait_window("Plimsy");
        // The first board is dealt shortly after the main loop starts.
        canvas_ = program_.read_until(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT,
                                      [](const Image& shot) { return full(kinds_of(shot)); });
        board_ = kinds_of(canvas_);
        ASSERT_TRUE(full(board_)) << "every cell shows a piece:\n" << text(board_);
    }

    // Quits with the "gtk-quit" button; nothing may have been written on standard error.
    void TearDown() override {
        program_.click(QUIT_BUTTON_X, BUTTON_Y);
        const auto ended = program_.wait_exit(milliseconds(5000));
        ASSERT_TRUE(ended.has_value()) << "gtk-quit ends the program";
        EXPECT_TRUE(ended->exited);
        EXPECT_EQ(ended->status, 0);
        EXPECT_EQ(program_.standard_error(), "");
    }

    void click_cell(int col, int row) { program_.click(centre_x(col), centre_y(row)); }

    Image read_until(const std::function<bool(const Image&)>& ready) {
        return program_.read_until(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, ready);
    }

    // Selects the first group of two or more and waits until it shows.
    Cells select_some_group() {
        const auto piece = find_piece(board_, true);
        if (!piece) return {};
        const Cells group = group_of(board_, (*piece)[0], (*piece)[1]);
        click_cell((*piece)[0], (*piece)[1]);
        canvas_ = read_until([&](const Image& shot) { return selected_count(shot) == int(group.size()); });
        return group;
    }

    // The pointer leaves the place where the window will appear before the program starts.
    static bool park_pointer() { return e2e::run_command({"xdotool", "mousemove", "0", "0"}).status == 0; }

    bool parked_ = park_pointer();
    e2e::Program program_{PROGRAM};
    Image canvas_;
    Board board_;
};

TEST_F(Plimsy, WindowShowsAFullBoardAndTheRobotCount) {
    const e2e::Geometry window = program_.geometry();
    EXPECT_EQ(window.width, WINDOW_WIDTH);
    EXPECT_EQ(window.height, WINDOW_HEIGHT);
    EXPECT_EQ(selected_count(canvas_), 0);
    EXPECT_GT(robots_text_pixels(canvas_), 50) << "the robot count is written at the top";
    EXPECT_EQ(selection_text_pixels(canvas_), 0) << "no selection, no selection line";
}

TEST_F(Plimsy, FirstClickSelectsAGroupSecondRemovesIt) {
    const Cells group = select_some_group();
    ASSERT_FALSE(group.empty()) << "a new board without any group:\n" << text(board_);
    for (auto [col, row] : group) EXPECT_TRUE(selected(canvas_, col, row)) << col << "," << row;
    EXPECT_EQ(selected_count(canvas_), int(group.size())) << "only the group is selected";
    EXPECT_EQ(kinds_of(canvas_), board_) << "the pieces show over the selection squares";
    EXPECT_GT(selection_text_pixels(canvas_), 50) << "the selection line is written";

    const Board expected = after_removal(board_, group);
    click_cell(group[0][0], group[0][1]);
    canvas_ = read_until([&](const Image& shot) { return kinds_of(shot) == expected; });
    EXPECT_EQ(text(kinds_of(canvas_)), text(expected)) << "before:\n" << text(board_);
    EXPECT_EQ(selected_count(canvas_), 0);
    EXPECT_EQ(selection_text_pixels(canvas_), 0);
}

// GDK reports the second press of a quick pair as a double click too; each press is one click
// of the rules.  A double click on a group selects and removes it; a third call would select the
// group that fell in its place, so such a group is picked where the board has one.
TEST_F(Plimsy, ADoubleClickSelectsAndRemovesAGroupAndNothingMore) {
    std::optional<std::array<int, 2>> target;
    for (int row = 0; row < ROWS && !target; row++)
        for (int col = 0; col < COLUMNS && !target; col++) {
            const Cells group = group_of(board_, col, row);
            const Board after = after_removal(board_, group);
            if (group.size() > 1 && after[row][col] != '.' && group_of(after, col, row).size() > 1) target = {col, row};
        }
    if (!target) target = find_piece(board_, true);
    ASSERT_TRUE(target.has_value()) << "a new board without any group:\n" << text(board_);
    const auto [col, row] = *target;
    const Board expected = after_removal(board_, group_of(board_, col, row));
    program_.click(centre_x(col), centre_y(row), 2);
    program_.sync();
    canvas_ = program_.read(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    EXPECT_EQ(text(kinds_of(canvas_)), text(expected)) << "before:\n" << text(board_);
    EXPECT_EQ(selected_count(canvas_), 0) << "nothing selected after the removal";
}

TEST_F(Plimsy, ALoneCellSelectsNothing) {
    const auto lone = find_piece(board_, false);
    ASSERT_TRUE(lone.has_value()) << "a new board without a lone piece:\n" << text(board_);
    ASSERT_FALSE(select_some_group().empty());
    // The lone piece's click drops the selection and selects nothing in its place.
    click_cell((*lone)[0], (*lone)[1]);
    canvas_ = read_until([](const Image& shot) { return selected_count(shot) == 0; });
    EXPECT_EQ(selected_count(canvas_), 0);
    click_cell((*lone)[0], (*lone)[1]);
    std::this_thread::sleep_for(milliseconds(300));
    canvas_ = program_.read(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    EXPECT_EQ(selected_count(canvas_), 0);
    EXPECT_EQ(selection_text_pixels(canvas_), 0);
    EXPECT_EQ(kinds_of(canvas_), board_) << "nothing is removed";
}

TEST_F(Plimsy, ClicksOutsideTheGridChangeNothing) {
    ASSERT_FALSE(select_some_group().empty());
    const Image before = canvas_;
    const int outside[][2] = {{49, 300}, {850, 300}, {300, 49}, {300, 550}, {5, 5}, {899, 599}, {25, 575}};
    for (auto [x, y] : outside) program_.click(x, y);
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_TRUE(program_.read(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT) == before) << "the canvas is unchanged";
}

TEST_F(Plimsy, TheGridsCornerPixelsBelongToTheCornerCells) {
    const std::array<int, 2> corners[] = {{0, 0}, {COLUMNS - 1, ROWS - 1}};
    const int pixels[][2] = {{GRID, GRID}, {GRID + COLUMNS * CELL - 1, GRID + ROWS * CELL - 1}};
    for (int i = 0; i < 2; i++) {
        const auto [col, row] = corners[i];
        const size_t group = group_of(board_, col, row).size();
        program_.click(pixels[i][0], pixels[i][1]);
        const int expected = group > 1 ? int(group) : 0;
        canvas_ = read_until([&](const Image& shot) { return selected_count(shot) == expected; });
        EXPECT_EQ(selected_count(canvas_), expected) << "corner " << col << "," << row;
        if (expected) {
            EXPECT_TRUE(selected(canvas_, col, row));
            if (i == 0 && selected(canvas_, COLUMNS - 1, ROWS - 1)) break;  // one group spans the board
        }
    }
}

TEST_F(Plimsy, NewGameDealsAFullBoard) {
    const Cells group = select_some_group();
    ASSERT_FALSE(group.empty());
    click_cell(group[0][0], group[0][1]);
    canvas_ = read_until([](const Image& shot) { return !full(kinds_of(shot)); });
    ASSERT_FALSE(full(kinds_of(canvas_))) << "the removal left empty cells";
    program_.click(NEW_BUTTON_X, BUTTON_Y);
    canvas_ = read_until([](const Image& shot) { return full(kinds_of(shot)); });
    EXPECT_TRUE(full(kinds_of(canvas_)));
    EXPECT_EQ(selected_count(canvas_), 0);
}

// A player without a mouse: the first arrow shows the cursor on the centre cell; arrows walk it
// to a group, Space selects the group and Return removes it (New, which holds the focus, is never
// pressed), until no group is left and the bottom line says GAME OVER.
TEST_F(Plimsy, KeysAlonePlayToTheEnd) {
    const keys::Board board{GRID, GRID, CELL, COLUMNS, ROWS};
    const auto cursor_at = [&](int col, int row) {
        return [=](const Image& c) { const keys::Seen s = keys::find_cursor(c, board); return s.shown && s.col == col && s.row == row; };
    };
    program_.click(NEW_BUTTON_X, BUTTON_Y);  // the button now holds the focus
    program_.sync();
    canvas_ = read_until([](const Image& shot) { return full(kinds_of(shot)); });
    board_ = kinds_of(canvas_);
    int col = COLUMNS / 2, row = ROWS / 2, moves = 0;
    program_.keys({"Up"});
    canvas_ = read_until(cursor_at(col, row));
    ASSERT_TRUE(cursor_at(col, row)(canvas_)) << keys::find_cursor(canvas_, board).problem;
    for (auto piece = find_piece(board_, true); piece && moves < COLUMNS * ROWS; piece = find_piece(board_, true), moves++) {
        const int dc = (*piece)[0] - col, dr = (*piece)[1] - row;
        if (dc) program_.keys({dc > 0 ? "Right" : "Left"}, std::abs(dc));
        if (dr) program_.keys({dr > 0 ? "Down" : "Up"}, std::abs(dr));
        col = (*piece)[0], row = (*piece)[1];
        program_.keys({"space", "Return"});
        const Board expected = after_removal(board_, group_of(board_, col, row));
        canvas_ = read_until([&](const Image& shot) { return kinds_of(shot) == expected && cursor_at(col, row)(shot); });
        board_ = kinds_of(canvas_);
        ASSERT_EQ(text(board_), text(expected)) << "move " << moves << ", the group at (" << col << ", " << row << ")";
    }
    EXPECT_GT(moves, 0);
    EXPECT_EQ(selected_count(canvas_), 0);
    EXPECT_GT(selection_text_pixels(canvas_), 0) << "no GAME OVER under the board after " << moves << " moves";
}

}  // namespace
