// plimsy_bench.cpp: the column-clearing game's flood fill and settling on worst-case boards.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/ratio_reporter.h"
#include "games/plimsy/rules.h"

using namespace plimsy;

namespace {

void fill_board(Kind kind) {
    for (auto& line : board)
        for (Cell& cell : line) cell = {kind, 0};
    sel_size = sel_type = 0;
    last_column = COLUMNS - 1;
    robots_left = kind == ROBOT ? CELLS : 0;
}

// Baseline: one plain pass over the 160 cells, the least any fill or settling must do.
void BM_BaselineScanBoard(benchmark::State& state) {
    fill_board(ROBOT);
    for (auto _ : state) {
        int same = 0;
        for (auto& line : board)
            for (const Cell& cell : line) same += cell.kind == ROBOT;
        benchmark::DoNotOptimize(same);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BaselineScanBoard);

// Baseline: copying the whole board once.
void BM_BaselineCopyBoard(benchmark::State& state) {
    fill_board(ROBOT);
    Cell copy[ROWS][COLUMNS];
    for (auto _ : state) {
        std::memcpy(copy, board, sizeof board);
        benchmark::DoNotOptimize(copy);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BaselineCopyBoard);

// The deepest fill: every cell of one kind, 160 nested calls.
void BM_FloodFillWholeBoard(benchmark::State& state) {
    fill_board(ROBOT);
    for (auto _ : state) {
        clear_selection();
        select_from(0, 0);
        benchmark::DoNotOptimize(sel_size);
    }
}
BENCHMARK(BM_FloodFillWholeBoard);

// Each iteration below starts by copying in a prepared board, which costs what
// BM_BaselineCopyBoard measures (pausing the timer would cost far more).

// Selecting and removing the whole board: the fill, the removal, the fall passes and
// fifteen column-closing passes.
void BM_ClickTwiceWholeBoard(benchmark::State& state) {
    fill_board(ROBOT);
    Cell start[ROWS][COLUMNS];
    std::memcpy(start, board, sizeof board);
    for (auto _ : state) {
        std::memcpy(board, start, sizeof board);
        last_column = COLUMNS - 1;
        click_cell(0, 9);
        click_cell(0, 9);
        benchmark::DoNotOptimize(last_column);
    }
}
BENCHMARK(BM_ClickTwiceWholeBoard);

// The longest fall: the bottom row goes and the 144 pieces above drop one row each.
void BM_SettleBottomRowRemoved(benchmark::State& state) {
    fill_board(FLOWER);
    for (int col = 0; col < COLUMNS; col++) board[ROWS - 1][col] = {BEE, 1};
    Cell start[ROWS][COLUMNS];
    std::memcpy(start, board, sizeof board);
    for (auto _ : state) {
        std::memcpy(board, start, sizeof board);
        sel_size = COLUMNS;
        sel_type = BEE;
        make_move();
        benchmark::DoNotOptimize(board);
    }
}
BENCHMARK(BM_SettleBottomRowRemoved);

}  // namespace

// Each worst case as a time and against one plain pass over the board.
int main(int argc, char** argv) {
    using bench::Clock;
    bench::RatioReporter reporter(
        {
            {"plimsy-flood-fill", "BM_FloodFillWholeBoard", "BM_BaselineScanBoard", false},
            {"plimsy-select-remove-settle", "BM_ClickTwiceWholeBoard", "BM_BaselineScanBoard", false},
        },
        {
            {"plimsy-flood-fill-time", "BM_FloodFillWholeBoard", "", "", 1e6, "us", Clock::cpu},
            {"plimsy-select-remove-settle-time", "BM_ClickTwiceWholeBoard", "", "", 1e6, "us", Clock::cpu},
        });
    return bench::run_with_ratios(argc, argv, reporter);
}
