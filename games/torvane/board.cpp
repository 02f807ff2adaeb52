// board.cpp: the robot game's window, its pictures and drawing, the HUD, and main.
#include <cstddef>
#include <iterator>

#include "games/torvane/geometry.h"
#include "games/torvane/rules.h"
#include "runtime/runtime.h"
#include "wex/wex.h"

Widget top, screen;
Widget score_mark, level_mark, record_mark;
Widget energy_gauge, battery_gauge;
Widget cmd_new, cmd_quit;

namespace {

// Every colour the game draws with.
enum Colour { BLACK, GRID, TRUNK, CROWN, RED, CYAN, ROBOT_GREY, GAME_OVER_GOLD, LEVEL_YELLOW };
constexpr const char* PALETTE[] = {
    "#000000", "#cccccc", "#800000", "#008000", "#ff0000", "#00ffff", "#808080", "#ffcc00", "#ffff00",
};
static_assert(std::size(PALETTE) == LEVEL_YELLOW + 1, "one colour text per colour");

/* A picture is a list of shapes drawn in order around a cell's centre (x, y).  For a
   rectangle or an ellipse a and b are the offset of its centre and c and d its half-sizes;
   for a line (a, b) and (c, d) are its two ends, both relative to the centre. */
enum ShapeKind { RECTANGLE, ELLIPSE_SHAPE, SEGMENT };
struct Shape {
    ShapeKind kind;
    Colour colour;
    int a, b, c, d;
    int fill;
};

constexpr Shape TREE_PICTURE[] = {
    {RECTANGLE, TRUNK, 0, 7, 3, 7, 1},
    {ELLIPSE_SHAPE, CROWN, 0, -3, 7, 7, 1},
};
// A red disc with a black rim on a red cross that spans the cell.
constexpr Shape MINE_PICTURE[] = {
    {SEGMENT, RED, -15, 0, 15, 0, 0},
    {SEGMENT, RED, 0, -15, 0, 15, 0},
    {ELLIPSE_SHAPE, RED, 0, 0, 7, 7, 1},
    {ELLIPSE_SHAPE, BLACK, 0, 0, 7, 7, 0},
};
// The terminal shows 3 pixels to the right of the body, which covers the rest of it.
constexpr Shape BATTERY_PICTURE[] = {
    {RECTANGLE, CYAN, 5, 0, 5, 3, 1},
    {RECTANGLE, BLACK, 0, 0, 7, 5, 0},
    {RECTANGLE, CYAN, 0, 0, 7, 5, 1},
};
constexpr Shape CRATER_PICTURE[] = {
    {ELLIPSE_SHAPE, TRUNK, 0, 5, 15, 7, 1},
    {ELLIPSE_SHAPE, BLACK, 0, 7, 10, 3, 1},
};
constexpr Shape ROBOT_PICTURE[] = {
    {RECTANGLE, ROBOT_GREY, 0, 0, 7, 10, 1},
    {RECTANGLE, CYAN, -3, -5, 2, 3, 1},
    {RECTANGLE, BLACK, -3, -5, 2, 3, 0},
    {RECTANGLE, CYAN, 3, -5, 2, 3, 1},
    {RECTANGLE, BLACK, 3, -5, 2, 3, 0},
    {ELLIPSE_SHAPE, BLACK, 0, 5, 5, 3, 1},
};

struct Picture {
    const Shape* shapes;
    std::size_t count;
};
template <std::size_t N> constexpr Picture picture(const Shape (&shapes)[N]) { return {shapes, N}; }

}  // namespace

void center_circle(const char* color, int cx, int cy, int rx, int ry, int fill) {
    T4K_FUNCTION(center_circle);
    CIRCLE(color, cx - rx, cy - ry, 2 * rx, 2 * ry, fill);
}

void center_square(const char* color, int cx, int cy, int hx, int hy, int fill) {
    T4K_FUNCTION(center_square);
    SQUARE(color, cx - hx, cy - hy, 2 * hx, 2 * hy, fill);
}

namespace {

void draw_picture(Picture p, int x, int y) {
    T4K_FUNCTION(draw_picture);
    for (std::size_t n = 0; n < p.count; n++) {
        const Shape& s = p.shapes[n];
        const char* colour = PALETTE[s.colour];
        switch (s.kind) {
        case RECTANGLE: center_square(colour, x + s.a, y + s.b, s.c, s.d, s.fill); break;
        case ELLIPSE_SHAPE: center_circle(colour, x + s.a, y + s.b, s.c, s.d, s.fill); break;
        case SEGMENT: LINE(colour, x + s.a, y + s.b, x + s.c, y + s.d); break;
        }
    }
}

}  // namespace

void draw_tree(int x, int y) {
    T4K_FUNCTION(draw_tree);
    draw_picture(picture(TREE_PICTURE), x, y);
}

void draw_mine(int x, int y) {
    T4K_FUNCTION(draw_mine);
    draw_picture(picture(MINE_PICTURE), x, y);
}

void draw_battery(int x, int y) {
    T4K_FUNCTION(draw_battery);
    draw_picture(picture(BATTERY_PICTURE), x, y);
}

void draw_crater(int x, int y) {
    T4K_FUNCTION(draw_crater);
    draw_picture(picture(CRATER_PICTURE), x, y);
}

void draw_robot(int x, int y) {
    T4K_FUNCTION(draw_robot);
    draw_picture(picture(ROBOT_PICTURE), x, y);
}

namespace {

// The picture of each cell value; a free cell has none and stays black.
using PictureFunction = void (*)(int, int);
constexpr PictureFunction CELL_PICTURES[] = {nullptr, draw_tree, draw_mine, draw_battery, draw_crater};
static_assert(std::size(CELL_PICTURES) == CELL_CRATER + 1, "one entry per cell value");

}  // namespace

