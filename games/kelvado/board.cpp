// board.cpp: the exploration game's window, its board pictures, HUD, click handling and main.
#include <array>
#include <optional>
#include <span>

#include "games/kelvado/rules.h"
#include "games/shapes/shapes.h"
#include "runtime/runtime.h"
#include "wex/wex.h"

Widget top;
Widget screen;
Widget time_mark;
Widget folk_mark;
Widget food_mark;
Widget wood_mark;
Widget explored_mark;
Widget moves_mark;
Widget cmd_new;
Widget cmd_quit;

namespace {

// Board geometry in canvas pixels: a 10 x 10 grid of 50-pixel cells inside a 50-pixel margin.
constexpr int CANVAS_SIZE = 600;
constexpr int CELL_SIZE = 50;
constexpr int GRID_START = 50;                                  // first pixel of the grid
constexpr int GRID_END = GRID_START + BOARD_SIZE * CELL_SIZE;   // one past its last pixel

constexpr int cell_centre(int index) { return GRID_START + CELL_SIZE / 2 + CELL_SIZE * index; }

constexpr int grid_line(int index) { return GRID_START + CELL_SIZE * index; }

struct CellPosition {
    int col;
    int row;
};

// The cell that holds canvas pixel (x, y), if the pixel lies on the grid.
std::optional<CellPosition> cell_at_pixel(intptr_t x, intptr_t y) {
    T4K_FUNCTION(cell_at_pixel);
    const auto on_grid = [](intptr_t p) { return p >= GRID_START && p < GRID_END; };
    if (!on_grid(x) || !on_grid(y)) return std::nullopt;
    return CellPosition{static_cast<int>((x - GRID_START) / CELL_SIZE),
                        static_cast<int>((y - GRID_START) / CELL_SIZE)};
}

// Every colour the window draws with.
enum Colour { BACKGROUND, GRID, TEXT_OVERLAY, ROCK, BARK, LEAVES, SHALLOWS, WATER, CHALK, ROOF };
constexpr std::array<const char*, ROOF + 1> COLOURS{
    "black", "#cccccc", "yellow", "lightgray", "brown", "green", "cyan", "blue", "white", "red"};

// A picture is a list of strokes drawn in order around a cell's centre.  A box or an ellipse
// gives its centre offset and half-sizes; a line gives the offsets of its two ends.
enum class Shape { Box, Ellipse, Line };
struct Stroke {
    Shape shape;
    Colour colour;
    int a, b, c, d;
};
using Picture = std::span<const Stroke>;

constexpr Stroke MOUNTAIN_PICTURE[] = {
    {Shape::Box, ROCK, 0, 0, 8, 4},   {Shape::Box, ROCK, 0, -12, 4, 4}, {Shape::Box, ROCK, 0, -6, 6, 4},
    {Shape::Box, ROCK, 0, 6, 12, 4},  {Shape::Box, ROCK, 0, 12, 16, 4},
};
constexpr Stroke FOREST_PICTURE[] = {
    {Shape::Box, BARK, 0, 12, 6, 12},  // trunk
    {Shape::Ellipse, LEAVES, 0, -6, 12, 12},  // crown
};
constexpr Stroke LAKE_PICTURE[] = {
    {Shape::Ellipse, SHALLOWS, 0, 8, 25, 12},
    {Shape::Ellipse, WATER, 0, 12, 16, 6},
};
constexpr Stroke VILLAGE_PICTURE[] = {
    {Shape::Box, CHALK, 0, 12, 12, 6}, {Shape::Box, ROOF, 0, 6, 16, 6},
    {Shape::Box, ROOF, 0, -6, 12, 6},  {Shape::Box, ROOF, 0, -12, 8, 6},
};
constexpr Stroke RUBBLE_PICTURE[] = {
    {Shape::Ellipse, BARK, 12, 12, 12, 8},
    {Shape::Ellipse, BARK, -12, 6, 8, 6},
    {Shape::Ellipse, BARK, 6, -12, 6, 4},
};
// An hourglass, 24 px wide and 32 px high: two diagonals closed by a top and a bottom bar.
constexpr Stroke UNKNOWN_PICTURE[] = {
    {Shape::Line, CHALK, -12, -16, 12, 16},
    {Shape::Line, CHALK, -12, 16, 12, -16},
    {Shape::Line, CHALK, -12, -16, 12, -16},
    {Shape::Line, CHALK, -12, 16, 12, 16},
};

constexpr int FILLED = 1;

void draw_picture(Picture picture, int x, int y) {
    T4K_FUNCTION(draw_picture);
    for (const Stroke& s : picture) {
        const char* colour = COLOURS[s.colour];
        switch (s.shape) {
        case Shape::Box: BOX(colour, x + s.a, y + s.b, s.c, s.d, FILLED); break;
        case Shape::Ellipse: ELLIPSE(colour, x + s.a, y + s.b, s.c, s.d, FILLED); break;
        case Shape::Line: LINE(colour, x + s.a, y + s.b, x + s.c, y + s.d); break;
        }
    }
}

void draw_mountain(int x, int y) {
    T4K_FUNCTION(draw_mountain);
    draw_picture(MOUNTAIN_PICTURE, x, y);
}

void draw_forest(int x, int y) {
    T4K_FUNCTION(draw_forest);
    draw_picture(FOREST_PICTURE, x, y);
}

void draw_lake(int x, int y) {
    T4K_FUNCTION(draw_lake);
    draw_picture(LAKE_PICTURE, x, y);
}

void draw_village(int x, int y) {
    T4K_FUNCTION(draw_village);
    draw_picture(VILLAGE_PICTURE, x, y);
}

void draw_rubble(int x, int y) {
    T4K_FUNCTION(draw_rubble);
    draw_picture(RUBBLE_PICTURE, x, y);
}

void draw_unknown(int x, int y) {
    T4K_FUNCTION(draw_unknown);
    draw_picture(UNKNOWN_PICTURE, x, y);
}

// The picture of an explored cell, by kind; an empty cell stays black.
using PictureFunction = void (*)(int, int);
constexpr std::array<PictureFunction, 6> PICTURE_BY_KIND{
    nullptr, draw_mountain, draw_forest, draw_lake, draw_village, draw_rubble};

void draw_board() {
    T4K_FUNCTION(draw_board);
    SQUARE(COLOURS[BACKGROUND], 0, 0, CANVAS_SIZE, CANVAS_SIZE, FILLED);
    for (int row = 0; row < BOARD_SIZE; row++) {
        for (int col = 0; col < BOARD_SIZE; col++) {
            const Cell& cell = board[row][col];
            const int x = cell_centre(col);
            const int y = cell_centre(row);
            if (!cell.seen)
                draw_unknown(x, y);
            else if (cell.kind > EMPTY && cell.kind <= RUBBLE)
                PICTURE_BY_KIND[cell.kind](x, y);
        }
    }
}

void draw_grid() {
    T4K_FUNCTION(draw_grid);
    for (int i = 0; i <= BOARD_SIZE; i++) LINE(COLOURS[GRID], grid_line(i), GRID_START, grid_line(i), GRID_END);
    for (int i = 0; i <= BOARD_SIZE; i++) LINE(COLOURS[GRID], GRID_START, grid_line(i), GRID_END, grid_line(i));
}

constexpr int OVERLAY_X = 10;
constexpr int OVERLAY_Y = 10;

void draw_messages() {
    T4K_FUNCTION(draw_messages);
    const char* text;
    if (game_won())
        text = "<span font='50px'><b>VICTORY!</b></span>";
    else if (game_lost())
        text = "<span font='50px'><b>GAME OVER</b></span>";
    else
        text = __t4k__concat("<span font='25px'><b>", message$, "</b></span>", nullptr);
    OUT(text, COLOURS[TEXT_OVERLAY], "", OVERLAY_X, OVERLAY_Y);
}

// The counter labels, in the order they are set, with what follows each number.
struct Counter {
    Widget* label;
    const int32_t* value;
    const char* suffix;
};
constexpr std::array<Counter, 6> COUNTERS{{
    {&time_mark, &game_time, "</b>"},
    {&folk_mark, &folk, "</b>"},
    {&food_mark, &food, "</b>"},
    {&wood_mark, &wood, "</b>"},
    {&explored_mark, &explored, "%</b>"},
    {&moves_mark, &moves, "</b>"},
}};

void update_hud() {
    T4K_FUNCTION(update_hud);
    for (const Counter& counter : COUNTERS)
        TEXT(*counter.label, __t4k__concat("<b>", __t4k__str(*counter.value), counter.suffix, nullptr));
}

void redraw() {
    T4K_FUNCTION(redraw);
    draw_board();
    draw_grid();
    draw_messages();
    update_hud();
}

// The canvas's button-press handler.  It returns FALSE so that GTK goes on delivering the event.
int handle_move() {
    T4K_FUNCTION(handle_move);
    const intptr_t x = MOUSE(0);
    const intptr_t y = MOUSE(1);
    if (!game_running()) return 0;
    const std::optional<CellPosition> cell = cell_at_pixel(x, y);
    if (!cell) return 0;
    play_cell(cell->col, cell->row);
    redraw();
    return 0;
}

// The "gtk-new" button's callback and the start-up timer's: returning 0 makes the timer fire once.
int new_game() {
    T4K_FUNCTION(new_game);
    init_game();
    init_board();
    redraw();
    return 0;
}

// The window's labels and buttons, created and placed in this order.
constexpr int CONTROL_WIDTH = 80;
constexpr int CONTROL_HEIGHT = 30;
constexpr int LEFT_COLUMN = 10;
constexpr int RIGHT_COLUMN = 710;

struct Control {
    Widget* handle;  // null for a caption, which is not kept
    bool stock;      // a stock button rather than a label
    const char* text;
    int x;
    int y;
    wex::Callback on_click;
};
const std::array<Control, 14> CONTROLS{{
    {nullptr, false, "<b>TIME</b>", LEFT_COLUMN, 10, nullptr},
    {nullptr, false, "<b>FOLK</b>", LEFT_COLUMN, 70, nullptr},
    {nullptr, false, "<b>FOOD</b>", LEFT_COLUMN, 130, nullptr},
    {nullptr, false, "<b>WOOD</b>", LEFT_COLUMN, 190, nullptr},
    {&time_mark, false, "<b>25</b>", LEFT_COLUMN, 40, nullptr},
    {&folk_mark, false, "<b>4</b>", LEFT_COLUMN, 100, nullptr},
    {&food_mark, false, "<b>4</b>", LEFT_COLUMN, 160, nullptr},
    {&wood_mark, false, "<b>4</b>", LEFT_COLUMN, 220, nullptr},
    {nullptr, false, "<b>Explored</b>", RIGHT_COLUMN, 10, nullptr},
    {nullptr, false, "<b>Moves</b>", RIGHT_COLUMN, 70, nullptr},
    {&explored_mark, false, "<b>0%</b>", RIGHT_COLUMN, 40, nullptr},
    {&moves_mark, false, "<b>0</b>", RIGHT_COLUMN, 100, nullptr},
    {&cmd_new, true, "gtk-new", RIGHT_COLUMN, 520, new_game},
    {&cmd_quit, true, "gtk-quit", RIGHT_COLUMN, 560, QUIT},
}};

void build_window() {
    T4K_FUNCTION(build_window);
    top = WINDOW("Kelvado", 800, 600);
    screen = CANVAS(CANVAS_SIZE, CANVAS_SIZE);
    ATTACH(top, screen, 100, 0);
    CALLBACK(screen, handle_move);
    for (const Control& control : CONTROLS) {
        const Widget widget = control.stock ? STOCK(control.text, CONTROL_WIDTH, CONTROL_HEIGHT)
                                            : MARK(control.text, CONTROL_WIDTH, CONTROL_HEIGHT);
        ATTACH(top, widget, control.x, control.y);
        if (control.on_click) CALLBACK(widget, control.on_click);
        if (control.handle) *control.handle = widget;
    }
}

constexpr int FIRST_DEAL_DELAY_MS = 150;

}  // namespace

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    INIT();
    init_game();
    WEXOPTIONS("NOSCALING");
    build_window();
    TIMEOUT(FIRST_DEAL_DELAY_MS, new_game);
    DISPLAY();
    return 0;
}
