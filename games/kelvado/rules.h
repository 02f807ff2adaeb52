// rules.h: the exploration game's state and every move that changes it (no toolkit here).
#pragma once
#include <cstdint>

// Global: the state and its step-by-step operations; namespace kelvado: constants, types, helpers and click_cell.
namespace kelvado {

constexpr int BOARD_SIZE = 10;  // cells per row and per column
constexpr int BOARD_CELLS = BOARD_SIZE * BOARD_SIZE;

// What a cell holds; a used-up tile turns into rubble.
enum TileKind : int32_t { EMPTY = 0, MOUNTAIN = 1, FOREST = 2, LAKE = 3, VILLAGE = 4, RUBBLE = 5 };

struct Cell {
    int32_t kind;  // a TileKind
    int32_t uses;  // how many more times the tile can be used
    int32_t seen;  // 0 while hidden, 1 once explored
};
static_assert(sizeof(Cell) == 3 * sizeof(int32_t), "a cell is three 32-bit ints");

}  // namespace kelvado

extern int32_t game_time;  // time units left
extern int32_t folk;
extern int32_t food;
extern int32_t wood;
extern int32_t explored;   // explored cells, which on 100 cells is also the per cent
extern int32_t moves;      // actions carried out
extern char* message$;     // the last message of the rules, a runtime string
extern kelvado::Cell board[kelvado::BOARD_SIZE][kelvado::BOARD_SIZE];  // board[row][col], row 0 at the top

// The state the program starts with: a new game's values; the board is dealt by init_board.
void set_start_values();
// The start values of a new game, with no message.
void init_game();
void add_random(int count, int kind, int uses);
void init_board();
void use_up_tile(int col, int row);
void use_mountain(int col, int row);
void use_forest(int col, int row);
void use_lake(int col, int row);
void use_village(int col, int row);

namespace kelvado {

// The end of a game: won when every cell is explored; lost when time ran out first.
bool game_won();
bool game_lost();
bool game_running();

// The click rule for cell (col, row), both 0 to 9: explore a hidden cell or use the tile of an
// explored one.  Returns false, changing nothing, when the game is not running or the cell is
// off the board.
bool click_cell(int col, int row);

}  // namespace kelvado