void draw_board() {
    T4K_FUNCTION(draw_board);
    SQUARE(PALETTE[BLACK], 0, 0, CANVAS_PIXELS, CANVAS_PIXELS, 1);
    for (int row = 0; row < BOARD_SIZE; row++)
        for (int col = 0; col < BOARD_SIZE; col++) {
            int value = board[row][col];
            if (value > CELL_FREE && value <= CELL_CRATER) CELL_PICTURES[value](cell_centre(col), cell_centre(row));
        }
    for (int i = 0; i < ROBOT_COUNT; i++)
        if (robot_alive(i)) draw_robot(cell_centre(robots[i].col), cell_centre(robots[i].row));
}

void draw_grid() {
    T4K_FUNCTION(draw_grid);
    const int far_end = grid_line(BOARD_SIZE);
    for (int n = 0; n <= BOARD_SIZE; n++) LINE(PALETTE[GRID], grid_line(n), 0, grid_line(n), far_end);
    for (int n = 0; n <= BOARD_SIZE; n++) LINE(PALETTE[GRID], 0, grid_line(n), far_end, grid_line(n));
}

void draw_messages() {
    T4K_FUNCTION(draw_messages);
    constexpr int MESSAGE_X = 30, MESSAGE_Y = 30;
    if (game_over())
        OUT("<span font='50px'><b>GAME OVER</b></span>", PALETTE[GAME_OVER_GOLD], "", MESSAGE_X, MESSAGE_Y);
    else if (level_complete == 1)
        OUT("<span font='50px'><b>Level complete</b></span>", PALETTE[LEVEL_YELLOW], "", MESSAGE_X, MESSAGE_Y);
}

namespace {

void show_number(Widget label, int value) {
    T4K_FUNCTION(show_number);
    TEXT(label, __t4k__concat("<b>", __t4k__str(value), "</b>", nullptr));
}

}  // namespace

void update_hud() {
    T4K_FUNCTION(update_hud);
    SET(energy_gauge, energy);
    SET(battery_gauge, batt_count);
    show_number(score_mark, score);
    show_number(level_mark, level);
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

// The canvas's button-press handler.  It returns 0 so that GTK goes on to the other
// handlers of the press.
int handle_move() {
    T4K_FUNCTION(handle_move);
    play_click(pixel_to_cell(MOUSE(0)), pixel_to_cell(MOUSE(1)));
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

// The labels of the side columns, in the order they are made; row as control_row takes it.
struct LabelPlace {
    const char* markup;
    int x;
    int row;
    Widget* keep;  // the value labels are kept, the captions are not
};
const LabelPlace LABELS[] = {
    {"<b>SCORE</b>", LEFT_COLUMN_X, 0, nullptr},
    {"<b>LEVEL</b>", RIGHT_COLUMN_X, 0, nullptr},
    {"<b>RECORD</b>", LEFT_COLUMN_X, -2, nullptr},
    {"<b>0</b>", LEFT_COLUMN_X, 1, &score_mark},
    {"<b>1</b>", RIGHT_COLUMN_X, 1, &level_mark},
    {"<b>0</b>", LEFT_COLUMN_X, -1, &record_mark},
    {"<b>ENERGY</b>", LEFT_COLUMN_X, 2, nullptr},
    {"<b>BATTERIES</b>", RIGHT_COLUMN_X, 2, nullptr},
};

struct GaugePlace {
    int maximum;
    int x;
    const int32_t* value;
    Widget* keep;
};
constexpr int GAUGE_ROW = 3;
const GaugePlace GAUGES[] = {
    {300, LEFT_COLUMN_X, &energy, &energy_gauge},
    {ITEMS_PER_KIND, RIGHT_COLUMN_X, &batt_count, &battery_gauge},
};

struct ButtonPlace {
    const char* stock_id;
    int row;
    wex::Callback action;
    Widget* keep;
};
const ButtonPlace BUTTONS[] = {
    {"gtk-new", -2, new_game, &cmd_new},
    {"gtk-quit", -1, QUIT, &cmd_quit},
};

void build_window() {
    T4K_FUNCTION(build_window);
    top = WINDOW("Torvane", WINDOW_WIDTH, WINDOW_HEIGHT);
    screen = CANVAS(CANVAS_PIXELS, CANVAS_PIXELS);
    ATTACH(top, screen, CANVAS_X, 0);
    for (const LabelPlace& l : LABELS) {
        Widget label = MARK(l.markup, CONTROL_WIDTH, CONTROL_HEIGHT);
        ATTACH(top, label, l.x, control_row(l.row));
        if (l.keep) *l.keep = label;
    }
    // The gauges only show values: insensitive, so the player cannot drag them, and turned
    // round to read as gauges do, full at the top.
    for (const GaugePlace& g : GAUGES) {
        Widget gauge = VSLIDER(CONTROL_WIDTH, GAUGE_HEIGHT, 0, g.maximum, 1);
        ATTACH(top, gauge, g.x, control_row(GAUGE_ROW));
        DISABLE(gauge);
        INVERT(gauge);
        SET(gauge, *g.value);
        *g.keep = gauge;
    }
    for (const ButtonPlace& b : BUTTONS) {
        Widget button = STOCK(b.stock_id, CONTROL_WIDTH, CONTROL_HEIGHT);
        ATTACH(top, button, RIGHT_COLUMN_X, control_row(b.row));
        CALLBACK(button, b.action);
        *b.keep = button;
    }
    CALLBACK(screen, handle_move);
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
