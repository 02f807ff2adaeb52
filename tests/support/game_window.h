// game_window.h: a game's board unit, compiled into its test with its main renamed, started as the
// program starts it, up to the first deal, with the desktop font a test names; and which texts of
// its labels and buttons are cut.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/support/whole_text.h"

namespace game_window {

inline void settle() {
    for (int round = 0; round < 20; ++round) {
        while (gtk_events_pending()) gtk_main_iteration();
        g_usleep(5000);
    }
}

// The desktop font comes from a gtkrc file, as a user's settings give it.  Once a process: tests
// run together in one keep the first test's font.
inline void start(const char* desktop_font) {
    static bool started = false;
    if (started) return;
    started = true;
    char rc_file[] = "/tmp/game_window_gtkrc_XXXXXX";
    const int fd = mkstemp(rc_file);
    const std::string rc = std::string("gtk-font-name = \"") + desktop_font + "\"\n";
    ASSERT_EQ(write(fd, rc.data(), rc.size()), ssize_t(rc.size()));
    close(fd);
    setenv("GTK2_RC_FILES", rc_file, 1);
    T4K_START(0, nullptr);
    INIT();
    set_start_values();
    WEXOPTIONS("NOSCALING");
    build_window();
    new_game();
    settle();
    unlink(rc_file);
}

// The texts of the labels inside `widget` (or `widget` itself) that do not show whole in `placed`.
inline void find_cut(GtkWidget* widget, GtkWidget* placed, std::string& cut) {
    if (GTK_IS_LABEL(widget) && !whole_text::shows_whole(GTK_LABEL(widget), placed))
        cut += std::string(" \"") + gtk_label_get_text(GTK_LABEL(widget)) + "\"";
    if (!GTK_IS_CONTAINER(widget)) return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* child = children; child != nullptr; child = child->next) find_cut(GTK_WIDGET(child->data), placed, cut);
    g_list_free(children);
}

// The cut texts of every label and button placed in the window; "" when every one shows whole.
inline std::string cut_texts(Widget window) {
    std::string cut;
    GList* placed = gtk_container_get_children(GTK_CONTAINER(gtk_bin_get_child(GTK_BIN(window))));
    for (GList* p = placed; p != nullptr; p = p->next) find_cut(GTK_WIDGET(p->data), GTK_WIDGET(p->data), cut);
    g_list_free(placed);
    return cut;
}

}  // namespace game_window

// Each game's test: the window at a 20-point desktop font shows every caption, value and button
// label whole.
#define GAME_WINDOW_TESTS(Game)                                              \
    TEST(Game##LargeFont, EveryTextShowsWholeAtTwentyPoints) {               \
        game_window::start("DejaVu Sans 20");                                \
        EXPECT_EQ(game_window::cut_texts(top), "");                          \
    }
