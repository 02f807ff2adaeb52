// board.cpp: the column-clearing game's window, piece pictures, drawing, HUD, and main.
#include <cstdio>
#include <iterator>

#include "games/plimsy/geometry.h"
#include "games/plimsy/rules.h"
#include "games/shapes/shapes.h"
#include "runtime/runtime.h"
#include "wex/wex.h"

using namespace plimsy;

Widget top, screen;
Widget score_mark, record_mark;
Widget cmd_new, cmd_quit;

namespace {

// Every colour the game draws with.
enum Colour { BLACK, BLUE, GRID, ORANGE, ROBOT_GREY, ROBOT_EYE, ROBOT_BLACK, GREEN, RED, YELLOW, CLOUD_GREY, CYAN };
constexpr const char* PALETTE[] = {
    "black", "blue", "#cccccc", "orange", "#808080", "#00ffff", "#000000", "green", "red", "yellow", "gray", "cyan",
};
static_assert(std::size(PALETTE) == CYAN + 1, "one colour text per colour");

/* A picture is a list of filled or outlined boxes and ellipses drawn in order; each is
   given by the offset of its centre from the cell's centre and by its half-sizes. */
enum ShapeKind { BOX_SHAPE, ELLIPSE_SHAPE };
struct Shape {
    ShapeKind kind;
    Colour colour;
    int dx, dy, hx, hy;
    int fill;
};
constexpr int FILLED = 1, OUTLINE = 0;

// Grey body, cyan eyes with black rims, black mouth.
constexpr Shape ROBOT_PICTURE[] = {
    {BOX_SHAPE, ROBOT_GREY, 0, 0, 12, 16, FILLED},
    {BOX_SHAPE, ROBOT_EYE, -6, -8, 4, 6, FILLED},
    {BOX_SHAPE, ROBOT_BLACK, -6, -8, 4, 6, OUTLINE},
    {BOX_SHAPE, ROBOT_EYE, 6, -8, 4, 6, FILLED},
    {BOX_SHAPE, ROBOT_BLACK, 6, -8, 4, 6, OUTLINE},
    {ELLIPSE_SHAPE, ROBOT_BLACK, 0, 8, 8, 6, FILLED},
};
// Stem, two leaves, a red bloom with a yellow heart.
constexpr Shape FLOWER_PICTURE[] = {
    {BOX_SHAPE, GREEN, 0, 0, 4, 16, FILLED},
    {ELLIPSE_SHAPE, GREEN, -12, 4, 8, 4, FILLED},
    {ELLIPSE_SHAPE, GREEN, 12, 4, 8, 4, FILLED},
    {ELLIPSE_SHAPE, RED, 0, -12, 16, 6, FILLED},
    {ELLIPSE_SHAPE, YELLOW, 0, -16, 8, 4, FILLED},
};
// Red shell split by a black stripe, black head with a red rim.
constexpr Shape LADYBUG_PICTURE[] = {
    {ELLIPSE_SHAPE, RED, 0, 0, 16, 16, FILLED},
    {BOX_SHAPE, BLACK, 0, 0, 4, 25, FILLED},
    {ELLIPSE_SHAPE, BLACK, 0, -12, 8, 4, FILLED},
    {ELLIPSE_SHAPE, RED, 0, -12, 8, 4, OUTLINE},
};
// Three grey puffs and three cyan drops.
constexpr Shape CLOUD_PICTURE[] = {
    {ELLIPSE_SHAPE, CLOUD_GREY, 0, -12, 16, 8, FILLED},
    {ELLIPSE_SHAPE, CLOUD_GREY, -12, -16, 12, 6, FILLED},
    {ELLIPSE_SHAPE, CLOUD_GREY, 12, -6, 12, 4, FILLED},
    {ELLIPSE_SHAPE, CYAN, -12, 4, 4, 4, FILLED},
    {ELLIPSE_SHAPE, CYAN, 12, 8, 4, 4, FILLED},
    {ELLIPSE_SHAPE, CYAN, 0, 16, 4, 4, FILLED},
};
// Cyan wings, a yellow body with two black stripes.
constexpr Shape BEE_PICTURE[] = {
    {ELLIPSE_SHAPE, CYAN, -12, -12, 8, 8, FILLED},
    {ELLIPSE_SHAPE, CYAN, 12, -12, 8, 8, FILLED},
    {ELLIPSE_SHAPE, YELLOW, 0, 0, 16, 16, FILLED},
    {ELLIPSE_SHAPE, BLACK, -6, 0, 4, 8, FILLED},
    {ELLIPSE_SHAPE, BLACK, 6, 0, 4, 8, FILLED},
};

struct Picture {
    const Shape* shapes;
    std::size_t count;
};
template <std::size_t N> constexpr Picture picture(const Shape (&shapes)[N]) { return {shapes, N}; }

// The picture of each piece kind; an empty cell has none.
constexpr Picture PIECE_PICTURES[] = {
    {nullptr, 0},
    picture(ROBOT_PICTURE),
    picture(FLOWER_PICTURE),
    picture(LADYBUG_PICTURE),
    picture(CLOUD_PICTURE),
    picture(BEE_PICTURE),
};
static_assert(std::size(PIECE_PICTURES) == BEE + 1, "one picture per kind");

void draw_piece(int kind, int x, int y) {
    T4K_FUNCTION(draw_piece);
    const Picture p = PIECE_PICTURES[kind];
    for (std::size_t n = 0; n < p.count; n++) {
        const Shape& s = p.shapes[n];
        const char* colour = PALETTE[s.colour];
        switch (s.kind) {
        case BOX_SHAPE: BOX(colour, x + s.dx, y + s.dy, s.hx, s.hy, s.fill); break;
        case ELLIPSE_SHAPE: ELLIPSE(colour, x + s.dx, y + s.dy, s.hx, s.hy, s.fill); break;
        }
    }
}

// The selection square fills the whole cell behind the piece.
void draw_selection(int x, int y) {
    T4K_FUNCTION(draw_selection);
    BOX(PALETTE[BLUE], x, y, CELL_PIXELS / 2, CELL_PIXELS / 2, FILLED);
}

}  // namespace

