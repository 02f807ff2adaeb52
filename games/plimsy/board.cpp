// board.cpp: the column-clearing game's window, its pictures and drawing, the HUD, clicks and main.
#include <cstdio>
#include <iterator>

#include "games/plimsy/geometry.h"
#include "games/plimsy/rules.h"
#include "games/common/controls.h"
#include "games/common/pictures.h"
#include "games/common/play.h"
#include "games/common/shapes.h"
#include "runtime/runtime.h"
#include "wex/wex.h"

using namespace plimsy;
using namespace shapes;

Widget top, canvas;
Widget score_mark, record_mark;
Widget cmd_new, cmd_quit;

namespace {

// Every colour the game draws with.
enum Colour { BLACK, BLUE, GRID_GREY, ORANGE, ROBOT_GREY, ROBOT_EYE, ROBOT_BLACK, GREEN, RED, YELLOW, CLOUD_GREY, CYAN };
constexpr const char* PALETTE[] = {
    "black", "blue", "#cccccc", "orange", "#808080", "#00ffff", "#000000", "green", "red", "yellow", "gray", "cyan",
};
static_assert(std::size(PALETTE) == CYAN + 1, "one colour text per colour");

// Grey body, cyan eyes with black rims, black mouth.
constexpr Stroke ROBOT_PICTURE[] = {
    {BOX, ROBOT_GREY, 0, 0, 12, 16, FILLED},
    {BOX, ROBOT_EYE, -6, -8, 4, 6, FILLED},
    {BOX, ROBOT_BLACK, -6, -8, 4, 6, OUTLINE},
    {BOX, ROBOT_EYE, 6, -8, 4, 6, FILLED},
    {BOX, ROBOT_BLACK, 6, -8, 4, 6, OUTLINE},
    {ELLIPSE, ROBOT_BLACK, 0, 8, 8, 6, FILLED},
};
// Stem, two leaves, a red bloom with a yellow heart.
constexpr Stroke FLOWER_PICTURE[] = {
    {BOX, GREEN, 0, 0, 4, 16, FILLED},
    {ELLIPSE, GREEN, -12, 4, 8, 4, FILLED},
    {ELLIPSE, GREEN, 12, 4, 8, 4, FILLED},
    {ELLIPSE, RED, 0, -12, 16, 6, FILLED},
    {ELLIPSE, YELLOW, 0, -16, 8, 4, FILLED},
};
// Red shell split by a black stripe, black head with a red rim.
constexpr Stroke LADYBUG_PICTURE[] = {
    {ELLIPSE, RED, 0, 0, 16, 16, FILLED},
    {BOX, BLACK, 0, 0, 4, 25, FILLED},
    {ELLIPSE, BLACK, 0, -12, 8, 4, FILLED},
    {ELLIPSE, RED, 0, -12, 8, 4, OUTLINE},
};
// Three grey puffs and three cyan drops.
constexpr Stroke CLOUD_PICTURE[] = {
    {ELLIPSE, CLOUD_GREY, 0, -12, 16, 8, FILLED},
    {ELLIPSE, CLOUD_GREY, -12, -16, 12, 6, FILLED},
    {ELLIPSE, CLOUD_GREY, 12, -6, 12, 4, FILLED},
    {ELLIPSE, CYAN, -12, 4, 4, 4, FILLED},
    {ELLIPSE, CYAN, 12, 8, 4, 4, FILLED},
    {ELLIPSE, CYAN, 0, 16, 4, 4, FILLED},
};
// Cyan wings, a yellow body with two black stripes.
constexpr Stroke BEE_PICTURE[] = {
    {ELLIPSE, CYAN, -12, -12, 8, 8, FILLED},
    {ELLIPSE, CYAN, 12, -12, 8, 8, FILLED},
    {ELLIPSE, YELLOW, 0, 0, 16, 16, FILLED},
    {ELLIPSE, BLACK, -6, 0, 4, 8, FILLED},
    {ELLIPSE, BLACK, 6, 0, 4, 8, FILLED},
};

// The pictures, each drawn around a cell's centre (x, y); they make no text of their own.
void draw_robot(int x, int y) { draw_picture(ROBOT_PICTURE, PALETTE, x, y); }
void draw_flower(int x, int y) { draw_picture(FLOWER_PICTURE, PALETTE, x, y); }
void draw_ladybug(int x, int y) { draw_picture(LADYBUG_PICTURE, PALETTE, x, y); }
void draw_cloud(int x, int y) { draw_picture(CLOUD_PICTURE, PALETTE, x, y); }
void draw_bee(int x, int y) { draw_picture(BEE_PICTURE, PALETTE, x, y); }

}  // namespace

