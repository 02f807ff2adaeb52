// plimsy_rules_test.cpp: the column-clearing rules on fixed boards and in long random play.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "games/plimsy/rules.h"

using namespace plimsy;

namespace {

constexpr std::string_view LETTERS = ".RFLCB";  // index = kind

// Loads a board drawn as text, top row first: R robot, F flower, L ladybug, C cloud,
// B bee, '.' empty.  Fewer than ten rows are laid on the bottom of an empty board.
void load(std::initializer_list<const char*> rows) {
    score = high_score = sel_size = sel_type = 0;
    last_column = COLUMNS - 1;
    robots_left = 0;
    for (auto& line : board)
        for (Cell& cell : line) cell = {EMPTY, 0};
    int row = ROWS - static_cast<int>(rows.size());
    for (std::string_view text : rows) {
        EXPECT_EQ(text.size(), static_cast<size_t>(COLUMNS)) << text;
        for (int col = 0; col < COLUMNS && col < static_cast<int>(text.size()); col++) {
            board[row][col].kind = static_cast<int32_t>(LETTERS.find(text[col]));
            if (board[row][col].kind == ROBOT) robots_left++;
        }
        row++;
    }
}

std::vector<std::string> picture() {
    std::vector<std::string> rows;
    for (auto& line : board) {
        std::string text;
        for (const Cell& cell : line) text += LETTERS[cell.kind];
        rows.push_back(text);
    }
    return rows;
}

std::string shown() {
    std::string text;
    for (const std::string& row : picture()) text += row + "\n";
    return text;
}

std::vector<std::string> expect_rows(std::initializer_list<const char*> rows) {
    std::vector<std::string> full(ROWS - rows.size(), std::string(COLUMNS, '.'));
    full.insert(full.end(), rows.begin(), rows.end());
    return full;
}

int selected_cells() {
    int n = 0;
    for (auto& line : board)
        for (const Cell& cell : line) n += cell.selected;
    return n;
}

int robots_on_board() {
    int n = 0;
    for (auto& line : board)
        for (const Cell& cell : line) n += cell.kind == ROBOT;
    return n;
}

// Cells of the group of (col, row), by an iterative search independent of select_from.
std::vector<std::array<int, 2>> group_of(int col, int row) {
    std::vector<std::array<int, 2>> found{{col, row}};
    bool seen[ROWS][COLUMNS] = {};
    seen[row][col] = true;
    for (size_t i = 0; i < found.size(); i++) {
        auto [c, r] = found[i];
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (auto [dc, dr] : steps) {
            int nc = c + dc, nr = r + dr;
            if (nc < 0 || nc >= COLUMNS || nr < 0 || nr >= ROWS || seen[nr][nc]) continue;
            if (board[nr][nc].kind != board[row][col].kind) continue;
            seen[nr][nc] = true;
            found.push_back({nc, nr});
        }
    }
    return found;
}

bool has_move() {
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++)
            if (board[row][col].kind != EMPTY && group_of(col, row).size() > 1) return true;
    return false;
}

// The kinds of all cells, row after row: a cheap copy of the board for long play.
using Kinds = std::array<int32_t, CELLS>;

Kinds kinds() {
    Kinds all;
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++) all[row * COLUMNS + col] = board[row][col].kind;
    return all;
}

// The board a removal should leave: each column's survivors packed at the bottom in
// their order, the non-empty columns packed at the left in theirs.
Kinds settled_after_removal() {
    Kinds all{};
    int target = 0;
    for (int col = 0; col < COLUMNS; col++) {
        int row_to = ROWS - 1;
        for (int row = ROWS - 1; row >= 0; row--)
            if (board[row][col].kind != EMPTY && !board[row][col].selected)
                all[row_to-- * COLUMNS + target] = board[row][col].kind;
        if (row_to < ROWS - 1) target++;
    }
    return all;
}

