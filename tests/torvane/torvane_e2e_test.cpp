// torvane_e2e_test.cpp: the real torvane on the X server, driven with xdotool and read with import.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "games/torvane/rules.h"
#include "tests/torvane/screen.h"
#include "tests/support/keys.h"

namespace {

using namespace torvane_screen;
using torvane::BOARD_SIZE, torvane::ROBOT_COUNT, torvane::CELL_MINE, torvane::game_over, torvane::robot_alive;
using std::chrono::milliseconds;

const std::string PROGRAM = WEX_BINARY_DIR "/games/torvane/torvane";

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
    void click_canvas(int x, int y, int presses = 1) const { program_->click(CANVAS_X + x, y, presses); }
    void click_cell(Cell c, int presses = 1) const {
        click_canvas(CELL / 2 + CELL * c.first, CELL / 2 + CELL * c.second, presses);
    }
    Image region(int x, int y, int w, int h) const { return program_->read(x, y, w, h); }
    Image energy_gauge() const { return region(LEFT_X, GAUGE_Y, CONTROL_W, GAUGE_H); }
    Image battery_gauge() const { return region(RIGHT_X, GAUGE_Y, CONTROL_W, GAUGE_H); }

    std::unique_ptr<e2e::Program> program_;
};

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
    // The grid: grey lines on every cell border, and a frame on the canvas's four edges.
    Image c = canvas();
    EXPECT_EQ(c.at(30, 7), GRID);
    for (int edge : {0, CANVAS_SIZE - 1}) {
        EXPECT_EQ(c.count(GRID, edge, 0, 1, CANVAS_SIZE), CANVAS_SIZE) << "the column at x = " << edge;
        EXPECT_EQ(c.count(GRID, 0, edge, CANVAS_SIZE, 1), CANVAS_SIZE) << "the row at y = " << edge;
    }
}

TEST_F(TorvaneWindow, ClickMovesTheRobotsTowardsTheCell) {
    Image first = dealt_canvas();
    Board before = classify(first);
    Cell target = busiest_target(before);
    click_cell(target);
    Board after = classify(changed_canvas(first));
    const ClickOutcome outcome = check_click(before, after, target);
    EXPECT_EQ(outcome.problem, "");
    EXPECT_GT(outcome.sure_steps, 0) << "some robot could step and did";
}

// GDK reports the second press of a quick pair as a double click too; each press is one step.
TEST_F(TorvaneWindow, ADoubleClickMovesTheRobotsTwoCellsNotMore) {
    Image first = dealt_canvas();
    Board before = classify(first);
    click_cell(busiest_target(before), 2);
    program_->sync();
    Board after = classify(canvas());
    int farthest = 0;
    for (Cell robot : after.cells(ROBOT)) {
        int nearest = CELLS;
        for (Cell origin : before.cells(ROBOT)) nearest = std::min(nearest, distance(robot, origin));
        farthest = std::max(farthest, nearest);
    }
    EXPECT_EQ(farthest, 2) << "two presses, two steps: no robot comes from farther away, and some come that far";
}

TEST_F(TorvaneWindow, CanvasCornersNameTheCornerCells) {
    Image shown = dealt_canvas();
    for (auto [px, py, target] : {std::tuple{0, 0, Cell{0, 0}}, std::tuple{719, 719, Cell{23, 23}},
                                  std::tuple{719, 0, Cell{23, 0}}, std::tuple{0, 719, Cell{0, 23}}}) {
        Board before = classify(shown);
        click_canvas(px, py);
        shown = changed_canvas(shown);
        Board after = classify(shown);
        ASSERT_EQ(check_click(before, after, target).problem, "") << "click at " << px << ", " << py;
    }
}

TEST_F(TorvaneWindow, GaugesFollowEnergyAndBatteries) {
    Image shown = dealt_canvas();
    // Gauges read full at the top: the batteries start full (12 of 12), the energy at 216 of 300.
    double energy_at = knob_position(energy_gauge()), battery_at = knob_position(battery_gauge());
    EXPECT_GT(energy_at, 0.2);
    EXPECT_LT(energy_at, 0.4);
    EXPECT_LT(battery_at, 0.15);
    // A click whose robots collect no battery only spends energy, so the energy slider goes down
    // (or stays when nothing moved); a battery brings energy back.  The battery slider goes down
    // exactly when a battery has been collected.
    const double start = energy_at;
    bool collected_any = false;
    for (int n = 0; n < 6; n++) {
        Board before = classify(shown);
        click_cell(busiest_target(before));
        program_->sync();
        shown = canvas();
        Board after = classify(shown);
        double energy_now = knob_position(energy_gauge()), battery_now = knob_position(battery_gauge());
        if (after.count(BATTERY) < before.count(BATTERY)) {
            EXPECT_GT(battery_now, battery_at + 0.04) << "click " << n;
            collected_any = true;
        } else {
            EXPECT_NEAR(battery_now, battery_at, 0.005) << "click " << n;
            EXPECT_GE(energy_now, energy_at - 0.005) << "click " << n;
        }
        energy_at = energy_now;
        battery_at = battery_now;
    }
    if (!collected_any) {
        EXPECT_GT(energy_at, start + 0.02) << "six clicks spent some energy";
    }
}

