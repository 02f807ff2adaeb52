// kelvado_startup_bench.cpp: time from process start to kelvado's first board on screen, against
// the same time for a plain GTK 2 program that opens an 800 x 600 window (this program itself,
// started with --plain-window).  Needs DISPLAY; both windows open centred on the screen.  The
// ratio line leaves out kelvado's start-up timer, which deals the first board 150 ms after the
// window is built.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <string>
#include <thread>

#include "bench/ratio_reporter.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The probe: a 1 x 4 strip on the first vertical grid line of kelvado's board, window pixels
// (150, 60) to (150, 63) of the centred window, all grid grey once the first board is drawn.  Neither the canvas, which
// starts white, nor the bare root window, which is black, passes for a drawn board.  The plain
// window is painted in the same grey.
constexpr int WINDOW_WIDTH = 800, WINDOW_HEIGHT = 600;
constexpr int PROBE_X = 150, PROBE_Y = 60, PROBE_WIDTH = 1, PROBE_HEIGHT = 4;
constexpr guchar GREY = 0xcc;
constexpr auto GIVE_UP = std::chrono::seconds(10);
constexpr double FIRST_DEAL_DELAY = 0.150;  // seconds: kelvado's TIMEOUT before its first board

std::string self_path() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n < 0) return "";
    path[n] = '\0';
    return path;
}

std::string kelvado_path() {
    const std::string self = self_path();
    return self.substr(0, self.rfind("/bench/")) + "/games/kelvado/kelvado";
}

bool probe_is_grey() {
    GdkPixbuf* block = gdk_pixbuf_get_from_drawable(nullptr, gdk_get_default_root_window(),
                                                    gdk_colormap_get_system(),
                                                    (gdk_screen_width() - WINDOW_WIDTH) / 2 + PROBE_X,
                                                    (gdk_screen_height() - WINDOW_HEIGHT) / 2 + PROBE_Y, 0, 0,
                                                    PROBE_WIDTH, PROBE_HEIGHT);
    if (!block) return false;
    const guchar* pixels = gdk_pixbuf_get_pixels(block);
    const int stride = gdk_pixbuf_get_rowstride(block);
    const int channels = gdk_pixbuf_get_n_channels(block);
    bool grey = true;
    for (int y = 0; y < PROBE_HEIGHT && grey; y++)
        for (int x = 0; x < PROBE_WIDTH * channels && grey; x++)
            grey = (x % channels >= 3) || pixels[y * stride + x] == GREY;
    g_object_unref(block);
    return grey;
}

void wait_probe_cleared() {
    const auto deadline = Clock::now() + GIVE_UP;
    while (probe_is_grey() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void first_frame(benchmark::State& state, const std::string& program, const char* flag) {
    for (auto _ : state) {
        wait_probe_cleared();
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(flag), nullptr};
        const auto start = Clock::now();
        pid_t pid;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError(("cannot start " + program).c_str());
            return;
        }
        while (!probe_is_grey() && Clock::now() - start < GIVE_UP)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));  // leave the CPU to the program
        const auto shown = Clock::now();
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        if (shown - start >= GIVE_UP) {
            state.SkipWithError("no first frame within 10 s");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
}

// The baseline: a GTK 2 window of 800 x 600 in the grid's grey, nothing else.
int plain_window() {
    gtk_init(nullptr, nullptr);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Plain");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_default_size(GTK_WINDOW(window), WINDOW_WIDTH, WINDOW_HEIGHT);
    GdkColor grey{0, GREY * 257, GREY * 257, GREY * 257};
    gtk_widget_modify_bg(window, GTK_STATE_NORMAL, &grey);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--plain-window") == 0) return plain_window();
    gdk_init(&argc, &argv);
    const std::string self = self_path();
    const std::string kelvado = kelvado_path();
    benchmark::RegisterBenchmark("first_frame/plain_gtk_window", first_frame, self, "--plain-window")
        ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("first_frame/kelvado_first_board", first_frame, kelvado, nullptr)
        ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
    bench::RatioReporter reporter({{"kelvado-startup", "first_frame/kelvado_first_board", "first_frame/plain_gtk_window",
                                    false, bench::Clock::real, FIRST_DEAL_DELAY}});
    return bench::run_with_ratios(argc, argv, reporter);
}
