// board.cpp: the exploration game's window, its pictures and drawing, the HUD, clicks and main.
#include <iterator>

#include "games/kelvado/geometry.h"
#include "games/kelvado/rules.h"
#include "games/common/controls.h"
#include "games/common/pictures.h"
#include "games/common/play.h"
#include "games/common/shapes.h"
#include "runtime/runtime.h"
#include "wex/wex.h"

using namespace kelvado;
using namespace shapes;

Widget top, canvas;
Widget time_mark, folk_mark, food_mark, wood_mark, explored_mark, moves_mark;
Widget cmd_new, cmd_quit;

namespace {

// Every colour the game draws with.
enum Colour { BLACK, GRID_GREY, MESSAGE_YELLOW, ROCK, BARK, LEAVES, SHALLOWS, WATER, CHALK, ROOF };
constexpr const char* PALETTE[] = {
    "black", "#cccccc", "yellow", "lightgray", "brown", "green", "cyan", "blue", "white", "red",
};
static_assert(std::size(PALETTE) == ROOF + 1, "one colour text per colour");

// A stepped peak, 8 px wide at the top and 32 px at the base.
constexpr Stroke MOUNTAIN_PICTURE[] = {
    {BOX, ROCK, 0, 0, 8, 4, FILLED},
    {BOX, ROCK, 0, -12, 4, 4, FILLED},
    {BOX, ROCK, 0, -6, 6, 4, FILLED},
    {BOX, ROCK, 0, 6, 12, 4, FILLED},
    {BOX, ROCK, 0, 12, 16, 4, FILLED},
};
// A trunk under a round crown.
constexpr Stroke FOREST_PICTURE[] = {
    {BOX, BARK, 0, 12, 6, 12, FILLED},
    {ELLIPSE, LEAVES, 0, -6, 12, 12, FILLED},
};
constexpr Stroke LAKE_PICTURE[] = {
    {ELLIPSE, SHALLOWS, 0, 8, 25, 12, FILLED},
    {ELLIPSE, WATER, 0, 12, 16, 6, FILLED},
};
// A white wall under three red roofs.
constexpr Stroke VILLAGE_PICTURE[] = {
    {BOX, CHALK, 0, 12, 12, 6, FILLED},
    {BOX, ROOF, 0, 6, 16, 6, FILLED},
    {BOX, ROOF, 0, -6, 12, 6, FILLED},
    {BOX, ROOF, 0, -12, 8, 6, FILLED},
};
constexpr Stroke RUBBLE_PICTURE[] = {
    {ELLIPSE, BARK, 12, 12, 12, 8, FILLED},
    {ELLIPSE, BARK, -12, 6, 8, 6, FILLED},
    {ELLIPSE, BARK, 6, -12, 6, 4, FILLED},
};
// An hourglass, 24 px wide and 32 px high: two diagonals closed by a top and a bottom bar.
constexpr Stroke UNKNOWN_PICTURE[] = {
    {SEGMENT, CHALK, 0, 0, 12, 16, OUTLINE},
    {SEGMENT, CHALK, 0, 0, 12, -16, OUTLINE},
    {SEGMENT, CHALK, 0, -16, 12, 0, OUTLINE},
    {SEGMENT, CHALK, 0, 16, 12, 0, OUTLINE},
};

// The pictures, each drawn around a cell's centre (x, y); they make no text of their own.
void draw_mountain(int x, int y) { draw_picture(MOUNTAIN_PICTURE, PALETTE, x, y); }
void draw_forest(int x, int y) { draw_picture(FOREST_PICTURE, PALETTE, x, y); }
void draw_lake(int x, int y) { draw_picture(LAKE_PICTURE, PALETTE, x, y); }
void draw_village(int x, int y) { draw_picture(VILLAGE_PICTURE, PALETTE, x, y); }
void draw_rubble(int x, int y) { draw_picture(RUBBLE_PICTURE, PALETTE, x, y); }
void draw_unknown(int x, int y) { draw_picture(UNKNOWN_PICTURE, PALETTE, x, y); }

}  // namespace

