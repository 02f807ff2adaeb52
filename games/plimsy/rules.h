// rules.h: the column-clearing game's state and the operations that change it.
#pragma once
#include <cstdint>

// Global: the state and its step-by-step operations; namespace plimsy: constants, types, helpers and click_cell.
namespace plimsy {

constexpr int COLUMNS = 16;
constexpr int ROWS = 10;
constexpr int CELLS = COLUMNS * ROWS;
constexpr int KINDS = 5;

// Piece kinds; EMPTY marks a cell whose piece has been removed.
enum Kind : int32_t { EMPTY = 0, ROBOT = 1, FLOWER = 2, LADYBUG = 3, CLOUD = 4, BEE = 5 };

struct Cell {
    int32_t kind;      // EMPTY or one of the five piece kinds
    int32_t selected;  // 1 while the cell belongs to the current selection
};
static_assert(sizeof(Cell) == 8, "a cell is two 32-bit ints");

}  // namespace plimsy

extern int32_t score;        // score of the current game
extern int32_t high_score;   // best score of the earlier games of this run
extern int32_t robots_left;  // robot pieces still on the board
extern int32_t sel_size;     // cells in the current selection, 0 when none
extern int32_t sel_type;     // kind of the current selection, 0 when none
extern int32_t last_column;  // rightmost column that can still hold pieces

// board[row][col], row 0 at the top, column 0 at the left.
extern plimsy::Cell board[plimsy::ROWS][plimsy::COLUMNS];

// The state the program starts with: a new game's values and no record yet.
void set_start_values();
// Start values of a new game; carries the finished game's score into the record.
void init_game();
// Fills every cell with a random piece and counts the robots.
void init_board();
// Marks the group of same-kind cells that touch (col, row) side by side.
void select_from(int col, int row);
void clear_selection();
// Adds (sel_size - 1)^2 for a group of two or more and counts down removed robots.
void score_selection();
int column_empty(int col);
// Moves column col one place to the left, leaving it empty.
void shift_column(int col);
// Removes the selected group, lets the pieces fall and closes empty columns.
void make_move();

namespace plimsy {

// The game is won once no robot is left; play goes on after it.
bool game_won();
// Whether two pieces of one kind still touch side by side: without such a group nothing can be
// removed any more, and the game is over.
bool group_left();

// The click rule for cell (col, row): remove the selected group, or select the clicked one.
void click_cell(int col, int row);

}  // namespace plimsy
