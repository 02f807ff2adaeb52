// canvas_harness.h: what the canvas and event tests share: a window with a canvas on the X
// server, the main loop kept turning while xdotool runs, screen reads with import, and child
// runs of one test of the same program.
#pragma once
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"

extern char** environ;

// Whether the registry holds an entry of `table` for `handle`: a lookup alone cannot tell an
// absent entry from a stored 0.
#define HAS_ENTRY(table, handle) (__t4k__##table##__add_secure_(0, wex::Key(handle), nullptr) != nullptr)

namespace harness {
// Lets GTK handle everything queued (realizing, exposes, pointer events).
inline void settle() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

// Turns the main loop for about `ms` milliseconds.
inline void pump(int ms) {
    for (int i = 0; i < ms; i += 5) {
        settle();
        g_usleep(5000);
    }
    settle();
}

// Turns the main loop until `done` holds or about three seconds have passed.
template <class F> bool pump_until(F done) {
    for (int i = 0; i < 600 && !done(); ++i) pump(5);
    return done();
}

// Runs a program while the main loop keeps turning, so that the toolkit answers the events
// the program causes; returns its exit status.
inline int run_pumping(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) pump(5);
    pump(50);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// xdotool with its arguments, e.g. xdo({"mousemove", "10", "20"}).
inline int xdo(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    return run_pumping(args);
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.r, c.g, c.b);
    return out << text;
}

// A rectangle of pixels, row after row.
struct Pixels {
    int width = 0, height = 0;
    std::vector<Rgb> rgb;
    Rgb at(int x, int y) const { return rgb[size_t(y) * size_t(width) + size_t(x)]; }
};

// What the screen shows in a rectangle, read by ImageMagick from the root window.
inline Pixels read_screen(int x, int y, int w, int h) {
    gdk_flush();
    std::string command = "import -window root -crop " + std::to_string(w) + "x" + std::to_string(h) + "+" +
                          std::to_string(x) + "+" + std::to_string(y) + " -depth 8 ppm:-";
    FILE* pipe = popen(command.c_str(), "r");
    Pixels p;
    int maxval = 0;
    if (!pipe || std::fscanf(pipe, "P6 %d %d %d", &p.width, &p.height, &maxval) != 3 || maxval != 255) {
        if (pipe) pclose(pipe);
        return {};
    }
    std::fgetc(pipe);  // the one white space after the header
    p.rgb.resize(size_t(p.width) * size_t(p.height));
    for (Rgb& c : p.rgb) {
        c.r = std::fgetc(pipe);
        c.g = std::fgetc(pipe);
        c.b = std::fgetc(pipe);
    }
    pclose(pipe);
    return p;
}

// Everything a GDK drawable holds, read directly with GDK.
inline Pixels read_drawable(void* drawable, int w, int h) {
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_drawable(nullptr, static_cast<GdkDrawable*>(drawable),
                                                     gdk_colormap_get_system(), 0, 0, 0, 0, w, h);
    Pixels p{w, h, {}};
    const guchar* bytes = gdk_pixbuf_get_pixels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf), channels = gdk_pixbuf_get_n_channels(pixbuf);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const guchar* q = bytes + y * stride + x * channels;
            p.rgb.push_back({q[0], q[1], q[2]});
        }
    g_object_unref(pixbuf);
    return p;
}

// Where a widget's window lies on the screen.
inline void screen_origin(void* widget, int* x, int* y) {
    gdk_window_get_origin(static_cast<GtkWidget*>(widget)->window, x, y);
}

// GETCOLOR$ as a colour (the text is "#RRGGBB" and a newline).
inline Rgb colour_at(int x, int y) {
    unsigned r = 0, g = 0, b = 0;
    std::sscanf(wex::GETCOLOR$(x, y, 0), "#%2X%2X%2X", &r, &g, &b);
    return {int(r), int(g), int(b)};
}

/* Runs the calls (the arguments after `output`) as a program would, in a child process that GoogleTest starts afresh (a death
 * test in its "threadsafe" style: this test alone, from its start), and expects it to end with
 * status 0 and standard output matching `output` (a regular expression).  The child's
 * standard output is sent to its standard error, which is what a death test reads; a child
 * that comes back from the calls ends with status 3. */
constexpr int CAME_BACK = 3;
#define EXPECT_PROGRAM_EXITS_PRINTING(output, ...)            \
    do {                                                       \
        GTEST_FLAG_SET(death_test_style, "threadsafe");        \
        auto program = [&] {                                   \
            dup2(2, 1);                                        \
            __VA_ARGS__;                                       \
            std::fflush(stdout);                               \
            std::_Exit(harness::CAME_BACK);                    \
        };                                                     \
        EXPECT_EXIT(program(), ::testing::ExitedWithCode(0), output); \
    } while (0)

// The toolkit started once per program, with a window holding one canvas at (0, 0).
struct CanvasWindow {
    Widget window = nullptr;
    Widget canvas = nullptr;
    void* drawable = nullptr;
};
inline void start_toolkit() {
    static bool started = false;
    if (started) return;
    started = true;
    static char name[] = "canvas_test";
    static char* argv[] = {name, nullptr};
    T4K_START(1, argv);
    INIT();
    WEXOPTIONS("NOSCALING");
}
inline CanvasWindow open_canvas_window(const char* title, int width, int height) {
    CanvasWindow w;
    w.window = WINDOW(title, width + 20, height + 20);
    w.canvas = CANVAS(width, height);
    w.drawable = wex::wex_gui_properties.canvas;
    ATTACH(w.window, w.canvas, 10, 10);
    pump_until([&] { return GTK_WIDGET_MAPPED(static_cast<GtkWidget*>(w.canvas)); });
    pump(100);
    return w;
}
}  // namespace harness
