// plain_window.cpp: the baseline of kelvado's start-up benchmark, a plain GTK 2 program linked
// the usual way that opens a centred window of kelvado's size, painted in the grid's grey.
#include <gtk/gtk.h>

#include "bench/first_frame.h"

int main() {
    gtk_init(nullptr, nullptr);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Plain");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_default_size(GTK_WINDOW(window), bench::WINDOW_WIDTH, bench::WINDOW_HEIGHT);
    GdkColor grey{0, bench::GREY * 257, bench::GREY * 257, bench::GREY * 257};
    gtk_widget_modify_bg(window, GTK_STATE_NORMAL, &grey);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