void draw_board() {
    T4K_FUNCTION(draw_board);
    SQUARE(PALETTE[BLACK], 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, FILLED);
    for (int row = 0; row < ROWS; row++)
        for (int col = 0; col < COLUMNS; col++) {
            const Cell& cell = board[row][col];
            if (cell.selected) draw_selection(cell_centre_x(col), cell_centre_y(row));
            if (cell.kind > EMPTY && cell.kind <= BEE) draw_piece(cell.kind, cell_centre_x(col), cell_centre_y(row));
        }
}

void draw_grid() {
    T4K_FUNCTION(draw_grid);
    for (int x = GRID_LEFT; x <= GRID_RIGHT; x += CELL_PIXELS) LINE(PALETTE[GRID], x, GRID_TOP, x, GRID_BOTTOM);
    for (int y = GRID_TOP; y <= GRID_BOTTOM; y += CELL_PIXELS) LINE(PALETTE[GRID], GRID_LEFT, y, GRID_RIGHT, y);
}

namespace {

// One line of orange 25-pixel bold text; only its glyphs are painted.
void draw_message(const char* text, int x, int y) {
    T4K_FUNCTION(draw_message);
    OUT(__t4k__concat("<span font='25px'><b>", text, "</b></span>", nullptr), PALETTE[ORANGE], "", x, y);
}

}  // namespace

void draw_messages() {
    T4K_FUNCTION(draw_messages);
    constexpr int LEFT = 5, TOP_LINE = 5, BOTTOM_LINE = 570;
    if (game_won())
        draw_message("YOU WIN!", LEFT, TOP_LINE);
    else
        draw_message(__t4k__concat("Robots left: ", __t4k__str(robots_left), nullptr), LEFT, TOP_LINE);
    if (sel_size > 1) {
        char selected[64];
        const long cells = sel_size, worth = long(sel_size - 1) * (sel_size - 1);
        std::snprintf(selected, sizeof selected, "Selected: %ldx%ld", cells, worth);
        draw_message(selected, LEFT, BOTTOM_LINE);
    } else if (!group_left()) {
        draw_message("GAME OVER", LEFT, BOTTOM_LINE);  // a selection needs a group: never both
    }
}

namespace {

void show_number(Widget label, int value) {
    T4K_FUNCTION(show_number);
    TEXT(label, __t4k__concat("<b>", __t4k__str(value), "</b>", nullptr));
}

}  // namespace

void update_hud() {
    T4K_FUNCTION(update_hud);
    show_number(score_mark, score);
    show_number(record_mark, high_score);
}

namespace {

void redraw() {
    T4K_FUNCTION(redraw);
    draw_board();
    draw_grid();
    draw_messages();
    update_hud();
}

}  // namespace

// The canvas's button-press handler.  A click outside the grid changes and redraws
// nothing.  It returns 0 so that GTK goes on to the other handlers of the press.
int handle_move() {
    T4K_FUNCTION(handle_move);
    const int col = pixel_to_col(MOUSE(0)), row = pixel_to_row(MOUSE(1));
    if (col < 0 || row < 0) return 0;
    click_cell(col, row);
    redraw();
    return 0;
}

// Returns 0 so that the start-up timer runs it once.
int new_game() {
    T4K_FUNCTION(new_game);
    init_game();
    init_board();
    redraw();
    return 0;
}

namespace {

// The control row under the canvas, in the order its widgets are made.
struct Control {
    const char* text;       // markup of a label, or the stock id of a button
    int slot;               // as control_col takes it
    Widget* keep;           // the captions are not kept
    wex::Callback action;   // a button's callback; null for a label
};
const Control CONTROLS[] = {
    {"<b>SCORE:</b>", 0, nullptr, nullptr},
    {"<b>RECORD:</b>", 2, nullptr, nullptr},
    {"<b>0</b>", 1, &score_mark, nullptr},
    {"<b>0</b>", 3, &record_mark, nullptr},
    {"gtk-new", -2, &cmd_new, new_game},
    {"gtk-quit", -1, &cmd_quit, QUIT},
};

// The values of a new game, with no record yet.
void set_start_values() {
    T4K_FUNCTION(set_start_values);
    score = 0;
    high_score = 0;
    init_game();
}

void build_window() {
    T4K_FUNCTION(build_window);
    top = WINDOW("Plimsy", WINDOW_WIDTH, WINDOW_HEIGHT);
    screen = CANVAS(CANVAS_WIDTH, CANVAS_HEIGHT);
    ATTACH(top, screen, 0, 0);
    CALLBACK(screen, handle_move);
    for (const Control& c : CONTROLS) {
        Widget widget = c.action ? STOCK(c.text, CONTROL_WIDTH, CONTROL_HEIGHT) : MARK(c.text, CONTROL_WIDTH, CONTROL_HEIGHT);
        ATTACH(top, widget, control_col(c.slot), CONTROL_Y);
        if (c.action) CALLBACK(widget, c.action);
        if (c.keep) *c.keep = widget;
    }
}

}  // namespace

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    INIT();
    set_start_values();
    WEXOPTIONS("NOSCALING");
    build_window();
    constexpr int FIRST_DEAL_DELAY_MS = 150;
    TIMEOUT(FIRST_DEAL_DELAY_MS, new_game);
    DISPLAY();
}
