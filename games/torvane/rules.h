// rules.h: the robot game's state (board, robots, energy, score, level) and its click rule.
#pragma once
#include <cstdint>

// Global: the state and its step-by-step operations; namespace torvane: constants, types, helpers and click_cell.
namespace torvane {

constexpr int BOARD_SIZE = 24;      // cells each way
constexpr int ROBOT_COUNT = 12;
constexpr int ITEMS_PER_KIND = 12;  // trees, mines and batteries dealt per level
constexpr int START_ENERGY = 216;
constexpr int BATTERY_ENERGY = 12;  // energy a battery gives, and the bonus per robot
constexpr int BATTERY_POINTS = 25;  // points a battery gives, and the bonus per robot

// Cell values of the board.
enum : int32_t { CELL_FREE = 0, CELL_TREE = 1, CELL_MINE = 2, CELL_BATTERY = 3, CELL_CRATER = 4 };

// A robot's cell; a destroyed robot stands at (-1, -1).
struct Robot {
    int32_t col;
    int32_t row;
};
static_assert(sizeof(Robot) == 8, "a robot is two 32-bit values, col then row");

}  // namespace torvane

extern int32_t level;
extern int32_t energy;
extern int32_t batt_count;
extern int32_t level_complete;
extern int32_t score;
extern int32_t high_score;
extern int32_t board[torvane::BOARD_SIZE][torvane::BOARD_SIZE];
extern torvane::Robot robots[torvane::ROBOT_COUNT];

// The state the program starts with: a new game's values and no record yet.
void set_start_values();
// A new game: carries a better score into high_score, then resets level, energy and score.
void init_game();
// Places `count` cells of `value` on free cells drawn at random.
void add_random(int count, int value);
// Deals a level: trees, mines and batteries, then every robot on a free cell.
void init_board();
// The lowest index of a robot on (col, row), or -1.
int robot_at(int col, int row);
// One step of robot i towards the target cell, if nothing blocks it and energy is left.
void move_robot(int i, int target_col, int target_row);
// The level bonus: points and energy for every live robot.
void give_bonus();

namespace torvane {

inline bool robot_alive(int i) { return robots[i].col >= 0 && robots[i].row >= 0; }
// The game is over once the energy is spent or no robot is left to move; it has no won state.
bool game_over();

// The click rule for cell (col, row): the next level when the level is complete, else one step
// of every live robot towards the cell.  Nothing happens once the game is over.
void click_cell(int col, int row);

}  // namespace torvane
