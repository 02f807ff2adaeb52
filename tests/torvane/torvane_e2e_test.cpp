// torvane_e2e_test.cpp: the real torvane on the X server, driven with xdotool and read with import.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "support/x11_session.h"

namespace {

using e2e::Image;
using e2e::Rgb;
using std::chrono::milliseconds;

const std::string PROGRAM = WEX_BINARY_DIR "/games/torvane/torvane";

// Where the window puts things, in window pixels.
constexpr int CANVAS_X = 120, CANVAS_SIZE = 720, CELL = 30, CELLS = 24;
constexpr int LEFT_X = 12, RIGHT_X = 852, CONTROL_W = 96, CONTROL_H = 36;
constexpr int GAUGE_Y = 156, GAUGE_H = 432;
constexpr int SCORE_Y = 60, RECORD_Y = 672, NEW_Y = 624, QUIT_Y = 672;

// What a cell's centre pixel shows: each picture has its own colour there.
enum Tile { FREE, TREE, MINE, BATTERY, CRATER, ROBOT, OTHER };
const std::pair<Rgb, Tile> CENTRE_COLOURS[] = {
    {{0, 0, 0}, FREE},        {{0, 128, 0}, TREE},     {{255, 0, 0}, MINE},
    {{0, 255, 255}, BATTERY}, {{128, 0, 0}, CRATER},   {{128, 128, 128}, ROBOT},
};
constexpr Rgb GAME_OVER_GOLD{255, 204, 0};

using Cell = std::pair<int, int>;  // (col, row)

struct Board {
    std::array<std::array<Tile, CELLS>, CELLS> tile{};  // tile[row][col]
    int count(Tile t) const {
        int n = 0;
        for (auto& row : tile) n += static_cast<int>(std::count(row.begin(), row.end(), t));
        return n;
    }
    std::set<Cell> cells(Tile t) const {
        std::set<Cell> s;
        for (int r = 0; r < CELLS; r++)
            for (int c = 0; c < CELLS; c++)
                if (tile[r][c] == t) s.insert({c, r});
        return s;
    }
    Tile at(Cell c) const { return tile[c.second][c.first]; }
};

Board classify(const Image& canvas) {
    Board b;
    for (int r = 0; r < CELLS; r++)
        for (int c = 0; c < CELLS; c++) {
            Rgb px = canvas.at(CELL / 2 + CELL * c, CELL / 2 + CELL * r);
            b.tile[r][c] = OTHER;
            for (auto& [colour, tile] : CENTRE_COLOURS)
                if (px == colour) b.tile[r][c] = tile;
        }
    return b;
}

/* Where a gauge's slider stands, as a fraction of the gauge's height from its top: the mean
   row of the pixels in the gauge's middle column that differ from the trough's colour (the
   most common one).  The value drawn above the trough is left out. */
double knob_position(const Image& gauge) {
    constexpr int FIRST_ROW = 30, LAST_ROW_MARGIN = 8;
    const int x = gauge.width / 2;
    std::map<std::tuple<int, int, int>, int> seen;
    for (int y = FIRST_ROW; y < gauge.height - LAST_ROW_MARGIN; y++) {
        Rgb p = gauge.at(x, y);
        seen[{p.r, p.g, p.b}]++;
    }
    auto trough = std::max_element(seen.begin(), seen.end(),
                                   [](auto& a, auto& b) { return a.second < b.second; })->first;
    double sum = 0;
    int rows = 0;
    for (int y = FIRST_ROW; y < gauge.height - LAST_ROW_MARGIN; y++) {
        Rgb p = gauge.at(x, y);
        if (std::tuple<int, int, int>{p.r, p.g, p.b} == trough) continue;
        sum += y;
        rows++;
    }
    return rows ? sum / rows / gauge.height : -1;
}

int sign(int v) { return (v > 0) - (v < 0); }
Cell step_towards(Cell from, Cell target) {
    return {from.first + sign(target.first - from.first), from.second + sign(target.second - from.second)};
}

class TorvaneWindow : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = std::make_unique<e2e::Program>(PROGRAM);
        program_->wait_window("Torvane");
    }
    void TearDown() override {
        if (!program_) return;
        EXPECT_EQ(program_->standard_error(), "") << "nothing on standard error: no GTK warning or critical";
    }

    Image canvas() const { return program_->read(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE); }
    // The canvas once a board is dealt (the first deal comes shortly after start-up).
    Image dealt_canvas() const {
        return program_->read_until(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE,
                                    [](const Image& i) { return i.at(1, 1) == e2e::BLACK; });
    }
    // The canvas after a change: read until it differs from `before`.
    Image changed_canvas(const Image& before, milliseconds timeout = milliseconds(3000)) const {
        return program_->read_until(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE,
                                    [&](const Image& i) { return !(i == before); }, timeout);
    }
    void click_canvas(int x, int y) const { program_->click(CANVAS_X + x, y); }
    void click_cell(Cell c) const { click_canvas(CELL / 2 + CELL * c.first, CELL / 2 + CELL * c.second); }
    Image region(int x, int y, int w, int h) const { return program_->read(x, y, w, h); }
    Image energy_gauge() const { return region(LEFT_X, GAUGE_Y, CONTROL_W, GAUGE_H); }
    Image battery_gauge() const { return region(RIGHT_X, GAUGE_Y, CONTROL_W, GAUGE_H); }

    std::unique_ptr<e2e::Program> program_;
};

