// torvane_rules_test.cpp: the robot game's rules, in-process with fixed seeds and long random play.
#include "games/torvane/rules.h"

#include "games/torvane/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace torvane;

namespace {

int count_cells(int value) {
    int n = 0;
    for (auto& row : board)
        for (int cell : row) n += cell == value;
    return n;
}

// An empty board with every robot destroyed and fresh counters, for hand-built scenes.
void clear_scene(int with_energy = 100) {
    std::memset(board, 0, sizeof board);
    for (Robot& r : robots) r = {-1, -1};
    level = 1;
    energy = with_energy;
    batt_count = ITEMS_PER_KIND;
    level_complete = 0;
    score = 0;
    high_score = 0;
}

int live_robots() {
    int n = 0;
    for (int i = 0; i < ROBOT_COUNT; i++) n += robot_alive(i);
    return n;
}

void expect_at(int i, int col, int row) {
    EXPECT_EQ(robots[i].col, col) << "robot " << i;
    EXPECT_EQ(robots[i].row, row) << "robot " << i;
}

TEST(TorvaneDeal, NewBoardHoldsTwelveOfEachAndRobotsOnFreeCells) {
    for (unsigned seed = 1; seed <= 200; seed++) {
        srandom(seed);
        for (Robot& r : robots) r = {-1, -1};  // destroyed robots come back too
        batt_count = 0;
        init_board();
        ASSERT_EQ(count_cells(CELL_TREE), 12) << "seed " << seed;
        ASSERT_EQ(count_cells(CELL_MINE), 12) << "seed " << seed;
        ASSERT_EQ(count_cells(CELL_BATTERY), 12) << "seed " << seed;
        ASSERT_EQ(count_cells(CELL_CRATER), 0) << "seed " << seed;
        ASSERT_EQ(batt_count, 12);
        for (int i = 0; i < ROBOT_COUNT; i++) {
            ASSERT_TRUE(robot_alive(i)) << "seed " << seed << " robot " << i;
            ASSERT_LT(robots[i].col, BOARD_SIZE);
            ASSERT_LT(robots[i].row, BOARD_SIZE);
            ASSERT_EQ(board[robots[i].row][robots[i].col], CELL_FREE) << "seed " << seed << " robot " << i;
        }
    }
}

TEST(TorvaneDeal, RobotsMayShareACell) {
    bool shared = false;
    for (unsigned seed = 1; seed <= 500 && !shared; seed++) {
        srandom(seed);
        init_board();
        for (int i = 0; i < ROBOT_COUNT; i++)
            if (robot_at(robots[i].col, robots[i].row) != i) shared = true;
    }
    EXPECT_TRUE(shared) << "robots are placed without looking at each other";
}

TEST(TorvaneDeal, CellDrawReadsColumnAndRowFromOneNumber) {
    // The first tree lands on the first draw that names a cell: c = random() / 3728270,
    // column c % 24, row c / 24.
    for (unsigned seed = 7; seed < 27; seed++) {
        srandom(seed);
        long c;
        do c = random() / 3728270; while (c >= 576);
        srandom(seed);
        init_board();
        EXPECT_EQ(board[c / 24][c % 24], CELL_TREE) << "seed " << seed;
    }
}

TEST(TorvaneStep, StraightAndDiagonalOneCellTowardsTheTarget) {
    const struct { int tc, tr, col, row; } cases[] = {
        {20, 10, 11, 10}, {0, 10, 9, 10}, {10, 0, 10, 9}, {10, 23, 10, 11},
        {23, 23, 11, 11}, {0, 0, 9, 9}, {15, 2, 11, 9}, {2, 15, 9, 11},
    };
    for (auto c : cases) {
        clear_scene();
        robots[0] = {10, 10};
        move_robot(0, c.tc, c.tr);
        expect_at(0, c.col, c.row);
        EXPECT_EQ(energy, 99);
    }
}

TEST(TorvaneStep, TreesAndRobotsBlockWithoutCost) {
    clear_scene();
    robots[0] = {5, 5};
    board[5][6] = CELL_TREE;
    move_robot(0, 10, 5);
    expect_at(0, 5, 5);
    EXPECT_EQ(energy, 100);

    robots[1] = {4, 4};
    robots[2] = {5, 5};  // robot 0 shares this cell: robot_at finds the lower index
    move_robot(1, 8, 8);
    expect_at(1, 4, 4);
    EXPECT_EQ(robot_at(5, 5), 0);
    EXPECT_EQ(energy, 100);
}

TEST(TorvaneStep, RobotOnTheTargetStaysAndOthersCome) {
    clear_scene();
    robots[0] = {5, 5};
    robots[1] = {8, 5};
    click_cell(5, 5);
    expect_at(0, 5, 5);
    expect_at(1, 7, 5);
    EXPECT_EQ(energy, 99);
}

TEST(TorvaneStep, BatteryGivesTwelveEnergyAndPointsAndLeaves) {
    clear_scene();
    robots[0] = {5, 5};
    board[5][6] = CELL_BATTERY;
    move_robot(0, 9, 5);
    expect_at(0, 6, 5);
    EXPECT_EQ(energy, 111);
    EXPECT_EQ(score, 25);
    EXPECT_EQ(batt_count, 11);
    EXPECT_EQ(board[5][6], CELL_FREE);
}

TEST(TorvaneStep, MineDestroysAndLeavesACraterThatCanBeCrossed) {
    clear_scene();
    robots[0] = {5, 5};
    robots[1] = {3, 5};
    board[5][6] = CELL_MINE;
    click_cell(10, 5);
    EXPECT_FALSE(robot_alive(0));
    expect_at(0, -1, -1);
    EXPECT_EQ(board[5][6], CELL_CRATER);
    expect_at(1, 4, 5);
    EXPECT_EQ(energy, 98);
    EXPECT_EQ(robot_at(-1, -1), -1) << "a destroyed robot stands on no cell";
    click_cell(10, 5);
    click_cell(10, 5);
    expect_at(1, 6, 5);  // on the crater, alive
    EXPECT_TRUE(robot_alive(1));
    EXPECT_EQ(board[5][6], CELL_CRATER);
    EXPECT_EQ(energy, 96);
}

TEST(TorvaneStep, DestroyedRobotAndOffBoardStepsDoNothing) {
    clear_scene();
    move_robot(0, 5, 5);  // robot 0 is destroyed
    expect_at(0, -1, -1);
    robots[0] = {0, 0};
    move_robot(0, -5, -5);
    expect_at(0, 0, 0);
    move_robot(ROBOT_COUNT, 5, 5);
    move_robot(-1, 5, 5);
    EXPECT_EQ(energy, 100);
}

TEST(TorvaneEnergy, LastUnitStopsTheRobotsAfterTheFirstStep) {
    clear_scene(1);
    robots[0] = {1, 1};
    robots[1] = {3, 3};
    robots[2] = {5, 5};
    click_cell(10, 1);
    expect_at(0, 2, 1);
    expect_at(1, 3, 3);
    expect_at(2, 5, 5);
    EXPECT_EQ(energy, 0);
    EXPECT_TRUE(game_over());
    click_cell(10, 1);  // over: nothing moves any more
    expect_at(0, 2, 1);
    EXPECT_EQ(energy, 0);
}

TEST(TorvaneEnergy, BatteryOnTheLastUnitLetsTheOthersGoOn) {
    clear_scene(1);
    robots[0] = {1, 1};
    robots[1] = {3, 3};
    board[1][2] = CELL_BATTERY;
    click_cell(10, 1);
    expect_at(0, 2, 1);
    expect_at(1, 4, 2);
    EXPECT_EQ(energy, 11);
}

TEST(TorvaneOrder, RobotBlockedByOneThatJustSteppedInFront) {
    clear_scene();
    robots[0] = {6, 5};  // steps diagonally to (7, 6)
    robots[1] = {6, 6};  // would step straight to (7, 6)
    click_cell(10, 6);
    expect_at(0, 7, 6);
    expect_at(1, 6, 6);
    EXPECT_EQ(energy, 99);
}

TEST(TorvaneOrder, CellFreedEarlierIsEnteredLater) {
    clear_scene();
    robots[0] = {5, 5};
    robots[1] = {4, 5};
    click_cell(10, 5);
    expect_at(0, 6, 5);
    expect_at(1, 5, 5);
    EXPECT_EQ(energy, 98);
    // In the other order robot 1 goes first and finds the cell still taken.
    clear_scene();
    robots[0] = {4, 5};
    robots[1] = {5, 5};
    click_cell(10, 5);
    expect_at(0, 4, 5);
    expect_at(1, 6, 5);
}

TEST(TorvaneLevel, LastBatteryCompletesAndTheNextClickPaysAndDeals) {
    clear_scene(50);
    batt_count = 1;
    board[5][6] = CELL_BATTERY;
    robots[0] = {5, 5};
    robots[1] = {1, 1};
    robots[2] = {20, 20};
    click_cell(10, 5);
    EXPECT_EQ(level_complete, 1);
    EXPECT_EQ(batt_count, 0);
    EXPECT_EQ(score, 25);
    EXPECT_EQ(energy, 50 - 3 + 12);

    srandom(11);
    click_cell(0, 0);  // the clicked cell does not matter
    EXPECT_EQ(level_complete, 0);
    EXPECT_EQ(level, 2);
    EXPECT_EQ(score, 25 + 3 * 25);
    EXPECT_EQ(energy, 59 + 3 * 12);
    EXPECT_EQ(live_robots(), 12);
    EXPECT_EQ(batt_count, 12);
    EXPECT_EQ(count_cells(CELL_BATTERY), 12);
    // The new level is the one init_board deals from the same seed: nothing moved.
    Robot dealt[ROBOT_COUNT];
    std::memcpy(dealt, robots, sizeof dealt);
    srandom(11);
    init_board();
    EXPECT_EQ(std::memcmp(dealt, robots, sizeof dealt), 0);
}

// The last robot lost on a mine ends the game with energy left; nothing changes after it.
TEST(TorvaneLevel, TheLastRobotLostEndsTheGame) {
    clear_scene(40);
    board[3][3] = CELL_BATTERY;
    board[5][6] = CELL_MINE;
    robots[7] = {5, 5};
    EXPECT_FALSE(game_over());
    click_cell(10, 5);
    EXPECT_EQ(live_robots(), 0);
    EXPECT_EQ(energy, 39);
    EXPECT_TRUE(game_over());
    int before[BOARD_SIZE][BOARD_SIZE];
    std::memcpy(before, board, sizeof board);
    for (int n = 0; n < 10; n++) click_cell(n, 23 - n);
    EXPECT_EQ(energy, 39);
    EXPECT_EQ(level_complete, 0);
    EXPECT_EQ(batt_count, ITEMS_PER_KIND);
    EXPECT_TRUE(game_over());
    EXPECT_EQ(std::memcmp(before, board, sizeof board), 0);
}

TEST(TorvaneLevel, ClicksOffTheBoardMoveNothing) {
    clear_scene();
    robots[0] = {5, 5};
    click_cell(-1, 5);
    click_cell(5, 24);
    expect_at(0, 5, 5);
    EXPECT_EQ(energy, 100);
}

TEST(TorvaneRecord, RisesOnlyWhenANewGameStarts) {
    set_start_values();
    EXPECT_EQ(energy, 216);
    EXPECT_EQ(high_score, 0);
    srandom(5);
    init_game();
    init_board();
    score = 300;
    EXPECT_EQ(high_score, 0) << "the running score is not the record";
    init_game();
    EXPECT_EQ(high_score, 300);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(energy, 216);
    score = 120;
    init_game();
    EXPECT_EQ(high_score, 300);
    score = 301;
    level = 4;
    level_complete = 1;
    batt_count = 0;
    init_game();
    EXPECT_EQ(high_score, 301);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(level_complete, 0);
    EXPECT_EQ(batt_count, 12);
}

TEST(TorvaneGeometry, EveryCanvasPixelNamesItsCellAndNoOtherDoes) {
    for (int p = 0; p < CANVAS_WIDTH; p++) {
        int cell = GRID.col_at(p);
        ASSERT_EQ(GRID.row_at(p), cell);
        ASSERT_GE(cell, 0);
        ASSERT_LT(cell, BOARD_SIZE);
        ASSERT_LE(GRID.centre_x(cell) - CELL_PIXELS / 2, p);
        ASSERT_GT(GRID.centre_x(cell) + CELL_PIXELS / 2, p);
    }
    EXPECT_EQ(GRID.col_at(0), 0);
    EXPECT_EQ(GRID.col_at(719), 23);
    // -1 is what the toolkit reports before the pointer has moved over the canvas or after
    // it left: no cell, not cell 0 as a truncating division would make it.
    EXPECT_EQ(GRID.col_at(-1), -1);
    EXPECT_EQ(GRID.col_at(-29), -1);
    EXPECT_EQ(GRID.col_at(720), BOARD_SIZE);
}

/* Long random play.  Half the clicks aim at a battery still on the board so that levels
   get completed; the rest are anywhere on (or just off) the board.  Each click is checked
   against what must hold after it: the accounts of energy and score, each robot's step,
   and the board's own invariants. */
struct Snapshot {
    int32_t energy, score, batt_count, level_complete, level;
    Robot robots[ROBOT_COUNT];
};

Snapshot take() {
    Snapshot s{energy, score, batt_count, level_complete, level, {}};
    std::memcpy(s.robots, robots, sizeof robots);
    return s;
}

// A quarter of the clicks go anywhere on the board or just off it; the rest aim at the
// battery nearest to a live robot, which completes levels now and then.
void pick_target(int* col, int* row) {
    if (random() % 4 == 0) {
        *col = static_cast<int>(random() % 26) - 1;
        *row = static_cast<int>(random() % 26) - 1;
        return;
    }
    int best = BOARD_SIZE;
    *col = *row = 12;
    for (int r = 0; r < BOARD_SIZE; r++)
        for (int c = 0; c < BOARD_SIZE; c++) {
            if (board[r][c] != CELL_BATTERY) continue;
            for (int i = 0; i < ROBOT_COUNT; i++) {
                if (!robot_alive(i)) continue;
                int d = std::max(std::abs(robots[i].col - c), std::abs(robots[i].row - r));
                if (d < best) {
                    best = d;
                    *col = c;
                    *row = r;
                }
            }
        }
}

void check_invariants(const Snapshot& before, int col, int row) {
    ASSERT_GE(energy, 0);
    ASSERT_EQ(count_cells(CELL_BATTERY), batt_count);
    ASSERT_EQ(level_complete, batt_count <= 0 ? 1 : 0);
    for (int i = 0; i < ROBOT_COUNT; i++) {
        if (!robot_alive(i)) {
            ASSERT_TRUE(robots[i].col == -1 && robots[i].row == -1);
            continue;
        }
        ASSERT_LT(robots[i].col, BOARD_SIZE);
        ASSERT_LT(robots[i].row, BOARD_SIZE);
        int cell = board[robots[i].row][robots[i].col];
        ASSERT_TRUE(cell == CELL_FREE || cell == CELL_CRATER) << "robot " << i << " on " << cell;
    }
    ASSERT_EQ(robot_at(-1, -1), -1) << "a destroyed robot stands on no cell and is not drawn";
    if (before.level_complete || before.energy <= 0) return;
    int steps = 0;
    for (int i = 0; i < ROBOT_COUNT; i++) {
        const Robot& was = before.robots[i];
        const Robot& now = robots[i];
        if (was.col == now.col && was.row == now.row) continue;
        ASSERT_GE(was.col, 0) << "a destroyed robot moved";
        steps++;
        if (now.col < 0) continue;  // stepped on a mine
        ASSERT_EQ(now.col - was.col, (col > was.col) - (col < was.col));
        ASSERT_EQ(now.row - was.row, (row > was.row) - (row < was.row));
    }
    int collected = before.batt_count - batt_count;
    ASSERT_GE(collected, 0);
    ASSERT_EQ(energy - before.energy, BATTERY_ENERGY * collected - steps);
    ASSERT_EQ(score - before.score, BATTERY_POINTS * collected);
}

TEST(TorvaneRandomPlay, InvariantsHoldOverManyGames) {
    srandom(20261207);
    set_start_values();
    int games = 0, levels = 0, overs = 0;
    for (int click = 0; click < 100000; click++) {
        if (click % 400 == 0 || (game_over() && random() % 4 == 0) ||
            (live_robots() == 0 && !level_complete)) {
            int best = high_score > score ? high_score : score;
            init_game();
            init_board();
            ASSERT_EQ(high_score, best);
            games++;
        }
        Snapshot before = take();
        int col, row;
        pick_target(&col, &row);
        click_cell(col, row);
        if (before.level_complete && before.energy > 0) {
            ASSERT_EQ(level, before.level + 1);
            ASSERT_EQ(live_robots(), ROBOT_COUNT);
            levels++;
        }
        if (before.energy > 0 && energy <= 0) overs++;
        check_invariants(before, col, row);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "click " << click << " at (" << col << ", " << row << ")";
            return;
        }
    }
    EXPECT_GT(games, 200);
    EXPECT_GT(levels, 50) << "random play should complete some levels";
    EXPECT_GT(overs, 100) << "random play should run out of energy sometimes";
}

}  // namespace