// A hidden cell shows the hourglass whatever it holds; an explored one the picture of its
// kind, and an explored empty cell stays black.
void draw_board() {
    T4K_FUNCTION(draw_board);
    static constexpr PictureFunction PICTURES[] = {
        nullptr, draw_mountain, draw_forest, draw_lake, draw_village, draw_rubble};
    static_assert(std::size(PICTURES) == RUBBLE + 1, "one entry per kind");
    SQUARE(PALETTE[BLACK], 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, FILLED);
    for (int row = 0; row < BOARD_SIZE; row++)
        for (int col = 0; col < BOARD_SIZE; col++) {
            const Cell& cell = board[row][col];
            if (!cell.seen)
                draw_unknown(GRID.centre_x(col), GRID.centre_y(row));
            else if (cell.kind > EMPTY && cell.kind <= RUBBLE)
                PICTURES[cell.kind](GRID.centre_x(col), GRID.centre_y(row));
        }
}

void draw_grid() {
    T4K_FUNCTION(draw_grid);
    draw_grid_lines(GRID, PALETTE[GRID_GREY]);
}

// The end of the game in large letters, else the last message of the rules.
void draw_messages() {
    T4K_FUNCTION(draw_messages);
    const char* text;
    if (game_won())
        text = "<span font='50px'><b>VICTORY!</b></span>";
    else if (game_lost())
        text = "<span font='50px'><b>GAME OVER</b></span>";
    else
        text = __t4k__concat("<span font='25px'><b>", message$, "</b></span>", nullptr);
    OUT(text, PALETTE[MESSAGE_YELLOW], "", MESSAGE_X, MESSAGE_Y);
}

void update_hud() {
    T4K_FUNCTION(update_hud);
    show_number(time_mark, game_time);
    show_number(folk_mark, folk);
    show_number(food_mark, food);
    show_number(wood_mark, wood);
    show_number(explored_mark, explored, "%");
    show_number(moves_mark, moves);
}

// A click's (or Space's) move on a cell of the board: on a finished game it changes and redraws
// nothing.
void play_cell(int col, int row) {
    T4K_FUNCTION(play_cell);
    if (!game_running()) return;
    click_cell(col, row);
    redraw();
}

// The canvas's button-press handler.  A click outside the grid changes and redraws nothing but
// the cursor.  It returns 0 so that GTK goes on to the other handlers of the press.
int handle_move() {
    T4K_FUNCTION(handle_move);
    const int col = GRID.col_at(MOUSE(0)), row = GRID.row_at(MOUSE(1));
    click_hides_cursor(col, row);
    if (GRID.contains(col, row)) play_cell(col, row);
    return 0;
}

// The cursor in magenta, which no picture of the game uses.
extern const Keyboard KEYBOARD{"Kelvado", &top, &canvas, GRID, "#ff00ff", false};

namespace {

// The labels and buttons of the two side columns, in the order they are made.
const Control CONTROLS[] = {
    label("<b>TIME</b>", LEFT_COLUMN_X, 10),
    label("<b>FOLK</b>", LEFT_COLUMN_X, 70),
    label("<b>FOOD</b>", LEFT_COLUMN_X, 130),
    label("<b>WOOD</b>", LEFT_COLUMN_X, 190),
    label("<b>25</b>", LEFT_COLUMN_X, 40, &time_mark),
    label("<b>4</b>", LEFT_COLUMN_X, 100, &folk_mark),  // the first deal shows the drawn values
    label("<b>4</b>", LEFT_COLUMN_X, 160, &food_mark),
    label("<b>4</b>", LEFT_COLUMN_X, 220, &wood_mark),
    label("<b>Explored</b>", RIGHT_COLUMN_X, 10),
    label("<b>Moves</b>", RIGHT_COLUMN_X, 70),
    label("<b>0%</b>", RIGHT_COLUMN_X, 40, &explored_mark),
    label("<b>0</b>", RIGHT_COLUMN_X, 100, &moves_mark),
    button("gtk-new", RIGHT_COLUMN_X, 520, new_game, &cmd_new),
    button("gtk-quit", RIGHT_COLUMN_X, 560, QUIT, &cmd_quit),
};

}  // namespace

void build_window() {
    T4K_FUNCTION(build_window);
    top = WINDOW("Kelvado", WINDOW_WIDTH, WINDOW_HEIGHT);
    canvas = CANVAS(CANVAS_WIDTH, CANVAS_HEIGHT);
    ATTACH(top, canvas, CANVAS_X, 0);
    CALLBACK(canvas, handle_move);
    place_controls(top, CONTROLS, CONTROL_WIDTH, CONTROL_HEIGHT);
}

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    run_game();
}
