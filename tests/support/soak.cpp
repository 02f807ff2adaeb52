// soak.cpp: the soak's events, the program's start-ups and end, and the watch on its process.
#include "tests/support/soak.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace soak {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How long a reading may lag behind its event before its check counts as failed.
constexpr milliseconds RECHECK_TIME(1500);
// How long clicks go on after the window has appeared; the first deal comes 150 ms after start.
constexpr milliseconds START_UP_CLICKS(200);
// Resident memory is read every so many events; it counts from the reading after the first
// fifth of the events, when caches and pools have grown to their working size.
constexpr int RSS_INTERVAL = 50;
constexpr long RSS_ALLOWANCE_KIB = 1024;
// Events run by each of the short-lived programs that only test the start-up.
constexpr int START_UP_RUN_EVENTS = 10;

long env_number(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atol(text) : fallback;
}

std::vector<std::string> wrapper_words() {
    std::vector<std::string> words;
    std::istringstream in(std::getenv("SOAK_WRAPPER") ? std::getenv("SOAK_WRAPPER") : "");
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

struct Figures {
    int events = 0, single = 0, repeated = 0, off_board = 0, new_bursts = 0, start_ups = 0;
    int start_up_clicks = 0, clicks_while_dealing = 0;
    int late_readings = 0;  // readings that passed only when read again
    long rss_first = -1, rss_settled = -1, rss_peak = -1, rss_last = -1;
};

std::string describe(const Event& event) {
    static const char* const KINDS[] = {"board", "off-board", "New"};
    return std::string(KINDS[event.kind]) + " x" + std::to_string(event.presses) + " at (" +
           std::to_string(event.at.x) + ", " + std::to_string(event.at.y) + ")";
}

class Soak {
public:
    Soak(const Layout& layout, Referee& referee, unsigned seed)
        : layout_(layout), referee_(referee), random_(seed), wrapped_(!wrapper_words().empty()) {}

    // One program's life: started under clicks, dealt with New, `events` events, quit.
    bool run_program(int events, bool watch_memory) {
        referee_.restarted();
        std::unique_ptr<e2e::Program> program = start();
        if (!program || !play(*program, {Event::NEW, centre(layout_.new_button), 1})) return false;
        // The soak reads the screen straight from the X server, some twenty times faster than
        // import, with which the end-to-end tests read it: both must see the same.
        if (program->grab(0, 0, layout_.width, layout_.height) != program->read(0, 0, layout_.width, layout_.height)) {
            ADD_FAILURE() << "XGetImage and import read the window differently";
            return false;
        }
        for (int n = 0; n < events; n++) {
            if (!play(*program, random_event())) return false;
            if (watch_memory && n % RSS_INTERVAL == 0) read_memory(*program, n, events);
        }
        if (watch_memory) read_memory(*program, events, events);
        return quit(*program);
    }

    Figures figures;

private:
    static Point centre(const Rect& r) { return {r.x + r.width / 2, r.y + r.height / 2}; }

    Point random_point(const Rect& r) {
        return {std::uniform_int_distribution<int>(r.x, r.x + r.width - 1)(random_),
                std::uniform_int_distribution<int>(r.y, r.y + r.height - 1)(random_)};
    }

    Point board_point() {
        const std::optional<Point> aimed = referee_.aim();
        return aimed && random_() % 4 ? *aimed : random_point(layout_.board);
    }

    // A point of the window on neither the board nor a button (nor just beside one).
    Point off_board_point() {
        const Rect window{0, 0, layout_.width, layout_.height};
        const auto near_button = [](const Rect& b, Point p) {
            return Rect{b.x - 4, b.y - 4, b.width + 8, b.height + 8}.contains(p);
        };
        for (;;) {
            const Point p = random_point(window);
            if (!layout_.board.contains(p) && !near_button(layout_.new_button, p) && !near_button(layout_.quit_button, p))
                return p;
        }
    }

    // Mostly single clicks on the board; double and triple clicks there and elsewhere; now and
    // then New in a burst of one to four presses, rarely enough that games get played out.
    Event random_event() {
        const int roll = std::uniform_int_distribution<int>(0, 99)(random_);
        if (roll < 60) return {Event::BOARD, board_point(), 1};
        if (roll < 73) return {Event::BOARD, board_point(), 2};
        if (roll < 81) return {Event::BOARD, board_point(), 3};
        if (roll < 91) return {Event::OFF_BOARD, off_board_point(), 1};
        if (roll < 98) return {Event::OFF_BOARD, off_board_point(), roll % 2 ? 2 : 3};
        return {Event::NEW, centre(layout_.new_button), 1 + roll % 4};
    }

    /* Starts the program and clicks at random on the place where its board will appear (the
       window opens at the centre of the screen) until a little after the window shows: some
       clicks come before the first deal, which the start-up timer makes 150 ms after start. */
    std::unique_ptr<e2e::Program> start() {
        std::vector<std::string> command = wrapper_words();
        command.push_back(layout_.program);
        auto program = std::make_unique<e2e::Program>(command[0], std::vector<std::string>(command.begin() + 1, command.end()));
        const e2e::Geometry screen = e2e::screen_size();
        const Point origin{(screen.width - layout_.width) / 2, (screen.height - layout_.height) / 2};
        const auto give_up = Clock::now() + std::chrono::seconds(wrapped_ ? 300 : 20);
        std::optional<Clock::time_point> shown;
        while (!shown || Clock::now() - *shown < START_UP_CLICKS) {
            const Point at = random_point(layout_.board);
            e2e::click_screen(origin.x + at.x, origin.y + at.y);
            figures.start_up_clicks++;
            if (shown) figures.clicks_while_dealing++;
            if (!shown && program->has_window(layout_.title)) shown = Clock::now();
            if (program->wait_exit(milliseconds(0))) {
                ADD_FAILURE() << layout_.title << " ended while it started, under clicks";
                return nullptr;
            }
            if (Clock::now() > give_up) {
                ADD_FAILURE() << "no window titled " << layout_.title;
                return nullptr;
            }
        }
        program->wait_window(layout_.title);
        figures.start_ups++;
        return program;
    }

    // Sends one event and has the referee check the window after it.
    bool play(e2e::Program& program, const Event& event) {
        program.click(event.at.x, event.at.y, event.presses);
        count(event);
        if (program.wait_exit(milliseconds(0))) return fail(event, "the program ended");
        try {
            program.sync(milliseconds(wrapped_ ? 300000 : 20000));
        } catch (const std::runtime_error& e) {
            return fail(event, e.what());
        }
        const auto deadline = Clock::now() + (wrapped_ ? RECHECK_TIME * 20 : RECHECK_TIME);
        e2e::Image window = program.grab(0, 0, layout_.width, layout_.height);
        std::string problem = referee_.check(event, window);
        if (!problem.empty()) figures.late_readings++;
        while (!problem.empty() && Clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(30));
            window = program.grab(0, 0, layout_.width, layout_.height);
            problem = referee_.check(event, window);
        }
        if (!problem.empty()) return fail(event, problem + "; the window is saved in " + save(window));
        referee_.accept(event, window);
        const std::string complaints = program.standard_error();
        if (!complaints.empty()) return fail(event, "standard error: " + complaints);
        return true;
    }

    // A window as a PPM file, for a failure to be looked at.
    std::string save(const e2e::Image& window) const {
        const std::string path = std::string(P_tmpdir) + "/soak-" + layout_.title + "-" + std::to_string(figures.events) + ".ppm";
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fprintf(file, "P6\n%d %d\n255\n", window.width, window.height);
            std::fwrite(window.rgb.data(), 1, window.rgb.size(), file);
            std::fclose(file);
        }
        return path;
    }

    void count(const Event& event) {
        figures.events++;
        if (event.kind == Event::NEW) figures.new_bursts++;
        else if (event.kind == Event::OFF_BOARD) figures.off_board++;
        else if (event.presses == 1) figures.single++;
        else figures.repeated++;
    }

    bool fail(const Event& event, const std::string& problem) {
        ADD_FAILURE() << layout_.title << ", event " << figures.events << " (" << describe(event) << "): " << problem;
        return false;
    }

    void read_memory(const e2e::Program& program, int done, int events) {
        const long kib = program.resident_kib();
        if (figures.rss_first < 0) figures.rss_first = kib;
        if (figures.rss_settled < 0 && done >= events / 5) figures.rss_settled = kib;
        figures.rss_peak = std::max(figures.rss_peak, kib);
        figures.rss_last = kib;
    }

    // Ends the program as a player does, with the "gtk-quit" button.
    bool quit(e2e::Program& program) {
        program.click(layout_.quit_button.x + layout_.quit_button.width / 2,
                      layout_.quit_button.y + layout_.quit_button.height / 2);
        const auto ended = program.wait_exit(milliseconds(wrapped_ ? 120000 : 10000));
        if (!ended) {
            ADD_FAILURE() << layout_.title << " still runs after gtk-quit";
            return false;
        }
        EXPECT_TRUE(ended->exited && ended->status == 0)
            << layout_.title << " ended with " << (ended->exited ? "status " : "signal ") << ended->status;
        EXPECT_EQ(program.standard_error(), "") << layout_.title;
        return ended->exited && ended->status == 0;
    }

    const Layout& layout_;
    Referee& referee_;
    std::mt19937 random_;
    bool wrapped_;
};

}  // namespace

