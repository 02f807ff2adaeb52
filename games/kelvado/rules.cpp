// rules.cpp: the exploration game's state, the new board, the tile actions and the move rule.
#include "games/kelvado/rules.h"

#include <array>
#include <cstdlib>

#include "runtime/runtime.h"

using namespace kelvado;

int32_t game_time;
int32_t folk;
int32_t food;
int32_t wood;
int32_t explored;
int32_t moves;
char* message$;
Cell board[BOARD_SIZE][BOARD_SIZE];

namespace {

constexpr int32_t START_TIME = 25;
constexpr int32_t START_RESOURCE = 3;
constexpr int32_t GAIN = 3;  // what a forest, lake or village yields

// random() yields 0 to 2^31 - 1.  Divided by RESOURCE_DIVISOR it gives 0, 1 or 2 (and 3 for the
// two largest values); divided by CELL_DIVISOR it gives 0 to 100, where 100 names no cell.
constexpr long RESOURCE_DIVISOR = 715827882;
constexpr long CELL_DIVISOR = 21474836;

constexpr char NOTHING_TO_DO[] = "Nothing to do there.";

// One tile action: every resource it pays must be above 0, and each is paid once.
struct TileAction {
    std::array<int32_t*, 3> pays;  // unused places are null
    int32_t* gain;                 // receives GAIN; null for none
    int32_t time_change;
    const char* refusal;
};

constexpr TileAction MOUNTAIN_ACTION{{&folk, &wood, &food}, nullptr, +10, "Need one of everything."};
constexpr TileAction FOREST_ACTION{{&folk, &food, nullptr}, &wood, -1, "Need people and food."};
constexpr TileAction LAKE_ACTION{{&folk, &wood, nullptr}, &food, -1, "Need people and wood."};
constexpr TileAction VILLAGE_ACTION{{&wood, &food, nullptr}, &folk, -1, "Need food and wood."};

struct StartTile {
    int32_t kind;
    int32_t count;
    int32_t uses;
};
constexpr std::array<StartTile, 4> START_TILES{{
    {MOUNTAIN, 5, 3},
    {FOREST, 5, 2},
    {LAKE, 5, 2},
    {VILLAGE, 5, 2},
}};

int32_t resource_draw() {
    T4K_FUNCTION(resource_draw);
    return static_cast<int32_t>(random() / RESOURCE_DIVISOR);
}

bool can_pay(const TileAction& action) {
    T4K_FUNCTION(can_pay);
    for (const int32_t* resource : action.pays)
        if (resource && *resource <= 0) return false;
    return true;
}

void use_tile(const TileAction& action, int col, int row) {
    T4K_FUNCTION(use_tile);
    if (!can_pay(action)) {
        T4K_ASSIGN(message$, action.refusal);
        return;
    }
    for (int32_t* resource : action.pays)
        if (resource) *resource -= 1;
    if (action.gain) *action.gain += GAIN;
    T4K_ASSIGN(message$, "");
    moves += 1;
    game_time += action.time_change;
    use_up_tile(col, row);
}

void explore(Cell& cell) {
    T4K_FUNCTION(explore);
    cell.seen = 1;
    explored += 1;
    moves += 1;
    game_time -= 1;
}

}  // namespace

void set_start_values() {
    T4K_FUNCTION(set_start_values);
    init_game();
}

// A new game also starts with no message: the last game's would stand over the new board.
void init_game() {
    T4K_FUNCTION(init_game);
    T4K_ASSIGN(message$, "");
    game_time = START_TIME;
    folk = START_RESOURCE + resource_draw();
    food = START_RESOURCE + resource_draw();
    wood = START_RESOURCE + resource_draw();
    explored = 0;
    moves = 0;
}

void add_random(int count, int kind, int uses) {
    T4K_FUNCTION(add_random);
    for (int placed = 0; placed < count; placed++) {
        Cell* cell = nullptr;
        while (!cell) {
            const long c = random() / CELL_DIVISOR;
            if (c < BOARD_CELLS && board[c / BOARD_SIZE][c % BOARD_SIZE].kind == EMPTY)
                cell = &board[c / BOARD_SIZE][c % BOARD_SIZE];
        }
        cell->kind = kind;
        cell->uses = uses;
    }
}

void init_board() {
    T4K_FUNCTION(init_board);
    for (auto& row : board)
        for (Cell& cell : row) cell = Cell{EMPTY, 0, 0};
    for (const StartTile& tile : START_TILES) add_random(tile.count, tile.kind, tile.uses);
}

void use_up_tile(int col, int row) {
    T4K_FUNCTION(use_up_tile);
    Cell& cell = board[row][col];
    cell.uses -= 1;
    if (cell.uses < 1) cell.kind = RUBBLE;
}

void use_mountain(int col, int row) {
    T4K_FUNCTION(use_mountain);
    use_tile(MOUNTAIN_ACTION, col, row);
}

void use_forest(int col, int row) {
    T4K_FUNCTION(use_forest);
    use_tile(FOREST_ACTION, col, row);
}

void use_lake(int col, int row) {
    T4K_FUNCTION(use_lake);
    use_tile(LAKE_ACTION, col, row);
}

void use_village(int col, int row) {
    T4K_FUNCTION(use_village);
    use_tile(VILLAGE_ACTION, col, row);
}

bool kelvado::game_won() {
    T4K_FUNCTION(game_won);
    return explored >= BOARD_CELLS;
}

bool kelvado::game_lost() {
    T4K_FUNCTION(game_lost);
    return game_time <= 0 && !game_won();
}

bool kelvado::game_running() {
    T4K_FUNCTION(game_running);
    return game_time > 0 && explored < BOARD_CELLS;
}

bool kelvado::click_cell(int col, int row) {
    T4K_FUNCTION(click_cell);
    if (!game_running() || col < 0 || col >= BOARD_SIZE || row < 0 || row >= BOARD_SIZE) return false;
    Cell& cell = board[row][col];
    if (!cell.seen) {
        explore(cell);
        return true;
    }
    using TileUse = void (*)(int, int);
    static constexpr std::array<TileUse, 6> USE_BY_KIND{
        nullptr, use_mountain, use_forest, use_lake, use_village, nullptr};
    const bool has_use = cell.kind >= 0 && cell.kind < static_cast<int32_t>(USE_BY_KIND.size()) &&
                         USE_BY_KIND[cell.kind];
    if (has_use)
        USE_BY_KIND[cell.kind](col, row);
    else
        T4K_ASSIGN(message$, NOTHING_TO_DO);
    return true;
}