void expect_invariants(const char* when) {
    SCOPED_TRACE(when);
    ASSERT_GE(last_column, 0);
    ASSERT_LT(last_column, COLUMNS);
    bool empty_column_seen = false;
    for (int col = 0; col < COLUMNS; col++) {
        bool piece_seen = false;
        for (int row = 0; row < ROWS; row++) {
            bool piece = board[row][col].kind != EMPTY;
            ASSERT_TRUE(piece || !piece_seen) << "hole under a piece at column " << col << ", row " << row;
            piece_seen = piece_seen || piece;
        }
        ASSERT_FALSE(piece_seen && empty_column_seen) << "column " << col << " right of an empty column";
        ASSERT_FALSE(piece_seen && col > last_column) << "column " << col << " right of last_column";
        empty_column_seen = empty_column_seen || !piece_seen;
    }
    ASSERT_EQ(robots_left, robots_on_board());
    if (sel_size == 0) {
        ASSERT_EQ(sel_type, 0);
        ASSERT_EQ(selected_cells(), 0);
        return;
    }
    ASSERT_GE(sel_size, 2);
    ASSERT_EQ(selected_cells(), sel_size);
    ASSERT_NE(sel_type, EMPTY);
    // The selection is exactly one whole group: the group of any selected cell has
    // sel_size cells, all of them selected.
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++) {
            if (!board[row][col].selected) continue;
            ASSERT_EQ(board[row][col].kind, sel_type);
            const auto group = group_of(col, row);
            ASSERT_EQ(group.size(), static_cast<size_t>(sel_size));
            for (auto [c, r] : group) ASSERT_EQ(board[r][c].selected, 1);
            return;
        }
}

TEST(PlimsyScore, GroupOfNScoresNMinusOneSquared) {
    load({"RRFFFLLLLLLLLLLC",
          "BCBCBCBCBCBCBCBF"});
    click_cell(0, 8);
    EXPECT_EQ(sel_size, 2);
    EXPECT_EQ(sel_type, ROBOT);
    EXPECT_EQ(score, 0) << "selecting scores nothing";
    click_cell(1, 8);
    EXPECT_EQ(score, 1);
    EXPECT_EQ(robots_left, 0);

    load({"RRFFFLLLLLLLLLLC",
          "BCBCBCBCBCBCBCBF"});
    click_cell(3, 8);
    EXPECT_EQ(sel_size, 3);
    click_cell(4, 8);
    EXPECT_EQ(score, 4);
    EXPECT_EQ(robots_left, 2) << "only robot groups count the robots down";

    load({"RRFFFLLLLLLLLLLC",
          "BCBCBCBCBCBCBCBF"});
    click_cell(9, 8);
    EXPECT_EQ(sel_size, 10);
    EXPECT_EQ(sel_type, LADYBUG);
    click_cell(5, 8);
    EXPECT_EQ(score, 81);
}

TEST(PlimsySelection, LoneCellIsNeverSelected) {
    load({"RFRFRFRFRFRFRFRF",
          "FRFRFRFRFRFRFRFR"});
    const auto before = picture();
    for (int round = 0; round < 2; round++) {
        click_cell(4, 9);
        EXPECT_EQ(sel_size, 0);
        EXPECT_EQ(sel_type, 0);
        EXPECT_EQ(selected_cells(), 0);
    }
    EXPECT_EQ(score, 0);
    EXPECT_EQ(picture(), before);
}

TEST(PlimsySelection, SecondGroupMovesTheSelectionWithoutScoring) {
    load({"RRFFCBCBCBCBCBCB",
          "CBCBCBCBCBCBCBCR"});
    click_cell(0, 8);
    EXPECT_EQ(sel_type, ROBOT);
    click_cell(3, 8);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(sel_type, FLOWER);
    EXPECT_EQ(sel_size, 2);
    EXPECT_EQ(board[8][0].selected, 0);
    EXPECT_EQ(board[8][2].selected + board[8][3].selected, 2);
    // A lone cell clicked while a group is selected drops the selection.
    click_cell(15, 9);
    EXPECT_EQ(sel_size, 0);
    EXPECT_EQ(selected_cells(), 0);
    EXPECT_EQ(score, 0);
}

TEST(PlimsySelection, DiagonalsDoNotJoinAGroup) {
    load({"RFFFFFFFFFFFFFFF",
          "FRFFFFFFFFFFFFFF"});
    click_cell(0, 8);
    EXPECT_EQ(sel_size, 0);
}

TEST(PlimsyFall, PiecesAboveFallByTheGroupHeightInOrder) {
    load({"LCFFFFFFFFFFFFFF",
          "BLFFFFFFFFFFFFFF",
          "CRFFFFFFFFFFFFFF",
          "RRFFFFFFFFFFFFFF"});
    click_cell(0, 9);
    ASSERT_EQ(sel_size, 3);
    click_cell(1, 8);
    EXPECT_EQ(score, 4);
    EXPECT_EQ(robots_left, 0);
    // Column 0 lost one robot and drops by one, column 1 lost two and drops by two.
    EXPECT_EQ(picture(), expect_rows({"..FFFFFFFFFFFFFF",
                                      "L.FFFFFFFFFFFFFF",
                                      "BCFFFFFFFFFFFFFF",
                                      "CLFFFFFFFFFFFFFF"}));
    EXPECT_EQ(last_column, COLUMNS - 1);
    expect_invariants("after the fall");
}

