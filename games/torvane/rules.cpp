// rules.cpp: the robot game's state and every operation that changes it; draws nothing.
#include "games/torvane/rules.h"

#include <cstdlib>

#include "runtime/runtime.h"

using namespace torvane;

int32_t level = 1;
int32_t energy = START_ENERGY;
int32_t batt_count = ITEMS_PER_KIND;
int32_t level_complete = 0;
int32_t score = 0;
int32_t high_score = 0;
int32_t board[BOARD_SIZE][BOARD_SIZE];
Robot robots[ROBOT_COUNT];

namespace {

constexpr int CELL_COUNT = BOARD_SIZE * BOARD_SIZE;
// random() / CELL_DIVISOR spreads 0 .. 2^31 - 1 over 0 .. CELL_COUNT; the top value
// (CELL_COUNT, from 128 outcomes) names no cell and is drawn again.
constexpr long CELL_DIVISOR = 3728270;
static_assert(2147483647L / CELL_DIVISOR == CELL_COUNT, "the draw reaches exactly one value past the board");

constexpr int sign(int v) { return (v > 0) - (v < 0); }

bool on_board(int col, int row) {
    return col >= 0 && col < BOARD_SIZE && row >= 0 && row < BOARD_SIZE;
}

// Draws cells until one is free on the board; robots are not consulted.
void draw_free_cell(int* col, int* row) {
    T4K_FUNCTION(draw_free_cell);
    for (;;) {
        int c = static_cast<int>(random() / CELL_DIVISOR);
        if (c < CELL_COUNT && board[c / BOARD_SIZE][c % BOARD_SIZE] == CELL_FREE) {
            *col = c % BOARD_SIZE;
            *row = c / BOARD_SIZE;
            return;
        }
    }
}

void collect_battery(int col, int row) {
    T4K_FUNCTION(collect_battery);
    energy += BATTERY_ENERGY;
    score += BATTERY_POINTS;
    batt_count -= 1;
    board[row][col] = CELL_FREE;
}

}  // namespace

void set_start_values() {
    T4K_FUNCTION(set_start_values);
    level = 1;
    energy = START_ENERGY;
    batt_count = ITEMS_PER_KIND;
    level_complete = 0;
    score = 0;
    high_score = 0;
}

void init_game() {
    T4K_FUNCTION(init_game);
    if (score > high_score) high_score = score;
    level = 1;
    energy = START_ENERGY;
    batt_count = ITEMS_PER_KIND;
    level_complete = 0;
    score = 0;
}

void add_random(int count, int value) {
    T4K_FUNCTION(add_random);
    for (int n = 0; n < count; n++) {
        int col, row;
        draw_free_cell(&col, &row);
        board[row][col] = value;
    }
}

void init_board() {
    T4K_FUNCTION(init_board);
    for (int row = 0; row < BOARD_SIZE; row++)
        for (int col = 0; col < BOARD_SIZE; col++) board[row][col] = CELL_FREE;
    add_random(ITEMS_PER_KIND, CELL_TREE);
    add_random(ITEMS_PER_KIND, CELL_MINE);
    add_random(ITEMS_PER_KIND, CELL_BATTERY);
    for (Robot& robot : robots) draw_free_cell(&robot.col, &robot.row);
    batt_count = ITEMS_PER_KIND;
}

int robot_at(int col, int row) {
    T4K_FUNCTION(robot_at);
    if (!on_board(col, row)) return -1;
    for (int i = 0; i < ROBOT_COUNT; i++)
        if (robots[i].col == col && robots[i].row == row) return i;
    return -1;
}

/* A step goes one cell straight or diagonally towards the target.  The checks run in a
   fixed order: standing on the target, a tree, another robot, then the energy, so a
   blocked robot never spends energy.  A destroyed robot, a robot index outside the
   twelve, or a step that would leave the board (only possible for a target off the
   board) does nothing: the click rule never asks for these, but nothing outside the
   board or the robot table may be touched whoever calls. */
void move_robot(int i, int target_col, int target_row) {
    T4K_FUNCTION(move_robot);
    if (i < 0 || i >= ROBOT_COUNT || !robot_alive(i)) return;
    int dx = sign(target_col - robots[i].col);
    int dy = sign(target_row - robots[i].row);
    if (dx == 0 && dy == 0) return;
    int col = robots[i].col + dx, row = robots[i].row + dy;
    if (!on_board(col, row)) return;
    if (board[row][col] == CELL_TREE) return;
    if (robot_at(col, row) >= 0) return;
    if (energy <= 0) return;
    energy -= 1;
    robots[i] = {col, row};
    if (board[row][col] == CELL_BATTERY) {
        collect_battery(col, row);
    } else if (board[row][col] == CELL_MINE) {
        robots[i] = {-1, -1};
        board[row][col] = CELL_CRATER;
    }
}

void give_bonus() {
    T4K_FUNCTION(give_bonus);
    for (int i = 0; i < ROBOT_COUNT; i++) {
        if (!robot_alive(i)) continue;
        score += BATTERY_POINTS;
        energy += BATTERY_ENERGY;
    }
}

/* A level's last battery is collected by a robot that stays alive, so a complete level always
   has a robot left: with none, no click can change the state any more. */
bool torvane::game_over() {
    T4K_FUNCTION(game_over);
    bool robot_left = false;
    for (int i = 0; i < ROBOT_COUNT; i++) robot_left = robot_left || robot_alive(i);
    return energy <= 0 || !robot_left;
}

void torvane::click_cell(int col, int row) {
    T4K_FUNCTION(click_cell);
    if (game_over()) return;
    if (level_complete == 1) {
        give_bonus();
        level += 1;
        level_complete = 0;
        init_board();
        return;
    }
    if (!on_board(col, row)) return;
    for (int i = 0; i < ROBOT_COUNT; i++)
        if (robot_alive(i)) move_robot(i, col, row);
    if (batt_count <= 0) level_complete = 1;
}
