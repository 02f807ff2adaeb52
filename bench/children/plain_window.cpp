// plain_window.cpp: the baselines of kelvado's start-up benchmark, GTK 2 programs linked the
// usual way that open a centred window of kelvado's size, painted in the grid's grey: with no
// argument an empty window; with "controls" the same window holding what kelvado's holds
// beside its canvas, made directly with GTK (twelve bold labels and two stock buttons in two
// columns), which brings in the text machinery (fonts, layout) that an empty window never needs.
#include <gtk/gtk.h>

#include <cstring>

#include "bench/first_frame.h"

namespace {
constexpr int LEFT_X = 10, RIGHT_X = 710, WIDTH = 80, HEIGHT = 30;

struct Place {
    const char* markup;  // null: a button
    const char* stock_id;
    int x, y;
};
constexpr Place CONTROLS[] = {
    {"<b>TIME</b>", nullptr, LEFT_X, 10},     {"<b>FOLK</b>", nullptr, LEFT_X, 70},
    {"<b>FOOD</b>", nullptr, LEFT_X, 130},    {"<b>WOOD</b>", nullptr, LEFT_X, 190},
    {"<b>25</b>", nullptr, LEFT_X, 40},       {"<b>4</b>", nullptr, LEFT_X, 100},
    {"<b>4</b>", nullptr, LEFT_X, 160},       {"<b>4</b>", nullptr, LEFT_X, 220},
    {"<b>Explored</b>", nullptr, RIGHT_X, 10}, {"<b>Moves</b>", nullptr, RIGHT_X, 70},
    {"<b>0%</b>", nullptr, RIGHT_X, 40},      {"<b>0</b>", nullptr, RIGHT_X, 100},
    {nullptr, GTK_STOCK_NEW, RIGHT_X, 520},   {nullptr, GTK_STOCK_QUIT, RIGHT_X, 560},
};

void add_controls(GtkWidget* window) {
    GtkWidget* fixed = gtk_fixed_new();
    for (const Place& place : CONTROLS) {
        GtkWidget* control = place.markup ? gtk_label_new(nullptr) : gtk_button_new_from_stock(place.stock_id);
        if (place.markup) gtk_label_set_markup(GTK_LABEL(control), place.markup);
        gtk_widget_set_size_request(control, WIDTH, HEIGHT);
        gtk_fixed_put(GTK_FIXED(fixed), control, place.x, place.y);
    }
    gtk_container_add(GTK_CONTAINER(window), fixed);
}
}  // namespace

int main(int argc, char** argv) {
    gtk_init(nullptr, nullptr);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Plain");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_default_size(GTK_WINDOW(window), bench::WINDOW_WIDTH, bench::WINDOW_HEIGHT);
    GdkColor grey{0, bench::GREY * 257, bench::GREY * 257, bench::GREY * 257};
    gtk_widget_modify_bg(window, GTK_STATE_NORMAL, &grey);
    if (argc > 1 && std::strcmp(argv[1], "controls") == 0) add_controls(window);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