TEST(PlimsyColumns, EmptyingColumnZeroShiftsEveryColumnLeft) {
    load({"RFCBCBCBCBCBCBCB",
          "RLBCBCBCBCBCBCBC"});
    click_cell(0, 9);
    click_cell(0, 9);
    EXPECT_EQ(picture(), expect_rows({"FCBCBCBCBCBCBCB.",
                                      "LBCBCBCBCBCBCBC."}));
    EXPECT_EQ(last_column, 14);

    // Once more from the narrower board: it drops again by one.
    load({"BFCBCBCBCBCBCBC.",
          "BLBCBCBCBCBCBCB."});
    last_column = 14;
    click_cell(0, 8);
    click_cell(0, 8);
    EXPECT_EQ(picture(), expect_rows({"FCBCBCBCBCBCBC..",
                                      "LBCBCBCBCBCBCB.."}));
    EXPECT_EQ(last_column, 13);
    expect_invariants("after two closings");
}

TEST(PlimsyColumns, EmptyingTwoAdjacentColumnsTakesTwoPasses) {
    load({"FCBRRCBCBCBCBCBC",
          "CBCRRBCBCBCBCBCB"});
    click_cell(3, 8);
    ASSERT_EQ(sel_size, 4);
    click_cell(4, 9);
    EXPECT_EQ(score, 9);
    EXPECT_EQ(picture(), expect_rows({"FCBCBCBCBCBCBC..",
                                      "CBCBCBCBCBCBCB.."}));
    EXPECT_EQ(last_column, 13);
}

TEST(PlimsySelection, EmptyCellsAreNeverSelectedNorScored) {
    load({"RR..............",
          "FC.............."});
    click_cell(0, 8);
    ASSERT_EQ(sel_size, 2);
    const auto before = picture();
    for (int round = 0; round < 3; round++) {
        click_cell(9, 3);
        EXPECT_EQ(sel_size, 0);
        EXPECT_EQ(sel_type, 0);
        EXPECT_EQ(selected_cells(), 0);
    }
    EXPECT_EQ(score, 0);
    EXPECT_EQ(picture(), before);
}

TEST(PlimsyGame, WinWhenTheLastRobotGoesAndPlayGoesOn) {
    load({"RRFFCBCBCBCBCBCB",
          "CBCBCBCBCBCBCBCR"});
    EXPECT_FALSE(game_won());
    click_cell(15, 9);  // a lone robot: nothing happens
    EXPECT_EQ(robots_left, 3);
    load({"RRFFCBCBCBCBCBCB",
          "CBCBCBCBCBCBCBCB"});
    click_cell(0, 8);
    click_cell(0, 8);
    EXPECT_EQ(robots_left, 0);
    EXPECT_TRUE(game_won());
    click_cell(2, 8);
    ASSERT_EQ(sel_type, FLOWER);
    click_cell(3, 8);
    EXPECT_EQ(score, 2);
    EXPECT_TRUE(game_won());
    expect_invariants("after play past the win");
}

// Only pieces make a group: touching empty cells do not, nor pieces that touch at a corner.
TEST(PlimsyGame, OverWhenNoTwoPiecesOfAKindTouch) {
    load({"FR..............", "RF..............", "CCRB............"});
    EXPECT_TRUE(group_left());
    click_cell(0, 9);
    click_cell(0, 9);
    EXPECT_EQ(picture(), expect_rows({"FR..............", "RFRB............"}));
    EXPECT_FALSE(group_left());
    load({});
    EXPECT_FALSE(group_left()) << "an empty board";
}

TEST(PlimsyGame, RecordTakesTheBestFinishedGameAtANewGame) {
    load({"FFFCBCBCBCBCBCBC",
          "CBCBCBCBCBCBCBCB"});
    click_cell(0, 8);
    click_cell(0, 8);
    ASSERT_EQ(score, 4);
    EXPECT_EQ(high_score, 0) << "the record moves only at a new game";
    sel_size = 7;
    sel_type = BEE;
    last_column = 3;
    robots_left = 9;
    init_game();
    EXPECT_EQ(high_score, 4);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(sel_size, 0);
    EXPECT_EQ(sel_type, 0);
    EXPECT_EQ(robots_left, 0);
    EXPECT_EQ(last_column, 15);
    score = 1;
    init_game();
    EXPECT_EQ(high_score, 4) << "a lower score keeps the record";
}

