// rules.cpp: the column-clearing game's state, the flood fill, the fall and the click rule.
#include "games/plimsy/rules.h"

#include <cmath>
#include <cstdlib>

#include "runtime/runtime.h"

using namespace plimsy;

int32_t score = 0;
int32_t high_score = 0;
int32_t robots_left = 0;
int32_t sel_size = 0;
int32_t sel_type = 0;
int32_t last_column = COLUMNS - 1;

Cell board[ROWS][COLUMNS];

void set_start_values() {
    T4K_FUNCTION(set_start_values);
    score = 0;
    high_score = 0;
    init_game();
}

void init_game() {
    T4K_FUNCTION(init_game);
    last_column = COLUMNS - 1;
    sel_type = 0;
    sel_size = 0;
    robots_left = 0;
    if (score > high_score) high_score = score;
    score = 0;
}

void init_board() {
    T4K_FUNCTION(init_board);
    for (int row = 0; row < ROWS; row++) {
        for (int col = 0; col < COLUMNS; col++) {
            Cell& cell = board[row][col];
            cell.kind = static_cast<int32_t>(random() % KINDS) + 1;
            if (cell.kind == ROBOT) robots_left += 1;
            cell.selected = 0;
        }
    }
}

/*
 * Recursive flood fill.  A cell is marked before its neighbours are visited, so
 * every cell is entered at most once with work to do and the recursion is never
 * deeper than the 160 cells of the board.
 */
void select_from(int col, int row) {
    T4K_FUNCTION(select_from);
    Cell& cell = board[row][col];
    if (cell.selected == 1) return;
    cell.selected = 1;
    sel_type = cell.kind;
    sel_size += 1;
    if (col > 0 && board[row][col - 1].kind == cell.kind) select_from(col - 1, row);
    if (col < COLUMNS - 1 && board[row][col + 1].kind == cell.kind) select_from(col + 1, row);
    if (row > 0 && board[row - 1][col].kind == cell.kind) select_from(col, row - 1);
    if (row < ROWS - 1 && board[row + 1][col].kind == cell.kind) select_from(col, row + 1);
}

void clear_selection() {
    T4K_FUNCTION(clear_selection);
    for (auto& line : board) {
        for (Cell& cell : line) cell.selected = 0;
    }
    sel_type = 0;
    sel_size = 0;
}

void score_selection() {
    T4K_FUNCTION(score_selection);
    if (sel_size <= 1) return;
    // Exact in double for every group the board can hold (at most 159 squared).
    score += static_cast<int32_t>(std::pow(sel_size - 1, 2));
    if (sel_type == ROBOT) robots_left -= sel_size;
}

int column_empty(int col) {
    T4K_FUNCTION(column_empty);
    for (int row = 0; row < ROWS; row++) {
        if (board[row][col].kind != EMPTY) return 0;
    }
    return 1;
}

void shift_column(int col) {
    T4K_FUNCTION(shift_column);
    for (int row = 0; row < ROWS; row++) {
        board[row][col - 1].kind = board[row][col].kind;
        board[row][col].kind = EMPTY;
    }
}

static void remove_selected() {
    T4K_FUNCTION(remove_selected);
    for (auto& line : board) {
        for (Cell& cell : line) {
            if (cell.selected != 1) continue;
            cell.selected = 0;
            cell.kind = EMPTY;
        }
    }
    sel_type = 0;
    sel_size = 0;
}

/*
 * Passes top down until nothing moves.  A piece that drops into a row is met again
 * when that row is scanned later in the same pass, so it can fall several rows at
 * once; the order of the pieces within a column never changes.
 */
static void fall() {
    T4K_FUNCTION(fall);
    bool moved;
    do {
        moved = false;
        for (int row = 0; row < ROWS - 1; row++) {
            for (int col = 0; col < COLUMNS; col++) {
                Cell& above = board[row][col];
                Cell& below = board[row + 1][col];
                if (above.kind == EMPTY || below.kind != EMPTY) continue;
                below.kind = above.kind;
                above.kind = EMPTY;
                moved = true;
            }
        }
    } while (moved);
}

/*
 * Passes left to right until nothing shifts.  Once an empty column c is met, the
 * shift empties column c + 1, which is tested next, so one pass moves everything
 * right of the first empty column one place left and leaves column last_column
 * empty; that is why last_column may drop by one after each such pass.
 */
static void close_columns() {
    T4K_FUNCTION(close_columns);
    bool shifted;
    do {
        shifted = false;
        for (int col = 0; col < last_column; col++) {
            if (!column_empty(col)) continue;
            shift_column(col + 1);
            shifted = true;
        }
        if (shifted) last_column -= 1;
    } while (shifted);
}

void make_move() {
    T4K_FUNCTION(make_move);
    remove_selected();
    fall();
    close_columns();
}

bool plimsy::game_won() {
    T4K_FUNCTION(game_won);
    return robots_left <= 0;
}

// Every group of two or more holds a pair side by side, so looking right and down from each
// piece finds one.
bool plimsy::group_left() {
    T4K_FUNCTION(group_left);
    for (int row = 0; row < ROWS; row++) {
        for (int col = 0; col < COLUMNS; col++) {
            const int32_t kind = board[row][col].kind;
            if (kind == EMPTY) continue;
            if (col + 1 < COLUMNS && board[row][col + 1].kind == kind) return true;
            if (row + 1 < ROWS && board[row + 1][col].kind == kind) return true;
        }
    }
    return false;
}

/*
 * A click on the selected group removes it.  Any other click replaces the selection
 * with the clicked piece's group, or with nothing for a lone piece.  An empty cell
 * is never selected: its region would score when "removed" while removing nothing,
 * and clicking it again and again would raise the score without end.
 */
void plimsy::click_cell(int col, int row) {
    T4K_FUNCTION(click_cell);
    if (col < 0 || col >= COLUMNS || row < 0 || row >= ROWS) return;
    if (board[row][col].selected == 1) {
        score_selection();
        make_move();
        return;
    }
    clear_selection();
    if (board[row][col].kind == EMPTY) return;
    select_from(col, row);
    if (sel_size <= 1) clear_selection();
}

std::string cell_description(int col, int row) {
    T4K_FUNCTION(cell_description);
    static constexpr const char* KINDS[] = {"empty", "robot", "flower", "ladybug", "cloud", "bee"};
    const Cell& cell = board[row][col];
    const std::string kind = cell.kind > EMPTY && cell.kind <= BEE ? KINDS[cell.kind] : KINDS[EMPTY];
    return cell.selected ? kind + ", selected" : kind;
}
