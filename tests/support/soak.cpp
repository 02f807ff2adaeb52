// soak.cpp: the soak's events and keys, the cursor they move, the program's start-ups and end,
// and the watch on its process.
#include "tests/support/soak.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
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
    int arrows = 0, held_arrows = 0, acts = 0, act_presses = 0, ctrl_n = 0, unused_keys = 0, ctrl_q = 0;
    int start_up_clicks = 0, clicks_while_dealing = 0;
    int late_readings = 0;  // readings that passed only when read again
    long rss_first = -1, rss_settled = -1, rss_peak = -1, rss_last = -1;
};

/* A key the soak types, and how often in a row: as fast as the server takes it, or held down
   for a while, when the X server repeats it as often as it does (an arrow only: the soak then
   reads from the screen how far the cursor went). */
struct KeyPress {
    enum Kind { ARROW, HELD_ARROW, ACT, NEW_GAME, UNUSED } kind;
    std::string name;  // xdotool's
    int dx = 0, dy = 0;
    int presses = 1;
};

// A click, or a key, which the referee takes as `event`.
struct Step {
    Event event;
    std::optional<KeyPress> key;
};

struct Arrow {
    const char* name;
    int dx, dy;
};
constexpr Arrow ARROWS[] = {{"Left", -1, 0}, {"Right", 1, 0}, {"Up", 0, -1}, {"Down", 0, 1},
                            {"KP_Left", -1, 0}, {"KP_Right", 1, 0}, {"KP_Up", 0, -1}, {"KP_Down", 0, 1}};
constexpr Arrow DIAGONALS[] = {{"KP_Home", -1, -1}, {"Prior", 1, -1}, {"End", -1, 1}, {"KP_Next", 1, 1},
                               {"Home", -1, -1}, {"KP_Prior", 1, -1}, {"KP_End", -1, 1}, {"Next", 1, 1}};
constexpr const char* ACT_KEYS[] = {"space", "Return", "KP_Enter"};
constexpr const char* UNUSED_KEYS[] = {"a", "n", "Escape", "F5", "BackSpace", "alt+x"};

std::string describe(const Step& step) {
    static const char* const KINDS[] = {"board", "off-board", "New"};
    const Event& event = step.event;
    std::string text = step.key ? "key " + step.key->name + " x" + std::to_string(step.key->presses) + ", taken as " : "";
    return text + KINDS[event.kind] + " x" + std::to_string(event.presses) + " at (" + std::to_string(event.at.x) + ", " +
           std::to_string(event.at.y) + ")";
}

using Place = std::pair<int, int>;  // (col, row)

// The keyboard cursor as the soak expects it, from the clicks and keys sent.
struct CursorModel {
    bool shown = false;
    Place at{-1, -1};
    std::optional<Place> start;  // where the first arrow shows it; unknown after the start-up clicks
};

// What the cursor may show after a step: hidden, or shown on one of some cells, or on any.
struct CursorRule {
    bool shown = false;
    bool anywhere = false;
    std::vector<Place> cells;
};

class Soak {
public:
    Soak(const Layout& layout, Referee& referee, unsigned seed)
        : layout_(layout), referee_(referee), random_(seed), wrapped_(!wrapper_words().empty()) {}

