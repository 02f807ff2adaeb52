// kelvado_startup_bench.cpp: time from process start to kelvado's first board on screen, against
// the same time for a plain GTK 2 program that opens an 800 x 600 window (children/plain_window,
// linked the usual way).  Needs DISPLAY; both windows open centred on the screen.  The
// ratio line leaves out kelvado's start-up timer, which deals the first board 150 ms after the
// window is built.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bench/first_frame.h"
#include "bench/ratio_reporter.h"
#include "bench/start_report.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using bench::beside_this_program;
using bench::GREY;
using bench::median;
using bench::WINDOW_HEIGHT;
using bench::WINDOW_WIDTH;

// The probe: a 1 x 4 strip on the first vertical grid line of kelvado's board, window pixels
// (150, 60) to (150, 63) of the centred window, all grid grey once the first board is drawn.
// Neither the canvas, which starts white, nor the bare root window, which is black, passes for a
// drawn board.  The plain window is painted in the same grey.
constexpr int PROBE_X = 150, PROBE_Y = 60, PROBE_WIDTH = 1, PROBE_HEIGHT = 4;
constexpr auto GIVE_UP = std::chrono::seconds(10);
constexpr double FIRST_DEAL_DELAY = 0.150;  // seconds: kelvado's TIMEOUT before its first board

std::string kelvado_path() {
    const std::string bench = bench::beside_this_program("");
    return bench.substr(0, bench.rfind("/bench/")) + "/games/kelvado/kelvado";
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

// A program to start and its one argument (null: none).
struct Start {
    std::string program;
    const char* argument;
};

// Starts a program and waits until the probe turns grey: the seconds that took, or a negative
// number when it could not start or nothing was shown within GIVE_UP.
double first_frame(const Start& launch) {
    wait_probe_cleared();
    const std::string& program = launch.program;
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(launch.argument), nullptr};
    const auto start = Clock::now();
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
    while (!probe_is_grey() && Clock::now() - start < GIVE_UP)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));  // leave the CPU to the program
    const auto shown = Clock::now();
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return shown - start < GIVE_UP ? std::chrono::duration<double>(shown - start).count() : -1;
}

/* One start of each per iteration, the order alternating, so that a change of load meets both
 * alike.  The counters are the medians over the iterations (which the few starts that wait for
 * a busy processor do not pull away as they pull the mean the library reports) of kelvado's
 * time and the plain window's (ms), and the row's ratio: kelvado's less its timer, against the
 * plain window's.  The iteration time is kelvado's. */
void kelvado_against_plain(benchmark::State& state, const Start& kelvado, const Start& plain) {
    std::vector<double> kelvado_ms, plain_ms;
    bool kelvado_first = true;
    for (auto _ : state) {
        const double first = first_frame(kelvado_first ? kelvado : plain);
        const double second = first_frame(kelvado_first ? plain : kelvado);
        const double kelvado_time = kelvado_first ? first : second, plain_time = kelvado_first ? second : first;
        kelvado_first = !kelvado_first;
        if (kelvado_time < 0 || plain_time < 0) {
            state.SkipWithError("a program did not start or showed nothing within 10 s");
            return;
        }
        state.SetIterationTime(kelvado_time);
        kelvado_ms.push_back(kelvado_time * 1e3);
        plain_ms.push_back(plain_time * 1e3);
    }
    state.counters["kelvado_ms"] = median(kelvado_ms);
    state.counters["plain_ms"] = median(plain_ms);
    state.counters["ratio"] = (median(kelvado_ms) - FIRST_DEAL_DELAY * 1e3) / median(plain_ms);
}

}  // namespace

int main(int argc, char** argv) {
    gdk_init(&argc, &argv);
    const Start kelvado{kelvado_path(), nullptr};
    const Start plain{beside_this_program("plain_window"), nullptr};
    const Start with_controls{beside_this_program("plain_window"), "controls"};
    benchmark::RegisterBenchmark("first_frame/kelvado_against_plain_window", kelvado_against_plain, kelvado, plain)
        ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("first_frame/kelvado_against_gtk_window_with_its_controls", kelvado_against_plain,
                                 kelvado, with_controls)
        ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
    bench::RatioReporter reporter(
        {}, {{"kelvado-startup", "first_frame/kelvado_against_plain_window", "", "ratio", 1, "×"},
             {"kelvado-startup-same-controls", "first_frame/kelvado_against_gtk_window_with_its_controls", "", "ratio", 1,
              "×"}});
    return bench::run_with_ratios(argc, argv, reporter);
}
