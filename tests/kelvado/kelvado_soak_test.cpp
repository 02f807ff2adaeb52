// kelvado_soak_test.cpp: thousands of clicks on the real kelvado, each checked against the
// game's own rules unit run as a model.  What the screen does not tell (the resources a game
// starts with, the tile under a cell explored and used in one series of presses) makes several
// candidate states; each event keeps those that the window shows.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "games/kelvado/rules.h"
#include "runtime/runtime.h"
#include "tests/kelvado/screen.h"
#include "tests/support/soak.h"

using namespace kelvado;

namespace {

// The screen's names; its tile kinds are the rules' own numbers.
using namespace kelvado_screen::layout;
using kelvado_screen::HIDDEN;
using kelvado_screen::Image;
using kelvado_screen::Shown;
using soak::Event;

constexpr int32_t START_USES[] = {0, 3, 2, 2, 2};  // by kind, as a new board deals them

struct Tile {
    int32_t kind = 0, uses = 0, seen = 0;
    bool known = false;  // the kind of a hidden cell is not known until the screen shows it
    auto operator<=>(const Tile&) const = default;
};

// The rules' state, copied into the rules unit's globals to run a click and back out.
struct State {
    std::array<std::array<Tile, CELLS>, CELLS> cells{};
    int32_t game_time = 25, folk = 0, food = 0, wood = 0, explored = 0, moves = 0;
    std::string message;
    auto operator<=>(const State&) const = default;

    void load() const {
        for (int row = 0; row < CELLS; row++)
            for (int col = 0; col < CELLS; col++) {
                const Tile& t = cells[row][col];
                board[row][col] = Cell{t.kind, t.uses, t.seen};
            }
        ::game_time = game_time, ::folk = folk, ::food = food, ::wood = wood;
        ::explored = explored, ::moves = moves;
        T4K_ASSIGN(message$, message.c_str());
    }
    void save() {
        for (int row = 0; row < CELLS; row++)
            for (int col = 0; col < CELLS; col++) {
                Tile& t = cells[row][col];
                t.kind = board[row][col].kind, t.uses = board[row][col].uses, t.seen = board[row][col].seen;
            }
        game_time = ::game_time, folk = ::folk, food = ::food, wood = ::wood;
        explored = ::explored, moves = ::moves;
        message = message$ ? message$ : "";
    }
    bool running() const { return game_time > 0 && explored < BOARD_CELLS; }
    std::string overlay() const {
        if (explored >= BOARD_CELLS) return "VICTORY!";
        return game_time <= 0 ? "GAME OVER" : message;
    }
};

// What the soak reads of one window.
struct Reading {
    std::array<std::array<Shown, CELLS>, CELLS> shown{};
    Image overlay;  // the canvas above the grid, where the messages begin
    std::array<Image, 5> numbers;  // TIME, FOLK, FOOD, WOOD, Moves
    Image explored;

    explicit Reading(const Image& w) {
        const Image canvas = w.part(CANVAS_LEFT, 0, CANVAS_SIZE, CANVAS_SIZE);
        for (int row = 0; row < CELLS; row++)
            for (int col = 0; col < CELLS; col++) shown[row][col] = kelvado_screen::shown_at(canvas, col, row);
        overlay = canvas.part(0, 0, CANVAS_SIZE, GRID_START);
        const int ys[] = {TIME_LABEL_Y, FOLK_LABEL_Y, FOOD_LABEL_Y, WOOD_LABEL_Y};
        for (int i = 0; i < 4; i++) numbers[i] = w.part(LEFT_LABELS_X, ys[i], LABEL_WIDTH, LABEL_HEIGHT);
        numbers[4] = w.part(RIGHT_LABELS_X, MOVES_LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT);
        explored = w.part(RIGHT_LABELS_X, EXPLORED_LABEL_Y, LABEL_WIDTH, LABEL_HEIGHT);
    }
};

std::array<int32_t, 5> numbers_of(const State& s) { return {s.game_time, s.folk, s.food, s.wood, s.moves}; }

class KelvadoReferee : public soak::Referee {
public:
    void restarted() override { candidates_.clear(); }

    std::string check(const Event& event, const Image& window) override {
        std::string problem;
        return next(event, Reading(window), problem).empty() ? problem : "";
    }

    void accept(const Event& event, const Image& window) override {
        const Reading reading(window);
        const bool was_running = !candidates_.empty() && candidates_.begin()->running();
        std::string problem;
        candidates_ = next(event, reading, problem);
        // What every candidate agrees on is known: its pixels are learned.
        const State& first = *candidates_.begin();
        const std::array<int32_t, 5> values = numbers_of(first);
        for (size_t i = 0; i < values.size(); i++) {
            bool agreed = true;
            for (const State& c : candidates_) agreed = agreed && numbers_of(c)[i] == values[i];
            if (agreed) numbers_.learn(values[i], reading.numbers[i]);
        }
        bool agreed = true;
        for (const State& c : candidates_) agreed = agreed && c.explored == first.explored && c.overlay() == first.overlay();
        if (agreed) {
            explored_.learn(first.explored, reading.explored);
            if (!first.overlay().empty()) overlays_.learn(first.overlay(), reading.overlay);
        }
        games_ended_ += was_running && !first.running();
        most_candidates_ = std::max(most_candidates_, candidates_.size());
    }