void run(const Layout& layout, Referee& referee, int events) {
    events = static_cast<int>(env_number("SOAK_EVENTS", events));
    const auto seed = static_cast<unsigned>(env_number("SOAK_SEED", std::random_device{}()));
    const bool wrapped = !wrapper_words().empty();
    SCOPED_TRACE("SOAK_SEED=" + std::to_string(seed));
    Soak soak(layout, referee, seed);
    const auto began = Clock::now();
    // A few short runs that test the start-up, then one long run whose memory is watched.
    const int start_ups = 1 + events / 1000;
    bool sound = true;
    for (int n = 0; n < start_ups && sound; n++) sound = soak.run_program(START_UP_RUN_EVENTS, false);
    if (sound) soak.run_program(events, !wrapped);
    const Figures& f = soak.figures;
    const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
    char memory[160] = "resident memory not watched under a wrapper";
    if (!wrapped)
        std::snprintf(memory, sizeof memory, "VmRSS %ld KiB at the start, %ld after a fifth of the events, %ld at most, "
                      "%ld at the end", f.rss_first, f.rss_settled, f.rss_peak, f.rss_last);
    std::printf("soak %s, seed %u: %d events in %.0f s (%d single clicks on the board, %d double or triple, "
                "%d off the board, %d bursts of New; %d read again); %d start-ups under %d clicks, %d of them "
                "in the %d ms after the window showed; %s; %s\n",
                layout.title.c_str(), seed, f.events, seconds, f.single, f.repeated, f.off_board, f.new_bursts,
                f.late_readings, f.start_ups, f.start_up_clicks, f.clicks_while_dealing,
                static_cast<int>(START_UP_CLICKS.count()), memory, referee.summary().c_str());
    if (!wrapped && f.rss_settled > 0) {
        EXPECT_LE(f.rss_last - f.rss_settled, RSS_ALLOWANCE_KIB) << "resident memory grew: a leak";
    }
}

}  // namespace soak
