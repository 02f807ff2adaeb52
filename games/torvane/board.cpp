// board.cpp: the robot game's window, its pictures and drawing, the HUD, clicks and main.
#include <algorithm>
#include <iterator>

#include "games/common/controls.h"
#include "games/common/pictures.h"
#include "games/common/play.h"
#include "games/common/shapes.h"
#include "games/torvane/geometry.h"
#include "games/torvane/rules.h"
#include "runtime/runtime.h"
#include "wex/wex.h"

using namespace torvane;
using namespace shapes;

Widget top, canvas;
Widget score_mark, level_mark, record_mark;
Widget energy_gauge, battery_gauge;
Widget cmd_new, cmd_quit;

// The robot game's names for the shapes given by centre and half-sizes.
constexpr Shape center_circle = ELLIPSE;
constexpr Shape center_square = BOX;

namespace {

// Every colour the game draws with.
enum Colour { BLACK, GRID_GREY, TRUNK, CROWN, RED, CYAN, ROBOT_GREY, GAME_OVER_GOLD, LEVEL_YELLOW };
constexpr const char* PALETTE[] = {
    "#000000", "#cccccc", "#800000", "#008000", "#ff0000", "#00ffff", "#808080", "#ffcc00", "#ffff00",
};
static_assert(std::size(PALETTE) == LEVEL_YELLOW + 1, "one colour text per colour");

// A trunk under a round crown.
constexpr Stroke TREE_PICTURE[] = {
    {center_square, TRUNK, 0, 7, 3, 7, FILLED},
    {center_circle, CROWN, 0, -3, 7, 7, FILLED},
};
// A red disc with a black rim on a red cross that spans the cell.
constexpr Stroke MINE_PICTURE[] = {
    {SEGMENT, RED, 0, 0, 15, 0, OUTLINE},
    {SEGMENT, RED, 0, 0, 0, 15, OUTLINE},
    {center_circle, RED, 0, 0, 7, 7, FILLED},
    {center_circle, BLACK, 0, 0, 7, 7, OUTLINE},
};
// The terminal shows 3 pixels to the right of the body, which covers the rest of it.
constexpr Stroke BATTERY_PICTURE[] = {
    {center_square, CYAN, 5, 0, 5, 3, FILLED},
    {center_square, BLACK, 0, 0, 7, 5, OUTLINE},
    {center_square, CYAN, 0, 0, 7, 5, FILLED},
};
constexpr Stroke CRATER_PICTURE[] = {
    {center_circle, TRUNK, 0, 5, 15, 7, FILLED},
    {center_circle, BLACK, 0, 7, 10, 3, FILLED},
};
// Grey body, cyan eyes with black rims, black mouth.
constexpr Stroke ROBOT_PICTURE[] = {
    {center_square, ROBOT_GREY, 0, 0, 7, 10, FILLED},
    {center_square, CYAN, -3, -5, 2, 3, FILLED},
    {center_square, BLACK, -3, -5, 2, 3, OUTLINE},
    {center_square, CYAN, 3, -5, 2, 3, FILLED},
    {center_square, BLACK, 3, -5, 2, 3, OUTLINE},
    {center_circle, BLACK, 0, 5, 5, 3, FILLED},
};

// The pictures, each drawn around a cell's centre (x, y); they make no text of their own.
void draw_tree(int x, int y) { draw_picture(TREE_PICTURE, PALETTE, x, y); }
void draw_mine(int x, int y) { draw_picture(MINE_PICTURE, PALETTE, x, y); }
void draw_battery(int x, int y) { draw_picture(BATTERY_PICTURE, PALETTE, x, y); }
void draw_crater(int x, int y) { draw_picture(CRATER_PICTURE, PALETTE, x, y); }
void draw_robot(int x, int y) { draw_picture(ROBOT_PICTURE, PALETTE, x, y); }

}  // namespace