/* Checks one click's robot moves as the screen shows them.  Robot indices are not visible,
   so the check is on cells: every robot cell after the click was a robot cell before or the
   step of one towards the target; and a robot whose step leads onto a cell that nothing
   blocks and no other robot steps to (and that holds no mine) is seen on that cell.
   Returns the number of such sure steps. */
int check_click(const Board& before, const Board& after, Cell target) {
    std::set<Cell> robots = before.cells(ROBOT);
    std::set<Cell> steps;
    std::multiset<Cell> all_steps;
    for (Cell r : robots)
        if (r != target) all_steps.insert(step_towards(r, target));
    for (Cell r : robots) steps.insert(r == target ? r : step_towards(r, target));
    for (Cell a : after.cells(ROBOT)) {
        bool known = robots.count(a) || steps.count(a);
        EXPECT_TRUE(known) << "a robot appeared on (" << a.first << ", " << a.second << ")";
    }
    int sure = 0;
    for (Cell r : robots) {
        if (r == target) {
            EXPECT_EQ(after.at(r), ROBOT) << "the robot on the target stays";
            continue;
        }
        Cell next = step_towards(r, target);
        Tile t = before.at(next);
        if (t == TREE) {
            EXPECT_EQ(after.at(r), ROBOT) << "a tree blocks (" << r.first << ", " << r.second << ")";
            continue;
        }
        if (all_steps.count(next) != 1 || robots.count(next)) continue;
        if (t == MINE) {
            EXPECT_EQ(after.at(next), CRATER) << "a robot on a mine leaves a crater, and is not drawn";
        } else if (t == FREE || t == BATTERY || t == CRATER) {
            EXPECT_EQ(after.at(next), ROBOT) << "the robot from (" << r.first << ", " << r.second << ") steps";
            sure++;
        }
    }
    return sure;
}

// The target among some edge cells that lets the most robots step onto a safe cell.  None of
// them lies on the diagonal, so a click read with column and row swapped moves robots elsewhere.
Cell busiest_target(const Board& b) {
    const Cell candidates[] = {{23, 0}, {0, 23}, {12, 0}, {12, 23}, {0, 12}, {23, 12}, {5, 0}, {0, 5}};
    std::set<Cell> robots = b.cells(ROBOT);
    Cell best = candidates[0];
    int most = -1;
    for (Cell t : candidates) {
        int n = 0;
        for (Cell r : robots) {
            if (r == t) continue;
            Tile next = b.at(step_towards(r, t));
            n += next == FREE || next == BATTERY || next == CRATER;
        }
        if (n > most) most = n, best = t;
    }
    return best;
}

TEST_F(TorvaneWindow, WindowAndFirstBoard) {
    e2e::Geometry g = program_->geometry();
    EXPECT_EQ(g.width, 960);
    EXPECT_EQ(g.height, 720);
    Board b = classify(dealt_canvas());
    EXPECT_EQ(b.count(TREE), 12);
    EXPECT_EQ(b.count(MINE), 12);
    EXPECT_EQ(b.count(BATTERY), 12);
    EXPECT_EQ(b.count(CRATER), 0);
    EXPECT_GE(b.count(ROBOT), 1);
    EXPECT_LE(b.count(ROBOT), 12);
    EXPECT_EQ(b.count(OTHER), 0);
    // The grid: grey lines on every cell border, including the canvas's last column.
    Image c = canvas();
    EXPECT_EQ(c.at(30, 7), (Rgb{204, 204, 204}));
    EXPECT_EQ(c.at(719, 300), (Rgb{204, 204, 204})) << "the line at x = 720 is off the canvas; 719 is black";
}

TEST_F(TorvaneWindow, ClickMovesTheRobotsTowardsTheCell) {
    Image first = dealt_canvas();
    Board before = classify(first);
    Cell target = busiest_target(before);
    click_cell(target);
    Board after = classify(changed_canvas(first));
    EXPECT_GT(check_click(before, after, target), 0) << "some robot could step and did";
}

TEST_F(TorvaneWindow, CanvasCornersNameTheCornerCells) {
    Image shown = dealt_canvas();
    for (auto [px, py, target] : {std::tuple{0, 0, Cell{0, 0}}, std::tuple{719, 719, Cell{23, 23}},
                                  std::tuple{719, 0, Cell{23, 0}}, std::tuple{0, 719, Cell{0, 23}}}) {
        Board before = classify(shown);
        click_canvas(px, py);
        shown = changed_canvas(shown);
        Board after = classify(shown);
        check_click(before, after, target);
        if (HasFailure()) return;
    }
}

