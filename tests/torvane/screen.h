// screen.h: torvane as the screen shows it: where things are, the board read from the canvas,
// the gauges' sliders, and what one click may do to the robots.
#pragma once
#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <utility>

#include "tests/support/x11_session.h"

namespace torvane_screen {

using e2e::Image;
using e2e::Rgb;

// Where the window puts things, in window pixels.
constexpr int CANVAS_X = 120, CANVAS_SIZE = 720, CELL = 30, CELLS = 24;
constexpr int LEFT_X = 12, RIGHT_X = 852, CONTROL_W = 96, CONTROL_H = 36;
constexpr int GAUGE_Y = 156, GAUGE_H = 432;
constexpr int SCORE_Y = 60, LEVEL_Y = 60, RECORD_Y = 672, NEW_Y = 624, QUIT_Y = 672;

// What a cell's centre pixel shows: each picture has its own colour there.
enum Tile { FREE, TREE, MINE, BATTERY, CRATER, ROBOT, OTHER };
inline const std::pair<Rgb, Tile> CENTRE_COLOURS[] = {
    {{0, 0, 0}, FREE},        {{0, 128, 0}, TREE},     {{255, 0, 0}, MINE},
    {{0, 255, 255}, BATTERY}, {{128, 0, 0}, CRATER},   {{128, 128, 128}, ROBOT},
};
constexpr Rgb GAME_OVER_GOLD{255, 204, 0};
constexpr Rgb LEVEL_YELLOW{255, 255, 0};
constexpr Rgb GRID{204, 204, 204};

using Cell = std::pair<int, int>;  // (col, row)

struct Board {
    std::array<std::array<Tile, CELLS>, CELLS> tile{};  // tile[row][col]
    int count(Tile t) const {
        int n = 0;
        for (auto& row : tile) n += static_cast<int>(std::count(row.begin(), row.end(), t));
        return n;
    }
    std::set<Cell> cells(Tile t) const {
        std::set<Cell> s;
        for (int r = 0; r < CELLS; r++)
            for (int c = 0; c < CELLS; c++)
                if (tile[r][c] == t) s.insert({c, r});
        return s;
    }
    Tile at(Cell c) const { return tile[c.second][c.first]; }
};

// `canvas` is the canvas alone; the overlay texts lie above the cells' centres.
inline Board classify(const Image& canvas) {
    Board b;
    for (int r = 0; r < CELLS; r++)
        for (int c = 0; c < CELLS; c++) {
            Rgb px = canvas.at(CELL / 2 + CELL * c, CELL / 2 + CELL * r);
            b.tile[r][c] = OTHER;
            for (auto& [colour, tile] : CENTRE_COLOURS)
                if (px == colour) b.tile[r][c] = tile;
        }
    return b;
}

// The overlay texts, drawn from (30, 30) of the canvas.
inline bool shows_game_over(const Image& canvas) { return canvas.count(GAME_OVER_GOLD, 30, 30, 400, 70) > 200; }
inline bool shows_level_complete(const Image& canvas) { return canvas.count(LEVEL_YELLOW, 30, 30, 500, 70) > 200; }

/* Where a gauge's slider stands, as a fraction of the gauge's height from its top: the row of
   the slider's white top edge in the gauge's middle column, below the value drawn above the
   trough (the trough's top edge is grey, its bottom edge white but always below the slider). */
inline double knob_position(const Image& gauge) {
    constexpr int FIRST_ROW = 16;
    for (int y = FIRST_ROW; y < gauge.height; y++)
        if (gauge.at(gauge.width / 2, y) == e2e::WHITE) return static_cast<double>(y) / gauge.height;
    return -1;
}

inline int sign(int v) { return (v > 0) - (v < 0); }
inline Cell step_towards(Cell from, Cell target) {
    return {from.first + sign(target.first - from.first), from.second + sign(target.second - from.second)};
}
inline int distance(Cell a, Cell b) { return std::max(std::abs(a.first - b.first), std::abs(a.second - b.second)); }

struct ClickOutcome {
    int sure_steps = 0;   // robots seen on the cell that nothing kept them from
    std::string problem;  // "" when the robots did what the rules allow
};

/* Checks one click's robot moves as the screen shows them.  Robot indices are not visible,
   so the check is on cells: every robot cell after the click was a robot cell before or the
   step of one towards the target; trees stay; a robot whose step leads onto a tree stays; and a
   robot whose step leads onto a cell that nothing blocks and no other robot steps to is seen
   there (or, on a mine, leaves a crater).  A cell that reads OTHER (under an overlay text) may
   hold anything. */
inline ClickOutcome check_click(const Board& before, const Board& after, Cell target) {
    ClickOutcome out;
    const auto name = [](Cell c) { return "(" + std::to_string(c.first) + ", " + std::to_string(c.second) + ")"; };
    std::set<Cell> robots = before.cells(ROBOT);
    std::set<Cell> steps;
    std::multiset<Cell> all_steps;
    for (Cell r : robots)
        if (r != target) all_steps.insert(step_towards(r, target));
    for (Cell r : robots) steps.insert(r == target ? r : step_towards(r, target));
    for (Cell hidden : before.cells(OTHER)) steps.insert({hidden, step_towards(hidden, target)});
    for (int r = 0; r < CELLS; r++)
        for (int c = 0; c < CELLS; c++)
            if ((before.tile[r][c] == TREE) != (after.tile[r][c] == TREE) && before.tile[r][c] != OTHER &&
                after.tile[r][c] != OTHER)
                return {0, "the trees changed at " + name({c, r})};
    for (Cell a : after.cells(ROBOT))
        if (!robots.count(a) && !steps.count(a)) return {0, "a robot appeared on " + name(a)};
    for (Cell r : robots) {
        if (r == target) {
            if (after.at(r) != ROBOT && after.at(r) != OTHER) return {0, "the robot on the target " + name(r) + " left it"};
            continue;
        }
        Cell next = step_towards(r, target);
        Tile t = before.at(next);
        if (t == TREE) {
            if (after.at(r) != ROBOT && after.at(r) != OTHER)
                return {0, "a tree blocks the robot on " + name(r) + ", which left"};
            continue;
        }
        if (all_steps.count(next) != 1 || robots.count(next) || after.at(next) == OTHER) continue;
        // Two robots may be dealt on one cell (a deal does not look at the robots): the second
        // then follows the first onto the crater it left.
        if (t == MINE && after.at(next) != CRATER && after.at(next) != ROBOT)
            return {0, "the robot from " + name(r) + " stepped on a mine at " + name(next) + ", and no crater shows"};
        if ((t == FREE || t == BATTERY || t == CRATER) && after.at(next) != ROBOT)
            return {0, "the robot from " + name(r) + " did not step to " + name(next)};
        out.sure_steps += t != MINE;
    }
    return out;
}

// The target among some edge cells that lets the most robots step onto a safe cell.  None of
// them lies on the diagonal, so a click read with column and row swapped moves robots elsewhere.
inline Cell busiest_target(const Board& b) {
    const Cell candidates[] = {{23, 0}, {0, 23}, {12, 0}, {12, 23}, {0, 12}, {23, 12}, {5, 0}, {0, 5}};
    std::set<Cell> robots = b.cells(ROBOT);
    Cell best = candidates[0];
    int most = -1;
    for (Cell t : candidates) {
        int n = 0;
        for (Cell r : robots) {
            if (r == t) continue;
            Tile next = b.at(step_towards(r, t));
            n += next == FREE || next == BATTERY || next == CRATER;
        }
        if (n > most) most = n, best = t;
    }
    return best;
}

}  // namespace torvane_screen
