// plimsy_e2e_test.cpp: the real plimsy on the X server, driven with xdotool and read from the screen.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/x11_session.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

using e2e::Image;
using e2e::Rgb;
using std::chrono::milliseconds;

/* The X server starts afresh when its last client leaves, and refuses connections while
   it does; a program started at that moment fails with "cannot open display".  Holding
   a connection for the whole run keeps the server from resetting between programs. */
class HeldDisplay : public testing::Environment {
public:
    void SetUp() override {
        for (int attempt = 0; attempt < 100 && !display_; attempt++) {
            display_ = XOpenDisplay(nullptr);
            if (!display_) std::this_thread::sleep_for(milliseconds(20));
        }
        ASSERT_NE(display_, nullptr) << "no X server on DISPLAY";
    }
    void TearDown() override {
        if (display_) XCloseDisplay(display_);
    }

private:
    Display* display_ = nullptr;
};
[[maybe_unused]] testing::Environment* const held_display = testing::AddGlobalTestEnvironment(new HeldDisplay);

const std::string PROGRAM = WEX_BINARY_DIR "/games/plimsy/plimsy";

// The window as a player sees it, in window pixels (the canvas sits at the window's origin).
constexpr int WINDOW_WIDTH = 900, WINDOW_HEIGHT = 640;
constexpr int CANVAS_WIDTH = 900, CANVAS_HEIGHT = 600;
constexpr int COLUMNS = 16, ROWS = 10, CELL = 50, GRID = 50;
constexpr int NEW_BUTTON_X = 710 + 45, QUIT_BUTTON_X = 805 + 45, BUTTON_Y = 605 + 15;

constexpr int centre_x(int col) { return GRID + CELL / 2 + CELL * col; }
constexpr int centre_y(int row) { return GRID + CELL / 2 + CELL * row; }

constexpr Rgb BLUE{0, 0, 255};
constexpr Rgb ORANGE{255, 165, 0};

/* Each piece shows a colour of its own at a fixed offset from its cell's centre: the
   robot's grey body and the flower's green stem at the centre, the bee's yellow body
   there too, the ladybug's red shell 10 pixels to the right of its black stripe, the
   cloud's middle cyan drop 16 pixels below the centre.  No other piece has that colour
   at that place, and an empty cell has none of them. */
struct Probe {
    char kind;
    int dx, dy;
    Rgb colour;
};
constexpr Probe PROBES[] = {
    {'R', 0, 0, {128, 128, 128}}, {'F', 0, 0, {0, 128, 0}},   {'B', 0, 0, {255, 255, 0}},
    {'L', 10, 0, {255, 0, 0}},    {'C', 0, 16, {0, 255, 255}},
};

// The selection square fills the cell; its lower right corner is clear of every picture.
constexpr int SELECTION_DX = 20, SELECTION_DY = 20;

using Board = std::vector<std::string>;  // [row][col], '.' for an empty cell
using Cells = std::vector<std::array<int, 2>>;

Board kinds_of(const Image& canvas) {
    Board board(ROWS, std::string(COLUMNS, '.'));
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++)
            for (const Probe& p : PROBES)
                if (canvas.at(centre_x(col) + p.dx, centre_y(row) + p.dy) == p.colour) board[row][col] = p.kind;
    return board;
}

bool selected(const Image& canvas, int col, int row) {
    return canvas.at(centre_x(col) + SELECTION_DX, centre_y(row) + SELECTION_DY) == BLUE;
}

int selected_count(const Image& canvas) {
    int n = 0;
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++) n += selected(canvas, col, row);
    return n;
}

bool full(const Board& board) {
    for (const std::string& line : board)
        if (line.find('.') != std::string::npos) return false;
    return true;
}

// Orange glyphs of the line under the grid, where the selection is described.
int selection_text_pixels(const Image& canvas) { return canvas.count(ORANGE, 0, 560, 500, CANVAS_HEIGHT - 560); }
int robots_text_pixels(const Image& canvas) { return canvas.count(ORANGE, 0, 0, 500, 45); }

Cells group_of(const Board& board, int col, int row) {
    Cells found{{col, row}};
    std::vector<std::string> seen(ROWS, std::string(COLUMNS, 0));
    seen[row][col] = 1;
    for (size_t i = 0; i < found.size(); i++) {
        const auto [c, r] = found[i];
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (auto [dc, dr] : steps) {
            const int nc = c + dc, nr = r + dr;
            if (nc < 0 || nc >= COLUMNS || nr < 0 || nr >= ROWS || seen[nr][nc]) continue;
            if (board[nr][nc] != board[row][col]) continue;
            seen[nr][nc] = 1;
            found.push_back({nc, nr});
        }
    }
    return found;
}

// The first piece (in reading order) whose group is `wanted`: of two or more, or alone.
std::optional<std::array<int, 2>> find_piece(const Board& board, bool in_group) {
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++)
            if (board[row][col] != '.' && (group_of(board, col, row).size() > 1) == in_group)
                return std::array<int, 2>{col, row};
    return std::nullopt;
}

// The board after a group is removed: each column's rest packed at the bottom in order,
// the columns that still hold pieces packed at the left in order.
Board after_removal(Board board, const Cells& group) {
    for (auto [col, row] : group) board[row][col] = '.';
    std::vector<std::string> columns;
    for (int col = 0; col < COLUMNS; col++) {
        std::string pieces;
        for (int row = 0; row < ROWS; row++)
            if (board[row][col] != '.') pieces += board[row][col];
        if (!pieces.empty()) columns.push_back(std::string(ROWS - pieces.size(), '.') + pieces);
    }
    columns.resize(COLUMNS, std::string(ROWS, '.'));
    Board result(ROWS, std::string(COLUMNS, '.'));
    for (int col = 0; col < COLUMNS; col++)
        for (int row = 0; row < ROWS; row++) result[row][col] = columns[col][row];
    return result;
}

std::string text(const Board& board) {
    std::string all;
    for (const std::string& line : board) all += line + "\n";
    return all;
}

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

TEST(PlimsyCommandLine, VemtoFlagNamesTheConverterAndExits) {
    e2e::Program program(PROGRAM, {"-vemto"});
    const auto ended = program.wait_exit(milliseconds(5000));
    ASSERT_TRUE(ended.has_value());
    EXPECT_TRUE(ended->exited);
    EXPECT_EQ(ended->status, 1);
    EXPECT_EQ(program.standard_error(), "Converted by Vemto executable 3.9.2.\n");
}

}  // namespace