TEST_F(TorvaneWindow, GaugesFollowEnergyAndBatteries) {
    Image shown = dealt_canvas();
    // The gauges start full for the batteries (12 of 12) and at 216 of 300 for the energy;
    // their smallest value is at the top.
    double energy_at = knob_position(energy_gauge()), battery_at = knob_position(battery_gauge());
    EXPECT_GT(energy_at, 0.6);
    EXPECT_LT(energy_at, 0.8);
    EXPECT_GT(battery_at, 0.85);
    // Each click that moves a robot spends energy, so the energy gauge's slider rises; the
    // battery gauge's slider rises exactly when a battery has been collected.
    const double start = energy_at;
    for (int n = 0; n < 6; n++) {
        Board before = classify(shown);
        Cell target = busiest_target(before);
        click_cell(target);
        shown = changed_canvas(shown);
        Board after = classify(shown);
        double energy_now = knob_position(energy_gauge()), battery_now = knob_position(battery_gauge());
        EXPECT_LE(energy_now, energy_at + 0.01) << "click " << n;
        if (after.count(BATTERY) < before.count(BATTERY))
            EXPECT_LT(battery_now, battery_at - 0.04) << "click " << n;
        else
            EXPECT_NEAR(battery_now, battery_at, 0.005) << "click " << n;
        energy_at = energy_now;
        battery_at = battery_now;
    }
    EXPECT_LT(energy_at, start - 0.02) << "six clicks spent some energy";
}

TEST_F(TorvaneWindow, GameOverWhenTheEnergyIsSpentAndItStays) {
    Image shown = dealt_canvas();
    Image record = region(LEFT_X, RECORD_Y, CONTROL_W, CONTROL_H);
    Image score_start = region(LEFT_X, SCORE_Y, CONTROL_W, CONTROL_H);
    auto over = [](const Image& i) { return i.count(GAME_OVER_GOLD, 30, 30, 400, 70) > 200; };
    int clicks = 0, idle = 0;
    while (!over(shown) && clicks < 150 && idle < 3) {
        Board b = classify(shown);
        if (b.count(ROBOT) == 0 && !over(shown)) {
            // Every robot is lost: clicks do nothing any more, so deal a new game.
            program_->click(RIGHT_X + CONTROL_W / 2, NEW_Y + CONTROL_H / 2);
            shown = changed_canvas(shown);
            record = region(LEFT_X, RECORD_Y, CONTROL_W, CONTROL_H);
            score_start = region(LEFT_X, SCORE_Y, CONTROL_W, CONTROL_H);
            continue;
        }
        click_cell(busiest_target(b));
        Image now = changed_canvas(shown, milliseconds(1500));
        idle = now == shown ? idle + 1 : 0;
        shown = now;
        clicks++;
    }
    ASSERT_TRUE(over(shown)) << "no GAME OVER after " << clicks << " clicks";
    EXPECT_LT(knob_position(energy_gauge()), 0.15) << "no energy left: the slider is at the top";
    EXPECT_EQ(region(LEFT_X, RECORD_Y, CONTROL_W, CONTROL_H), record) << "the record changes only at a new game";

    // Further clicks change nothing on the board; the text stays.
    click_cell({12, 12});
    click_cell({0, 23});
    Image after = program_->read_until(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE, [&](const Image& i) { return !(i == shown); },
                                       milliseconds(800));
    EXPECT_EQ(after, shown);

    // A new game clears the text, and the record takes the finished game's score if it scored.
    bool scored = !(region(LEFT_X, SCORE_Y, CONTROL_W, CONTROL_H) == score_start);
    program_->click(RIGHT_X + CONTROL_W / 2, NEW_Y + CONTROL_H / 2);
    Image fresh = changed_canvas(shown);
    EXPECT_FALSE(over(fresh));
    EXPECT_EQ(classify(fresh).count(BATTERY), 12);
    Image record_now = program_->read_until(LEFT_X, RECORD_Y, CONTROL_W, CONTROL_H,
                                            [&](const Image& i) { return !(i == record); }, milliseconds(800));
    EXPECT_EQ(!(record_now == record), scored);
}

TEST_F(TorvaneWindow, QuitButtonEndsWithStatusZero) {
    dealt_canvas();
    program_->click(RIGHT_X + CONTROL_W / 2, QUIT_Y + CONTROL_H / 2);
    auto exit = program_->wait_exit();
    ASSERT_TRUE(exit.has_value());
    EXPECT_TRUE(exit->exited);
    EXPECT_EQ(exit->status, 0);
}

TEST(TorvaneProgram, VemtoFlagAnswersAndExits) {
    e2e::Program program(PROGRAM, {"-vemto"});
    auto exit = program.wait_exit();
    ASSERT_TRUE(exit.has_value());
    EXPECT_TRUE(exit->exited);
    EXPECT_EQ(exit->status, 1);
    EXPECT_EQ(program.standard_error(), "Converted by Vemto executable 3.9.2.\n");
}

}  // namespace