// The picture of each cell's value (a free cell stays black), then the live robots over them.
void draw_board() {
    T4K_FUNCTION(draw_board);
    static constexpr PictureFunction PICTURES[] = {nullptr, draw_tree, draw_mine, draw_battery, draw_crater};
    static_assert(std::size(PICTURES) == CELL_CRATER + 1, "one entry per cell value");
    SQUARE(PALETTE[BLACK], 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, FILLED);
    for (int row = 0; row < BOARD_SIZE; row++)
        for (int col = 0; col < BOARD_SIZE; col++) {
            const int value = board[row][col];
            if (value > CELL_FREE && value <= CELL_CRATER) PICTURES[value](GRID.centre_x(col), GRID.centre_y(row));
        }
    for (int i = 0; i < ROBOT_COUNT; i++)
        if (robot_alive(i)) draw_robot(GRID.centre_x(robots[i].col), GRID.centre_y(robots[i].row));
}

void draw_grid() {
    T4K_FUNCTION(draw_grid);
    draw_grid_lines(GRID, PALETTE[GRID_GREY]);
}

void draw_messages() {
    T4K_FUNCTION(draw_messages);
    if (game_over())
        OUT("<span font='50px'><b>GAME OVER</b></span>", PALETTE[GAME_OVER_GOLD], "", MESSAGE_X, MESSAGE_Y);
    else if (level_complete == 1)
        OUT("<span font='50px'><b>Level complete</b></span>", PALETTE[LEVEL_YELLOW], "", MESSAGE_X, MESSAGE_Y);
}

void update_hud() {
    T4K_FUNCTION(update_hud);
    RANGE(energy_gauge, 0, std::max(energy, ENERGY_GAUGE_MAXIMUM));  // more energy lifts the top to it
    SET(energy_gauge, energy);
    SET(battery_gauge, batt_count);
    show_number(score_mark, score);
    show_number(level_mark, level);
    show_number(record_mark, high_score);
}

// A click's (or Space's) move: every one counts, even one while the level is complete, and is
// redrawn.
void play_cell(int col, int row) {
    T4K_FUNCTION(play_cell);
    click_cell(col, row);
    redraw();
}

// The canvas's button-press handler.  It returns 0 so that GTK goes on to the other handlers of
// the press.
int handle_move() {
    T4K_FUNCTION(handle_move);
    const int col = GRID.col_at(MOUSE(0)), row = GRID.row_at(MOUSE(1));
    click_hides_cursor(col, row);
    play_cell(col, row);
    return 0;
}

// The cursor in magenta, which no picture of the game uses; it moves diagonally, as the robots.
extern const Keyboard KEYBOARD{"Torvane", &top, &canvas, GRID, "#ff00ff", true};

namespace {

// The labels, gauges and buttons of the two side columns, in the order they are made.
const Control CONTROLS[] = {
    label("<b>SCORE</b>", LEFT_COLUMN_X, control_row(0)),
    label("<b>LEVEL</b>", RIGHT_COLUMN_X, control_row(0)),
    label("<b>RECORD</b>", LEFT_COLUMN_X, control_row(-2)),
    label("<b>0</b>", LEFT_COLUMN_X, control_row(1), &score_mark),
    label("<b>1</b>", RIGHT_COLUMN_X, control_row(1), &level_mark),
    label("<b>0</b>", LEFT_COLUMN_X, control_row(-1), &record_mark),
    label("<b>ENERGY</b>", LEFT_COLUMN_X, control_row(2)),
    label("<b>BATTERIES</b>", RIGHT_COLUMN_X, control_row(2)),
    gauge(LEFT_COLUMN_X, control_row(GAUGE_ROW), GAUGE_HEIGHT, ENERGY_GAUGE_MAXIMUM, &energy, &energy_gauge),
    gauge(RIGHT_COLUMN_X, control_row(GAUGE_ROW), GAUGE_HEIGHT, ITEMS_PER_KIND, &batt_count, &battery_gauge),
    button("gtk-new", RIGHT_COLUMN_X, control_row(-2), new_game, &cmd_new),
    button("gtk-quit", RIGHT_COLUMN_X, control_row(-1), QUIT, &cmd_quit),
};

}  // namespace

// The canvas's click handler is connected after the buttons'.
void build_window() {
    T4K_FUNCTION(build_window);
    top = WINDOW("Torvane", WINDOW_WIDTH, WINDOW_HEIGHT);
    canvas = CANVAS(CANVAS_WIDTH, CANVAS_HEIGHT);
    ATTACH(top, canvas, CANVAS_X, 0);
    place_controls(top, CONTROLS, CONTROL_WIDTH, CONTROL_HEIGHT);
    CALLBACK(canvas, handle_move);
}

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    run_game();
}