TEST(PlimsyBoard, NewBoardIsFullAndCountsItsRobots) {
    srandom(4711);
    init_game();
    board[3][3].selected = 1;
    init_board();
    const auto first = picture();
    int seen[KINDS + 1] = {};
    for (auto& line : board)
        for (const Cell& cell : line) {
            ASSERT_GE(cell.kind, ROBOT);
            ASSERT_LE(cell.kind, BEE);
            EXPECT_EQ(cell.selected, 0);
            seen[cell.kind]++;
        }
    for (int kind = ROBOT; kind <= BEE; kind++) EXPECT_GT(seen[kind], 10) << "kind " << kind;
    EXPECT_EQ(robots_left, seen[ROBOT]);
    srandom(4711);
    init_game();
    init_board();
    EXPECT_EQ(picture(), first) << "the board depends only on the seed";
}

TEST(PlimsyBoard, WholeBoardOfOneKindIsOneGroup) {
    load({"RRRRRRRRRRRRRRRR", "RRRRRRRRRRRRRRRR", "RRRRRRRRRRRRRRRR", "RRRRRRRRRRRRRRRR",
          "RRRRRRRRRRRRRRRR", "RRRRRRRRRRRRRRRR", "RRRRRRRRRRRRRRRR", "RRRRRRRRRRRRRRRR",
          "RRRRRRRRRRRRRRRR", "RRRRRRRRRRRRRRRR"});
    click_cell(7, 4);
    EXPECT_EQ(sel_size, CELLS);
    expect_invariants("with the whole board selected");
    click_cell(0, 0);
    EXPECT_EQ(score, (CELLS - 1) * (CELLS - 1));
    EXPECT_EQ(robots_left, 0);
    EXPECT_EQ(picture(), expect_rows({}));
    EXPECT_EQ(last_column, 0);
    click_cell(0, 9);
    EXPECT_EQ(sel_size, 0);
}

/*
 * Long random play.  Half of the clicks go to the selected group when there is one,
 * so that groups are removed often; the rest land anywhere, empty cells included.
 * Every removal is compared with the board computed independently beforehand.
 */
TEST(PlimsyRandomPlay, InvariantsHoldAfterEveryClick) {
    srandom(20261207);
    score = high_score = 0;
    init_game();
    init_board();
    int games = 1, removals = 0, best = 0;
    bool settled = true;  // the board changed since moves were last looked for
    for (int click = 0; click < 100000; click++) {
        if (settled && !has_move()) {
            best = std::max(best, score);
            init_game();
            EXPECT_EQ(high_score, best);
            init_board();
            games++;
        }
        int col = static_cast<int>(random() % COLUMNS), row = static_cast<int>(random() % ROWS);
        if (sel_size > 0 && random() % 2) {
            int pick = static_cast<int>(random() % sel_size);
            for (int r = 0; r < ROWS; r++)
                for (int c = 0; c < COLUMNS; c++)
                    if (board[r][c].selected && pick-- == 0) col = c, row = r;
        }
        if (settled) {
            ASSERT_EQ(group_left(), has_move()) << "click " << click << "\n" << shown();
        }
        const bool removing = board[row][col].selected == 1;
        const Kinds expected = removing ? settled_after_removal() : kinds();
        const int32_t expected_score = score + (removing ? (sel_size - 1) * (sel_size - 1) : 0);
        click_cell(col, row);
        ASSERT_TRUE(kinds() == expected) << "click " << click << " at " << col << "," << row << "\n" << shown();
        ASSERT_EQ(score, expected_score);
        removals += removing;
        settled = removing;
        ASSERT_NO_FATAL_FAILURE(expect_invariants("random play"));
    }
    EXPECT_GT(games, 50);
    EXPECT_GT(removals, 3000);
}

// What a screen reader says of a cell: its piece, and whether it is selected.
TEST(PlimsyDescription, SaysThePieceAndTheSelection) {
    struct Case { Cell cell; const char* said; };
    const Case cases[] = {
        {{ROBOT, 1}, "robot, selected"}, {{FLOWER, 0}, "flower"}, {{LADYBUG, 0}, "ladybug"},
        {{CLOUD, 1}, "cloud, selected"}, {{BEE, 0}, "bee"},       {{EMPTY, 0}, "empty"},
        {{-7, 0}, "empty"},
    };
    for (const Case& c : cases) {
        board[ROWS - 1][COLUMNS - 1] = c.cell;
        EXPECT_EQ(cell_description(COLUMNS - 1, ROWS - 1), c.said) << "kind " << c.cell.kind;
    }
}

}  // namespace