    // One program's life: started under clicks and keys, dealt with New, `events` events, quit
    // with the Quit button or with Ctrl+Q.
    bool run_program(int events, bool watch_memory, bool quit_by_key) {
        referee_.restarted();
        cursor_ = CursorModel{};
        std::unique_ptr<e2e::Program> program = start();
        if (!program || !play(*program, {{Event::NEW, centre(layout_.new_button), 1}, std::nullopt})) return false;
        // The soak reads the screen straight from the X server, some twenty times faster than
        // import, with which the end-to-end tests read it: both must see the same.
        if (program->grab(0, 0, layout_.width, layout_.height) != program->read(0, 0, layout_.width, layout_.height)) {
            ADD_FAILURE() << "XGetImage and import read the window differently";
            return false;
        }
        for (int n = 0; n < events; n++) {
            if (!play(*program, random_step())) return false;
            if (watch_memory && n % RSS_INTERVAL == 0) read_memory(*program, n, events);
        }
        if (watch_memory) read_memory(*program, events, events);
        return quit(*program, quit_by_key);
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

    int roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

    // Some 35 steps in 100 are keys: arrows pressed one to three times or held, Space, Return and
    // Enter once or in a burst, now and then Ctrl+N, and keys the games do not use (torvane's
    // diagonal keys among them in the other two games).
    Step random_step() {
        if (roll(100) >= 35) return {random_event(), std::nullopt};
        const int r = roll(100);
        KeyPress key;
        if (r < 55) {
            const Arrow& a = layout_.diagonals && roll(3) == 0 ? DIAGONALS[roll(8)] : ARROWS[roll(8)];
            const bool held = r < 8;
            key = {held ? KeyPress::HELD_ARROW : KeyPress::ARROW, a.name, a.dx, a.dy, held ? 1 : 1 + roll(3)};
        } else if (r < 92) {
            key = {KeyPress::ACT, ACT_KEYS[roll(3)], 0, 0, roll(4) ? 1 : 2 + roll(3)};
        } else if (r < 94) {
            key = {KeyPress::NEW_GAME, "ctrl+n", 0, 0, 1 + roll(2)};
        } else {
            const int unused = std::size(UNUSED_KEYS) + (layout_.diagonals ? 0 : std::size(DIAGONALS));
            const int pick = roll(unused);
            key = {KeyPress::UNUSED, pick < int(std::size(UNUSED_KEYS)) ? UNUSED_KEYS[pick] : DIAGONALS[pick - std::size(UNUSED_KEYS)].name};
        }
        return {taken_as(key), key};
    }

    // What the referee takes a key for, from where the cursor stands before it.
    Event taken_as(const KeyPress& key) const {
        if (key.kind == KeyPress::NEW_GAME) return {Event::NEW, centre(layout_.new_button), key.presses};
        if (key.kind != KeyPress::ACT || !cursor_.shown) return {Event::OFF_BOARD, {0, 0}, key.kind == KeyPress::ACT ? key.presses : 1};
        const keys::Board& g = layout_.grid;
        return {Event::BOARD,
                {layout_.canvas.x + g.left + g.cell * cursor_.at.first + g.cell / 2,
                 layout_.canvas.y + g.top + g.cell * cursor_.at.second + g.cell / 2},
                key.presses};
    }

    Place clamped(Place p) const {
        return {std::clamp(p.first, 0, layout_.grid.columns - 1), std::clamp(p.second, 0, layout_.grid.rows - 1)};
    }

    // The cell of a window point on the board.
    Place cell_at(Point p) const {
        const keys::Board& g = layout_.grid;
        return clamped({(p.x - layout_.canvas.x - g.left) / g.cell, (p.y - layout_.canvas.y - g.top) / g.cell});
    }

    // Where the cursor may be after the step: clicks on the canvas and New's button hide it; an
    // arrow shows it where it starts, or moves it one cell a press up to the edges.
    CursorRule cursor_rule(const Step& step) const {
        if (!step.key) {
            const bool hides = step.event.kind == Event::NEW || layout_.canvas.contains(step.event.at);
            return hides ? CursorRule{} : CursorRule{cursor_.shown, false, {cursor_.at}};
        }
        const KeyPress& key = *step.key;
        if (key.kind != KeyPress::ARROW && key.kind != KeyPress::HELD_ARROW) return {cursor_.shown, false, {cursor_.at}};
        std::optional<Place> from = cursor_.shown ? cursor_.at : cursor_.start;
        int steps = key.presses - (cursor_.shown ? 0 : 1);
        if (!from) return {true, true, {}};
        CursorRule rule{true, false, {}};
        const int longest = key.kind == KeyPress::HELD_ARROW ? std::max(layout_.grid.columns, layout_.grid.rows) : steps;
        for (int n = key.kind == KeyPress::HELD_ARROW ? 0 : steps; n <= longest; n++)
            rule.cells.push_back(clamped({from->first + n * key.dx, from->second + n * key.dy}));
        return rule;
    }

    std::string cursor_problem(const CursorRule& rule, const keys::Seen& seen) const {
        if (!seen.problem.empty()) return "the cursor: " + seen.problem;
        if (seen.shown != rule.shown) return rule.shown ? "no cursor shows" : "the cursor still shows";
        if (!seen.shown || rule.anywhere) return "";
        if (std::find(rule.cells.begin(), rule.cells.end(), Place{seen.col, seen.row}) != rule.cells.end()) return "";
        return "the cursor shows on (" + std::to_string(seen.col) + ", " + std::to_string(seen.row) + "), expected (" +
               std::to_string(rule.cells.front().first) + ", " + std::to_string(rule.cells.front().second) + ")" +
               (rule.cells.size() > 1 ? " or further on" : "");
    }

    // A click on the board is where the next first arrow shows the cursor.
    void move_cursor_model(const Step& step, const keys::Seen& seen) {
        if (!step.key && step.event.kind == Event::BOARD) cursor_.start = cell_at(step.event.at);
        cursor_.shown = seen.shown;
        cursor_.at = {seen.col, seen.row};
    }

    void send(e2e::Program& program, const Step& step) {
        if (!step.key) return program.click(step.event.at.x, step.event.at.y, step.event.presses);
        if (step.key->kind == KeyPress::HELD_ARROW) return program.hold_key(step.key->name, milliseconds(300 + roll(500)));
        program.keys({step.key->name}, step.key->presses);
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
            // Keys too, to the window under the pointer: before the first deal they do nothing.
            // Not under a wrapper, where the deal comes late among them and leaves a cursor that
            // the model, which starts hidden, cannot know.
            if (!wrapped_) e2e::run_command({"xdotool", "key", "--delay", "0", ARROWS[roll(8)].name, ACT_KEYS[roll(3)]});
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

    // Sends one step and checks the window after it: the cursor here, the rest by the referee,
    // which sees the window with every cell's frame painted out.
    bool play(e2e::Program& program, const Step& step) {
        const CursorRule rule = cursor_rule(step);
        send(program, step);
        count(step);
        if (program.wait_exit(milliseconds(0))) return fail(step, "the program ended");
        try {
            program.sync(milliseconds(wrapped_ ? 300000 : 20000));
        } catch (const std::runtime_error& e) {
            return fail(step, e.what());
        }
        const auto deadline = Clock::now() + (wrapped_ ? RECHECK_TIME * 20 : RECHECK_TIME);
        e2e::Image window, painted;
        keys::Seen seen;
        std::string problem;
        const auto judge = [&] {
            window = program.grab(0, 0, layout_.width, layout_.height);
            const Rect& c = layout_.canvas;
            seen = keys::find_cursor(window.part(c.x, c.y, c.width, c.height), layout_.grid);
            painted = window;
            keys::hide_frames(painted, c.x, c.y, layout_.grid);
            problem = cursor_problem(rule, seen);
            if (problem.empty()) problem = referee_.check(step.event, painted);
        };
        judge();
        if (!problem.empty()) figures.late_readings++;
        while (!problem.empty() && Clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(30));
            judge();
        }
        if (!problem.empty()) return fail(step, problem + "; the window is saved in " + save(window));
        referee_.accept(step.event, painted);
        move_cursor_model(step, seen);
        const std::string complaints = program.standard_error();
        if (!complaints.empty()) return fail(step, "standard error: " + complaints);
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

    void count(const Step& step) {
        figures.events++;
        if (step.key) return count(*step.key);
        const Event& event = step.event;
        if (event.kind == Event::NEW) figures.new_bursts++;
        else if (event.kind == Event::OFF_BOARD) figures.off_board++;
        else if (event.presses == 1) figures.single++;
        else figures.repeated++;
    }

    void count(const KeyPress& key) {
        int* const COUNTS[] = {&figures.arrows, &figures.held_arrows, &figures.acts, &figures.ctrl_n, &figures.unused_keys};
        (*COUNTS[key.kind])++;
        if (key.kind == KeyPress::ACT) figures.act_presses += key.presses;
    }

    bool fail(const Step& step, const std::string& problem) {
        ADD_FAILURE() << layout_.title << ", event " << figures.events << " (" << describe(step) << "): " << problem;
        return false;
    }

    void read_memory(const e2e::Program& program, int done, int events) {
        const long kib = program.resident_kib();
        if (figures.rss_first < 0) figures.rss_first = kib;
        if (figures.rss_settled < 0 && done >= events / 5) figures.rss_settled = kib;
        figures.rss_peak = std::max(figures.rss_peak, kib);
        figures.rss_last = kib;
    }

    // Ends the program as a player does, with the "gtk-quit" button or Ctrl+Q.
    bool quit(e2e::Program& program, bool by_key) {
        if (by_key) {
            program.keys({"ctrl+q"});
            figures.ctrl_q++;
        } else {
            program.click(layout_.quit_button.x + layout_.quit_button.width / 2,
                          layout_.quit_button.y + layout_.quit_button.height / 2);
        }
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
    CursorModel cursor_;
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
    for (int n = 0; n < start_ups && sound; n++) sound = soak.run_program(START_UP_RUN_EVENTS, false, n % 2 == 0);
    if (sound) soak.run_program(events, !wrapped, false);
    const Figures& f = soak.figures;
    const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
    char memory[160] = "resident memory not watched under a wrapper";
    if (!wrapped)
        std::snprintf(memory, sizeof memory, "VmRSS %ld KiB at the start, %ld after a fifth of the events, %ld at most, "
                      "%ld at the end", f.rss_first, f.rss_settled, f.rss_peak, f.rss_last);
    std::printf("soak %s, seed %u: %d events in %.0f s (%d single clicks on the board, %d double or triple, "
                "%d off the board, %d bursts of New; keys: %d arrows pressed 1 to 3 times, %d held, %d of Space, "
                "Return or Enter with %d presses, %d of Ctrl+N, %d unused, %d quits by Ctrl+Q; %d read again); "
                "%d start-ups under %d clicks and keys, %d of them in the %d ms after the window showed; %s; %s\n",
                layout.title.c_str(), seed, f.events, seconds, f.single, f.repeated, f.off_board, f.new_bursts,
                f.arrows, f.held_arrows, f.acts, f.act_presses, f.ctrl_n, f.unused_keys, f.ctrl_q,
                f.late_readings, f.start_ups, f.start_up_clicks, f.clicks_while_dealing,
                static_cast<int>(START_UP_CLICKS.count()), memory, referee.summary().c_str());
    if (!wrapped && f.rss_settled > 0) {
        EXPECT_LE(f.rss_last - f.rss_settled, RSS_ALLOWANCE_KIB) << "resident memory grew: a leak";
    }
}

}  // namespace soak