TEST_F(TorvaneWindow, GameOverWhenTheEnergyIsSpentAndItStays) {
    Image shown = dealt_canvas();
    Image record = region(LEFT_X, RECORD_Y, CONTROL_W, CONTROL_H);
    Image score_start = region(LEFT_X, SCORE_Y, CONTROL_W, CONTROL_H);
    auto over = [](const Image& i) { return shows_game_over(i); };
    auto energy_spent = [&] { return knob_position(energy_gauge()) > 0.85; };
    int clicks = 0, idle = 0;
    while (!(over(shown) && energy_spent()) && clicks < 150 && idle < 3) {
        if (over(shown)) {
            // Every robot is lost, with energy left: deal a new game.
            program_->click(RIGHT_X + CONTROL_W / 2, NEW_Y + CONTROL_H / 2);
            shown = changed_canvas(shown);
            record = region(LEFT_X, RECORD_Y, CONTROL_W, CONTROL_H);
            score_start = region(LEFT_X, SCORE_Y, CONTROL_W, CONTROL_H);
            continue;
        }
        Board b = classify(shown);
        click_cell(busiest_target(b));
        Image now = changed_canvas(shown, milliseconds(1500));
        idle = now == shown ? idle + 1 : 0;
        shown = now;
        clicks++;
    }
    ASSERT_TRUE(over(shown) && energy_spent()) << "no GAME OVER for the energy after " << clicks << " clicks";
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

/* With the clock fixed the game deals the board that the rules deal here from the same seed, so
   clicks planned on the rules play out alike on screen.  The plan walks the robots onto mines:
   each click goes where the fewest robots are left, then where they stand nearest to a mine, and
   never where it would collect the level's last battery (which would bring all twelve back). */
struct Rules {
    int32_t energy, score, batt_count, level_complete, level;
    int32_t board[BOARD_SIZE][BOARD_SIZE];
    torvane::Robot robots[ROBOT_COUNT];
};

Rules rules_now() {
    Rules r{::energy, ::score, ::batt_count, ::level_complete, ::level, {}, {}};
    std::memcpy(r.board, ::board, sizeof r.board);
    std::memcpy(r.robots, ::robots, sizeof r.robots);
    return r;
}

void restore(const Rules& r) {
    std::tie(::energy, ::score, ::batt_count, ::level_complete, ::level) =
        std::tie(r.energy, r.score, r.batt_count, r.level_complete, r.level);
    std::memcpy(::board, r.board, sizeof r.board);
    std::memcpy(::robots, r.robots, sizeof r.robots);
}

long cost_of_the_state() {
    long cost = ::batt_count <= 0 ? 100000000 : 0;
    for (int i = 0; i < ROBOT_COUNT; i++) {
        if (!robot_alive(i)) continue;
        int nearest = CELLS;
        for (int row = 0; row < CELLS; row++)
            for (int col = 0; col < CELLS; col++)
                if (::board[row][col] == CELL_MINE)
                    nearest = std::min(nearest, distance({col, row}, {::robots[i].col, ::robots[i].row}));
        cost += 100000 + 100 * nearest;
    }
    return cost;
}

std::vector<Cell> clicks_that_lose_every_robot() {
    std::vector<Cell> clicks;
    while (!game_over() && clicks.size() < 100) {
        const Rules before = rules_now();
        std::pair<long, Cell> best{LONG_MAX, {0, 0}};
        for (int row = 0; row < CELLS; row++)
            for (int col = 0; col < CELLS; col++) {
                restore(before);
                torvane::click_cell(col, row);
                best = std::min(best, {cost_of_the_state() + before.energy - ::energy, Cell{col, row}});
            }
        restore(before);
        torvane::click_cell(best.second.first, best.second.second);
        clicks.push_back(best.second);
    }
    return clicks;
}

TEST(TorvaneFixedClock, GameOverOnceNoRobotIsLeft) {
    srandom(WEX_FIXED_TIME);
    set_start_values();
    init_game();
    init_board();
    const Rules dealt = rules_now();
    const std::vector<Cell> plan = clicks_that_lose_every_robot();
    ASSERT_GT(::energy, 0) << "the plan loses every robot before the energy";

    setenv("LD_PRELOAD", FIXED_TIME_LIBRARY, 1);
    e2e::Program program(PROGRAM);
    unsetenv("LD_PRELOAD");
    program.wait_window("Torvane");
    Image shown = program.read_until(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE,
                                     [](const Image& i) { return i.at(1, 1) == e2e::BLACK; });
    const Board first = classify(shown);
    for (int row = 0; row < CELLS; row++)
        for (int col = 0; col < CELLS; col++)
            ASSERT_EQ(first.at({col, row}) == MINE, dealt.board[row][col] == CELL_MINE) << "the seed's board";
    for (Cell target : plan) {
        ASSERT_FALSE(shows_game_over(shown));
        program.click(CANVAS_X + CELL / 2 + CELL * target.first, CELL / 2 + CELL * target.second);
        program.sync();
        shown = program.read(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE);
    }
    shown = program.read_until(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE, shows_game_over);
    ASSERT_TRUE(shows_game_over(shown));
    EXPECT_EQ(classify(shown).count(ROBOT), 0);
    EXPECT_LT(knob_position(program.read(LEFT_X, GAUGE_Y, CONTROL_W, GAUGE_H)), 0.85) << "energy is left";
    program.click(CANVAS_X + CANVAS_SIZE / 2, CANVAS_SIZE / 2);
    program.sync();
    EXPECT_EQ(program.read_until(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE, [&](const Image& i) { return !(i == shown); },
                                 milliseconds(800)),
              shown)
        << "a click changes nothing";
    program.click(RIGHT_X + CONTROL_W / 2, NEW_Y + CONTROL_H / 2);
    program.sync();
    EXPECT_FALSE(shows_game_over(program.read(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE))) << "New deals a new game";
    EXPECT_EQ(program.standard_error(), "");
}

TEST_F(TorvaneWindow, QuitButtonEndsWithStatusZero) {
    dealt_canvas();
    program_->click(RIGHT_X + CONTROL_W / 2, QUIT_Y + CONTROL_H / 2);
    auto exit = program_->wait_exit();
    ASSERT_TRUE(exit.has_value());
    EXPECT_TRUE(exit->exited);
    EXPECT_EQ(exit->status, 0);
}

// A player without a mouse: the cursor goes to the cell that moves the most robots, diagonally
// first, and Space sends them there, until GAME OVER shows (the energy spent or every robot lost).
TEST_F(TorvaneWindow, KeysAlonePlayToGameOver) {
    const keys::Board board{0, 0, CELL, CELLS, CELLS};
    const auto cursor_at = [&](Cell c) {
        return [=](const Image& i) { const keys::Seen s = keys::find_cursor(i, board); return s.shown && s.col == c.first && s.row == c.second; };
    };
    Image shown = dealt_canvas();
    Cell cursor{CELLS / 2, CELLS / 2};
    program_->keys({"KP_Up"});
    shown = program_->read_until(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE, cursor_at(cursor));
    ASSERT_TRUE(cursor_at(cursor)(shown)) << keys::find_cursor(shown, board).problem;
    int presses = 0;
    for (; !shows_game_over(shown) && presses < 200; presses++) {
        const Board b = classify(shown);
        const Cell target = busiest_target(b);
        const int dc = target.first - cursor.first, dr = target.second - cursor.second;
        const int diagonal = std::min(std::abs(dc), std::abs(dr));
        const char* diagonal_key = dr < 0 ? (dc < 0 ? "KP_Home" : "Prior") : (dc < 0 ? "End" : "KP_Next");
        if (diagonal) program_->keys({diagonal_key}, diagonal);
        if (std::abs(dc) > diagonal) program_->keys({dc > 0 ? "Right" : "Left"}, std::abs(dc) - diagonal);
        if (std::abs(dr) > diagonal) program_->keys({dr > 0 ? "Down" : "Up"}, std::abs(dr) - diagonal);
        cursor = target;
        program_->keys({"space"});
        program_->sync();
        shown = program_->read_until(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE, cursor_at(cursor));
        ASSERT_TRUE(cursor_at(cursor)(shown)) << "press " << presses;
    }
    EXPECT_TRUE(shows_game_over(shown)) << "no GAME OVER after " << presses << " presses of Space";
}

}  // namespace
