// kelvado_rules_test.cpp: the exploration rules in-process, with fixed seeds and long random play.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "games/kelvado/rules.h"
#include "runtime/runtime.h"

using namespace kelvado;

namespace {

std::string current_message() { return message$ ? message$ : ""; }

void set_message(const char* text) { T4K_ASSIGN(message$, text); }

// Everything the rules own, for before-and-after comparisons.
struct Snapshot {
    int32_t game_time, folk, food, wood, explored, moves;
    std::string message;
    Cell cells[BOARD_SIZE][BOARD_SIZE];

    static Snapshot take() {
        Snapshot s{::game_time, ::folk, ::food, ::wood, ::explored, ::moves, current_message(), {}};
        std::memcpy(s.cells, board, sizeof board);
        return s;
    }
    bool same_board(const Snapshot& other) const { return std::memcmp(cells, other.cells, sizeof cells) == 0; }
    bool operator==(const Snapshot& o) const {
        return game_time == o.game_time && folk == o.folk && food == o.food && wood == o.wood &&
               explored == o.explored && moves == o.moves && message == o.message && same_board(o);
    }
};

// A running game on an empty, fully hidden board with the given resources and time.
void set_up(int32_t time, int32_t f, int32_t fd, int32_t w) {
    std::memset(board, 0, sizeof board);
    game_time = time;
    folk = f;
    food = fd;
    wood = w;
    explored = 0;
    moves = 0;
    set_message("");
}

// An explored tile at (col, row).
void put_tile(int col, int row, int32_t kind, int32_t uses) {
    Cell& cell = board[row][col];
    if (!cell.seen) explored += 1;
    cell = Cell{kind, uses, 1};
}

int count_kind(int32_t kind) {
    int n = 0;
    for (auto& row : board)
        for (const Cell& cell : row) n += cell.kind == kind;
    return n;
}

TEST(KelvadoNewGame, BoardHasFiveOfEachTileAllHidden) {
    for (unsigned seed : {1u, 2u, 77u, 2026u, 123456789u}) {
        srandom(seed);
        std::memset(board, 0xff, sizeof board);  // a used board full of junk
        init_board();
        EXPECT_EQ(count_kind(EMPTY), 80) << "seed " << seed;
        for (int32_t kind : {MOUNTAIN, FOREST, LAKE, VILLAGE}) EXPECT_EQ(count_kind(kind), 5) << "seed " << seed;
        for (auto& row : board) {
            for (const Cell& cell : row) {
                EXPECT_EQ(cell.seen, 0);
                const int32_t uses = cell.kind == EMPTY ? 0 : cell.kind == MOUNTAIN ? 3 : 2;
                EXPECT_EQ(cell.uses, uses) << "kind " << cell.kind;
            }
        }
    }
}

TEST(KelvadoNewGame, BoardsDifferWithTheSeedAndRepeatWithIt) {
    srandom(5);
    init_board();
    Snapshot first = Snapshot::take();
    srandom(6);
    init_board();
    EXPECT_FALSE(first.same_board(Snapshot::take()));
    srandom(5);
    init_board();
    EXPECT_TRUE(first.same_board(Snapshot::take()));
}

TEST(KelvadoNewGame, StartValuesAndResourceSpread) {
    std::array<int, 7> seen_values{};
    srandom(42);
    set_message("Need food and wood.");
    for (int game = 0; game < 3000; game++) {
        game_time = 3;
        explored = 17;
        moves = 9;
        init_game();
        ASSERT_EQ(game_time, 25);
        ASSERT_EQ(explored, 0);
        ASSERT_EQ(moves, 0);
        for (int32_t resource : {folk, food, wood}) {
            ASSERT_GE(resource, 3);
            ASSERT_LE(resource, 6);
            seen_values[resource]++;
        }
    }
    // Each of 3, 4 and 5 has a chance of one third; 6 comes from 2 values in 2^31.
    for (int value : {3, 4, 5}) {
        EXPECT_GT(seen_values[value], 2700) << value;
        EXPECT_LT(seen_values[value], 3300) << value;
    }
    EXPECT_EQ(current_message(), "") << "a new game starts with no message";
}

TEST(KelvadoNewGame, AddRandomFillsOnlyEmptyCellsAndKeepsSeen) {
    srandom(9);
    std::memset(board, 0, sizeof board);
    for (int i = 0; i < BOARD_CELLS; i += 2) board[i / 10][i % 10] = Cell{RUBBLE, 0, 1};  // half taken
    board[0][1].seen = 1;
    add_random(50, VILLAGE, 7);  // exactly the free half
    for (int i = 0; i < BOARD_CELLS; i++) {
        const Cell& cell = board[i / 10][i % 10];
        if (i % 2 == 0) {
            EXPECT_EQ(cell.kind, RUBBLE) << i;
        } else {
            EXPECT_EQ(cell.kind, VILLAGE) << i;
            EXPECT_EQ(cell.uses, 7) << i;
        }
    }
    EXPECT_EQ(board[0][1].seen, 1);
    EXPECT_EQ(board[0][3].seen, 0);
}

TEST(KelvadoExplore, CostsOneTimeUnitAndKeepsTheMessage) {
    set_up(25, 3, 3, 3);
    board[4][7] = Cell{FOREST, 2, 0};
    set_message("Need people and food.");
    ASSERT_TRUE(click_cell(7, 4));
    EXPECT_EQ(board[4][7].seen, 1);
    EXPECT_EQ(board[4][7].uses, 2);  // finding a tile does not use it
    EXPECT_EQ(board[4][7].kind, FOREST);
    EXPECT_EQ(explored, 1);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(game_time, 24);
    EXPECT_EQ(wood, 3);
    EXPECT_EQ(current_message(), "Need people and food.");

    ASSERT_TRUE(click_cell(0, 9));  // an empty cell counts as well
    EXPECT_EQ(board[9][0].seen, 1);
    EXPECT_EQ(explored, 2);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(game_time, 23);
}

struct ActionCase {
    int32_t kind;
    int32_t uses;
    std::array<int32_t, 3> change;  // folk, food, wood after a use from 2, 2, 2
    int32_t time_change;
    std::array<bool, 3> needs;      // folk, food, wood
    const char* refusal;
};
constexpr ActionCase ACTION_CASES[] = {
    {MOUNTAIN, 3, {-1, -1, -1}, +10, {true, true, true}, "Need one of everything."},
    {FOREST, 2, {-1, -1, +3}, -1, {true, true, false}, "Need people and food."},
    {LAKE, 2, {-1, +3, -1}, -1, {true, false, true}, "Need people and wood."},
    {VILLAGE, 2, {+3, -1, -1}, -1, {false, true, true}, "Need food and wood."},
};

TEST(KelvadoTiles, EachActionPaysGainsAndTakesTime) {
    for (const ActionCase& c : ACTION_CASES) {
        set_up(10, 2, 2, 2);
        put_tile(3, 5, c.kind, c.uses);
        set_message("Nothing to do there.");
        ASSERT_TRUE(click_cell(3, 5));
        EXPECT_EQ(folk, 2 + c.change[0]) << c.kind;
        EXPECT_EQ(food, 2 + c.change[1]) << c.kind;
        EXPECT_EQ(wood, 2 + c.change[2]) << c.kind;
        EXPECT_EQ(game_time, 10 + c.time_change) << c.kind;
        EXPECT_EQ(moves, 1) << c.kind;
        EXPECT_EQ(explored, 1) << c.kind;
        EXPECT_EQ(board[5][3].uses, c.uses - 1) << c.kind;
        EXPECT_EQ(board[5][3].kind, c.kind) << c.kind;
        EXPECT_EQ(current_message(), "") << c.kind;  // a use clears the message
    }
}

TEST(KelvadoTiles, MissingResourceOnlySetsTheRefusal) {
    for (const ActionCase& c : ACTION_CASES) {
        for (int missing = 0; missing < 3; missing++) {
            set_up(10, 2, 2, 2);
            int32_t* resource[3] = {&folk, &food, &wood};
            *resource[missing] = 0;
            put_tile(6, 6, c.kind, c.uses);
            const Snapshot before = Snapshot::take();
            ASSERT_TRUE(click_cell(6, 6));
            if (c.needs[missing]) {
                EXPECT_EQ(current_message(), c.refusal) << c.kind << " without " << missing;
                Snapshot after = Snapshot::take();
                after.message = before.message;
                EXPECT_TRUE(after == before) << c.kind << " without " << missing;
            } else {  // a resource the action does not pay may be 0
                EXPECT_EQ(current_message(), "") << c.kind << " without " << missing;
                EXPECT_EQ(moves, 1) << c.kind << " without " << missing;
            }
        }
    }
}

TEST(KelvadoTiles, LastUseLeavesRubbleWhichDoesNothing) {
    for (const ActionCase& c : ACTION_CASES) {
        set_up(40, 9, 9, 9);
        put_tile(0, 0, c.kind, c.uses);
        for (int use = 1; use <= c.uses; use++) {
            ASSERT_TRUE(click_cell(0, 0));
            EXPECT_EQ(board[0][0].kind, use == c.uses ? RUBBLE : c.kind) << c.kind << " use " << use;
        }
        EXPECT_EQ(moves, c.uses);
        const Snapshot before = Snapshot::take();
        ASSERT_TRUE(click_cell(0, 0));
        EXPECT_EQ(current_message(), "Nothing to do there.");
        Snapshot after = Snapshot::take();
        after.message = before.message;
        EXPECT_TRUE(after == before) << "a move on rubble changed the game";
    }
}

TEST(KelvadoTiles, ExploredEmptyCellDoesNothing) {
    set_up(7, 1, 1, 1);
    put_tile(9, 9, EMPTY, 0);
    const Snapshot before = Snapshot::take();
    ASSERT_TRUE(click_cell(9, 9));
    EXPECT_EQ(current_message(), "Nothing to do there.");
    Snapshot after = Snapshot::take();
    after.message = before.message;
    EXPECT_TRUE(after == before);
}

TEST(KelvadoTiles, ACellOffTheBoardIsNoMove) {
    set_up(7, 1, 1, 1);
    const Snapshot before = Snapshot::take();
    for (auto [col, row] : {std::pair{-1, 0}, {0, -1}, {BOARD_SIZE, 0}, {0, BOARD_SIZE}, {-1, BOARD_SIZE}})
        EXPECT_FALSE(click_cell(col, row)) << col << ", " << row;
    EXPECT_TRUE(Snapshot::take() == before);
}

TEST(KelvadoTiles, MountainAddsTenAtTheLastTimeUnit) {
    set_up(1, 1, 1, 1);
    put_tile(2, 8, MOUNTAIN, 3);
    ASSERT_TRUE(click_cell(2, 8));
    EXPECT_EQ(game_time, 11);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(folk + food + wood, 0);
    ASSERT_TRUE(click_cell(2, 8));
    EXPECT_EQ(current_message(), "Need one of everything.");
    EXPECT_EQ(game_time, 11);
}

// All but one cell explored, with the given time left.
void set_up_last_cell(int32_t time) {
    set_up(time, 3, 3, 3);
    for (int i = 0; i < BOARD_CELLS - 1; i++) put_tile(i % 10, i / 10, EMPTY, 0);
    ASSERT_EQ(explored, 99);
}

TEST(KelvadoEnd, VictoryTakesPrecedenceOverTimeZero) {
    set_up_last_cell(1);
    EXPECT_TRUE(game_running());
    ASSERT_TRUE(click_cell(9, 9));
    EXPECT_EQ(explored, 100);
    EXPECT_EQ(game_time, 0);
    EXPECT_TRUE(game_won());
    EXPECT_FALSE(game_lost());
    EXPECT_FALSE(game_running());
}

TEST(KelvadoEnd, LastTimeUnitOnAnotherCellLoses) {
    set_up(1, 3, 3, 3);
    ASSERT_TRUE(click_cell(4, 4));
    EXPECT_EQ(game_time, 0);
    EXPECT_TRUE(game_lost());
    EXPECT_FALSE(game_won());
    EXPECT_FALSE(game_running());
}

TEST(KelvadoEnd, MovesAreIgnoredOnceWonOrLost) {
    set_up_last_cell(5);
    ASSERT_TRUE(click_cell(9, 9));  // won with time to spare
    put_tile(0, 0, MOUNTAIN, 3);
    set_message("Need one of everything.");
    Snapshot won = Snapshot::take();
    for (int i = 0; i < BOARD_CELLS; i++) EXPECT_FALSE(click_cell(i % 10, i / 10));
    EXPECT_TRUE(Snapshot::take() == won);

    set_up(1, 3, 3, 3);
    ASSERT_TRUE(click_cell(0, 0));  // lost
    board[5][5] = Cell{MOUNTAIN, 3, 1};
    Snapshot lost = Snapshot::take();
    for (int i = 0; i < BOARD_CELLS; i++) EXPECT_FALSE(click_cell(i % 10, i / 10));
    EXPECT_TRUE(Snapshot::take() == lost) << "a mountain must not revive a lost game";
}

TEST(KelvadoEnd, ANewGameStartsWithNoMessage) {
    set_up(5, 0, 0, 0);
    put_tile(1, 1, LAKE, 2);
    ASSERT_TRUE(click_cell(1, 1));
    ASSERT_EQ(current_message(), "Need people and wood.");
    srandom(3);
    init_game();
    init_board();
    EXPECT_EQ(current_message(), "") << "the last game's refusal is not shown over the new board";
    EXPECT_TRUE(game_running());
}

// The invariants that hold after every move, and how one move may change the state.
void check_move(const Snapshot& before, bool taken) {
    int seen = 0;
    for (int row = 0; row < BOARD_SIZE; row++) {
        for (int col = 0; col < BOARD_SIZE; col++) {
            const Cell& now = board[row][col];
            const Cell& was = before.cells[row][col];
            seen += now.seen;
            ASSERT_GE(now.seen, was.seen) << "a cell was hidden again";
            ASSERT_LE(now.uses, was.uses) << "uses went up";
            ASSERT_GE(now.kind, EMPTY);
            ASSERT_LE(now.kind, RUBBLE);
            if (now.kind != was.kind) {
                ASSERT_EQ(now.kind, RUBBLE) << "a tile changed into another";
            }
            if (now.kind >= MOUNTAIN && now.kind <= VILLAGE) {
                ASSERT_GE(now.uses, 1);
            }
        }
    }
    ASSERT_EQ(explored, seen);
    ASSERT_LE(explored, BOARD_CELLS);
    ASSERT_GE(folk, 0);
    ASSERT_GE(food, 0);
    ASSERT_GE(wood, 0);
    ASSERT_GE(game_time, 0);
    ASSERT_EQ(taken, before.game_time > 0 && before.explored < BOARD_CELLS);
    if (!taken) {
        ASSERT_TRUE(Snapshot::take() == before) << "an ignored move changed the game";
        return;
    }
    const int32_t time_change = game_time - before.game_time;
    ASSERT_TRUE(time_change == -1 || time_change == 0 || time_change == 10) << time_change;
    ASSERT_EQ(moves - before.moves, time_change == 0 ? 0 : 1) << "only a counted move takes time";
    ASSERT_LE(explored - before.explored, 1);
}

// A player that mostly plays sensibly (so that games are won as well as lost) and sometimes at
// random, so that refusals, rubble and ignored moves all happen.
void pick_cell(int& col, int& row) {
    const long roll = random() % 4;
    if (roll == 0) {
        col = static_cast<int>(random() % 10);
        row = static_cast<int>(random() % 10);
        return;
    }
    int hidden = -1;
    for (int i = 0; i < BOARD_CELLS; i++) {
        const Cell& cell = board[i / 10][i % 10];
        const bool mountain = cell.seen && cell.kind == MOUNTAIN && folk && food && wood;
        const bool producer = cell.seen && ((cell.kind == FOREST && wood == 0) ||
                                            (cell.kind == LAKE && food == 0) ||
                                            (cell.kind == VILLAGE && folk == 0));
        if ((mountain && game_time < 5) || (producer && roll == 1)) {
            col = i % 10;
            row = i / 10;
            return;
        }
        if (!cell.seen && hidden < 0) hidden = i;
    }
    if (hidden < 0) hidden = static_cast<int>(random() % BOARD_CELLS);
    col = hidden % 10;
    row = hidden / 10;
}

TEST(KelvadoRandomPlay, InvariantsHoldOverAHundredThousandMoves) {
    srandom(20261207);
    init_game();
    set_message("");
    init_board();
    int won = 0, lost = 0, refusals = 0;
    for (int move = 0; move < 100000; move++) {
        if (!game_running()) {
            won += game_won();
            lost += game_lost();
            if (random() % 8 != 0) {  // now and then a move on a finished game
                init_game();
                init_board();
            }
        }
        int col, row;
        pick_cell(col, row);
        const Snapshot before = Snapshot::take();
        const bool taken = click_cell(col, row);
        check_move(before, taken);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "at move " << move << " on cell " << col << ", " << row;
            return;
        }
        refusals += current_message().rfind("Need", 0) == 0;
    }
    EXPECT_GT(won, 10);
    EXPECT_GT(lost, 10);
    EXPECT_GT(refusals, 100);
}

}  // namespace