// A selected cell shows a blue square, which fills the whole cell, behind its piece; an empty
// cell gets no picture.
void draw_board() {
    T4K_FUNCTION(draw_board);
    static constexpr PictureFunction PICTURES[] = {nullptr, draw_robot, draw_flower, draw_ladybug, draw_cloud, draw_bee};
    static_assert(std::size(PICTURES) == BEE + 1, "one entry per kind");
    SQUARE(PALETTE[BLACK], 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, FILLED);
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++) {
            const Cell& cell = board[row][col];
            const int x = GRID.centre_x(col), y = GRID.centre_y(row);
            if (cell.selected) BOX(PALETTE[BLUE], x, y, CELL_PIXELS / 2, CELL_PIXELS / 2, FILLED);
            if (cell.kind > EMPTY && cell.kind <= BEE) PICTURES[cell.kind](x, y);
        }
}

void draw_grid() {
    T4K_FUNCTION(draw_grid);
    draw_grid_lines(GRID, PALETTE[GRID_GREY]);
}

namespace {

// One line of orange 25-pixel bold text; only its glyphs are painted.
void draw_message(const char* text, int y) {
    T4K_FUNCTION(draw_message);
    OUT(__t4k__concat("<span font='25px'><b>", text, "</b></span>", nullptr), PALETTE[ORANGE], "", MESSAGE_X, y);
}

}  // namespace

// The robots left or the win at the top; the selection and its worth, or the end of the
// moves, at the bottom.
void draw_messages() {
    T4K_FUNCTION(draw_messages);
    if (game_won())
        draw_message("YOU WIN!", MESSAGE_Y);
    else
        draw_message(__t4k__concat("Robots left: ", __t4k__str(robots_left), nullptr), MESSAGE_Y);
    if (sel_size > 1) {
        char selected[64];
        const long cells = sel_size, worth = long(sel_size - 1) * (sel_size - 1);
        std::snprintf(selected, sizeof selected, "Selected: %ldx%ld", cells, worth);
        draw_message(selected, SELECTION_Y);
    } else if (!group_left()) {
        draw_message("GAME OVER", SELECTION_Y);  // a selection needs a group: never both
    }
}

void update_hud() {
    T4K_FUNCTION(update_hud);
    show_number(score_mark, score);
    show_number(record_mark, high_score);
}

// A click's (or Space's) move on a cell of the board, redrawn.
void play_cell(int col, int row) {
    T4K_FUNCTION(play_cell);
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

// The cursor in magenta, which stands out on the pieces and on the selection's blue.
extern const Keyboard KEYBOARD{"Plimsy", &top, &canvas, GRID, "#ff00ff", false};

namespace {

// The labels and buttons of the control row, in the order they are made.
const Control CONTROLS[] = {
    label("<b>SCORE:</b>", control_col(0), CONTROL_Y),
    label("<b>RECORD:</b>", control_col(2), CONTROL_Y),
    label("<b>0</b>", control_col(1), CONTROL_Y, &score_mark),
    label("<b>0</b>", control_col(3), CONTROL_Y, &record_mark),
    button("gtk-new", control_col(-2), CONTROL_Y, new_game, &cmd_new),
    button("gtk-quit", control_col(-1), CONTROL_Y, QUIT, &cmd_quit),
};

}  // namespace

void build_window() {
    T4K_FUNCTION(build_window);
    top = WINDOW("Plimsy", WINDOW_WIDTH, WINDOW_HEIGHT);
    canvas = CANVAS(CANVAS_WIDTH, CANVAS_HEIGHT);
    ATTACH(top, canvas, 0, 0);
    CALLBACK(canvas, handle_move);
    place_controls(top, CONTROLS, CONTROL_WIDTH, CONTROL_HEIGHT);
}

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    run_game();
}