    std::string summary() const override {
        return std::to_string(games_ended_) + " games played to their end, at most " + std::to_string(most_candidates_) +
               " candidate states at once";
    }

private:
    // The states the event leads to from each candidate, that fit the window.
    std::set<State> next(const Event& event, const Reading& reading, std::string& problem) const {
        std::vector<State> reached;
        if (event.kind == Event::NEW) {
            reached = dealt(reading);
        } else if (event.kind == Event::OFF_BOARD) {
            reached.assign(candidates_.begin(), candidates_.end());
        } else {
            const int col = (event.at.x - CANVAS_LEFT - GRID_START) / CELL, row = (event.at.y - GRID_START) / CELL;
            for (const State& c : candidates_) {
                std::vector<State> states{c};
                for (int n = 0; n < event.presses; n++) states = press(states, col, row);
                reached.insert(reached.end(), states.begin(), states.end());
            }
        }
        std::set<State> fitting;
        for (State& s : reached) {
            const std::string why = fit(s, reading);
            if (why.empty()) fitting.insert(s);
            else if (problem.empty()) problem = why;
        }
        if (reached.empty()) problem = "no game was dealt";
        return fitting;
    }

    // A new game: its resources read where their pixels are known, else each of 3, 4 and 5.
    std::vector<State> dealt(const Reading& reading) const {
        std::vector<State> games{State{}};
        for (int i = 1; i <= 3; i++) {
            const std::optional<int> known = numbers_.recognise(reading.numbers[i]);
            std::vector<State> more;
            for (const State& g : games)
                for (int value = 3; value <= 5; value++) {
                    if (known && *known != value) continue;
                    State s = g;
                    (i == 1 ? s.folk : i == 2 ? s.food : s.wood) = value;
                    more.push_back(s);
                }
            games = more;
        }
        return games;
    }

    // One press on (col, row) as the click handler makes it; a cell explored earlier in the same
    // series, whose tile is not known yet, is tried as every kind.
    static std::vector<State> press(const std::vector<State>& states, int col, int row) {
        std::vector<State> after;
        for (const State& s : states) {
            if (!s.running()) {
                after.push_back(s);
                continue;
            }
            std::vector<State> tries{s};
            const Tile& t = s.cells[row][col];
            if (t.seen && !t.known) {
                tries.clear();
                for (int32_t kind = EMPTY; kind <= VILLAGE; kind++) {
                    State k = s;
                    k.cells[row][col] = Tile{kind, START_USES[kind], 1, true};
                    tries.push_back(k);
                }
            }
            for (State& k : tries) {
                const Tile before = k.cells[row][col];
                k.load();
                click_cell(col, row);
                k.save();
                k.cells[row][col].known = before.known;
                after.push_back(k);
            }
        }
        return after;
    }

    // "" when the window shows the state; a tile the state did not know is taken from it.
    std::string fit(State& s, const Reading& r) const {
        const bool ended = !s.running();  // the large end text reaches over the first row
        for (int row = ended ? 1 : 0; row < CELLS; row++)
            for (int col = 0; col < CELLS; col++) {
                Tile& t = s.cells[row][col];
                const int shown = r.shown[row][col];
                const std::string where = " at " + std::to_string(col) + "," + std::to_string(row);
                if (!t.seen) {
                    if (shown != HIDDEN) return "a hidden cell shows " + std::to_string(shown) + where;
                } else if (t.known) {
                    if (shown != t.kind) return "the tile " + std::to_string(t.kind) + " shows " + std::to_string(shown) + where;
                } else if (shown >= MOUNTAIN && shown <= VILLAGE) {
                    t = Tile{shown, START_USES[shown], 1, true};
                } else if (shown == EMPTY) {
                    t = Tile{EMPTY, 0, 1, true};
                } else {
                    return "a cell just explored shows " + std::to_string(shown) + where;
                }
            }
        static const char* const LABELS[] = {"TIME", "FOLK", "FOOD", "WOOD", "Moves"};
        const std::array<int32_t, 5> values = numbers_of(s);
        for (size_t i = 0; i < values.size(); i++)
            if (!numbers_.fits(values[i], r.numbers[i])) return std::string(LABELS[i]) + " does not show " + std::to_string(values[i]);
        if (!explored_.fits(s.explored, r.explored)) return "Explored does not show " + std::to_string(s.explored) + "%";
        const std::string text = s.overlay();
        if (text.empty() ? r.overlay.count(e2e::BLACK) != r.overlay.width * r.overlay.height : !overlays_.fits(text, r.overlay))
            return "the text over the board is not \"" + text + "\"";
        return "";
    }

    std::set<State> candidates_;
    soak::Appearance<int> numbers_;  // the five labels that show a plain number
    soak::Appearance<int> explored_;
    soak::Appearance<std::string> overlays_;
    int games_ended_ = 0;
    size_t most_candidates_ = 0;
};

TEST(KelvadoSoak, ClicksNewAndStartUpFollowTheRules) {
    const soak::Layout layout{WEX_BINARY_DIR "/games/kelvado/kelvado", "Kelvado", WINDOW_WIDTH, WINDOW_HEIGHT,
                              {CANVAS_LEFT + GRID_START, GRID_START, CELLS * CELL, CELLS * CELL},
                              {NEW_BUTTON_X, NEW_BUTTON_Y, LABEL_WIDTH, LABEL_HEIGHT},
                              {QUIT_BUTTON_X, QUIT_BUTTON_Y, LABEL_WIDTH, LABEL_HEIGHT},
                              {CANVAS_LEFT, 0, CANVAS_SIZE, CANVAS_SIZE}, {GRID_START, GRID_START, CELL, CELLS, CELLS}, false};
    KelvadoReferee referee;
    soak::run(layout, referee, 250);
}

}  // namespace
