// plimsy_soak_test.cpp: thousands of clicks on the real plimsy, each checked against the game's
// own rules unit run as a model: the pieces, the selection, both text lines and both labels.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "games/plimsy/rules.h"
#include "tests/plimsy/screen.h"
#include "tests/support/soak.h"

namespace {

using namespace plimsy_screen;
using soak::Event;

constexpr int SCORE_X = 100, RECORD_X = 290, LABEL_Y = 605, LABEL_W = 90, LABEL_H = 30;
constexpr std::string_view LETTERS = ".RFLCB";  // index = kind, as kinds_of reads them

// The rules' state, copied into the rules unit's globals to run a click and back out.
struct State {
    plimsy::Cell cells[plimsy::ROWS][plimsy::COLUMNS] = {};
    int32_t score = 0, robots_left = 0, sel_size = 0, sel_type = 0, last_column = plimsy::COLUMNS - 1;
    std::optional<int32_t> high_score;  // unknown after clicks that came before the soak's New

    void load() const {
        std::memcpy(board, cells, sizeof cells);
        ::score = score;
        ::high_score = high_score.value_or(0);
        ::robots_left = robots_left;
        ::sel_size = sel_size;
        ::sel_type = sel_type;
        ::last_column = last_column;
    }
    void save() {
        std::memcpy(cells, board, sizeof cells);
        score = ::score;
        if (high_score) high_score = ::high_score;
        robots_left = ::robots_left;
        sel_size = ::sel_size;
        sel_type = ::sel_type;
        last_column = ::last_column;
    }
};

class PlimsyReferee : public soak::Referee {
public:
    // The program starts with no record, but its start-up clicks may score before the first New.
    void restarted() override { state_ = State{}; }

    std::string check(const Event& event, const e2e::Image& window) override {
        const State expected = next(event, window);
        const e2e::Image canvas = window.part(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
        const Board shown = kinds_of(canvas);
        for (int row = 0; row < ROWS; row++)
            for (int col = 0; col < COLUMNS; col++) {
                const plimsy::Cell& cell = expected.cells[row][col];
                if (shown[row][col] != LETTERS[cell.kind] || selected(canvas, col, row) != (cell.selected == 1))
                    return "the board shows\n" + text(shown) + "selected " + std::to_string(selected_count(canvas)) +
                           ", the rules make\n" + text(rules_board(expected)) + "selected " +
                           std::to_string(expected.sel_size);
            }
        if (!robots_line_.fits(robots_key(expected), top_line(canvas))) return "the top line does not fit the robots left";
        const std::string bottom = bottom_key(expected);
        const e2e::Image line = bottom_line(canvas);
        if (bottom.empty() ? line.count(e2e::BLACK) != line.width * line.height : !bottom_line_.fits(bottom, line))
            return "the bottom line does not say \"" + bottom + "\"";
        if (!numbers_.fits(expected.score, score_label(window))) return "SCORE does not show " + std::to_string(expected.score);
        if (expected.high_score && !numbers_.fits(*expected.high_score, record_label(window)))
            return "RECORD does not show " + std::to_string(*expected.high_score);
        return "";
    }

    void accept(const Event& event, const e2e::Image& window) override {
        const State before = state_;
        state_ = next(event, window);
        removals_ += state_.score > before.score;
        wins_ += state_.robots_left <= 0 && before.robots_left > 0 && event.kind != Event::NEW;
        state_.load();
        games_over_ += !plimsy::group_left() && event.kind != Event::NEW;
        const e2e::Image canvas = window.part(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
        robots_line_.learn(robots_key(state_), top_line(canvas));
        if (!bottom_key(state_).empty()) bottom_line_.learn(bottom_key(state_), bottom_line(canvas));
        numbers_.learn(state_.score, score_label(window));
        if (state_.high_score) numbers_.learn(*state_.high_score, record_label(window));
    }

private:
    // The state after the event by the rules.  New deals a board the soak cannot foresee: it is
    // read from the screen, and only what init_game sets comes from the rules.
    State next(const Event& event, const e2e::Image& window) const {
        State after = state_;
        after.load();
        if (event.kind == Event::NEW) {
            init_game();
            const Board shown = kinds_of(window.part(0, 0, CANVAS_WIDTH, CANVAS_HEIGHT));
            for (int row = 0; row < ROWS; row++)
                for (int col = 0; col < COLUMNS; col++) {
                    const auto kind = static_cast<int32_t>(LETTERS.find(shown[row][col]));
                    board[row][col] = {kind, 0};
                    ::robots_left += kind == plimsy::ROBOT;
                }
            after.save();
            // Clicks before the soak's first New may have scored: the record then is what it shows.
            if (!after.high_score) after.high_score = numbers_.recognise(record_label(window));
            return after;
        }
        const int col = (event.at.x - GRID) / CELL, row = (event.at.y - GRID) / CELL;
        if (event.kind == Event::BOARD)
            for (int n = 0; n < event.presses; n++) plimsy::click_cell(col, row);
        after.save();
        return after;
    }

    static Board rules_board(const State& s) {
        Board rows(ROWS, std::string(COLUMNS, '.'));
        for (int row = 0; row < ROWS; row++)
            for (int col = 0; col < COLUMNS; col++) rows[row][col] = LETTERS[s.cells[row][col].kind];
        return rows;
    }
    static int robots_key(const State& s) { return s.robots_left > 0 ? s.robots_left : 0; }  // 0: "YOU WIN!"
    static std::string bottom_key(const State& s) {
        s.load();
        if (s.sel_size > 1) return "Selected " + std::to_string(s.sel_size);
        return plimsy::group_left() ? "" : "GAME OVER";
    }
    static e2e::Image top_line(const e2e::Image& canvas) { return canvas.part(0, 0, 500, GRID); }
    static e2e::Image bottom_line(const e2e::Image& canvas) { return canvas.part(0, 560, 500, CANVAS_HEIGHT - 560); }
    static e2e::Image score_label(const e2e::Image& w) { return w.part(SCORE_X, LABEL_Y, LABEL_W, LABEL_H); }
    static e2e::Image record_label(const e2e::Image& w) { return w.part(RECORD_X, LABEL_Y, LABEL_W, LABEL_H); }

    // A cell of the selected group, which removes it, else one of some group, which selects it.
    std::optional<soak::Point> aim() const override {
        std::optional<soak::Point> aimed;
        for (int row = 0; row < ROWS; row++)
            for (int col = 0; col < COLUMNS; col++) {
                const plimsy::Cell& cell = state_.cells[row][col];
                const bool joined = cell.kind != plimsy::EMPTY &&
                                    ((col + 1 < COLUMNS && state_.cells[row][col + 1].kind == cell.kind) ||
                                     (row + 1 < ROWS && state_.cells[row + 1][col].kind == cell.kind));
                if (cell.selected || (joined && !aimed)) aimed = soak::Point{centre_x(col), centre_y(row)};
                if (cell.selected) return aimed;
            }
        return aimed;
    }

    std::string summary() const override {
        return std::to_string(removals_) + " groups removed, " + std::to_string(wins_) + " games won, " +
               std::to_string(games_over_) + " events on a board with no group left";
    }

    State state_;
    int removals_ = 0, wins_ = 0, games_over_ = 0;
    soak::Appearance<int> robots_line_;
    soak::Appearance<std::string> bottom_line_;
    soak::Appearance<int> numbers_;  // SCORE and RECORD show a number alike
};

TEST(PlimsySoak, ClicksNewAndStartUpFollowTheRules) {
    const soak::Layout layout{WEX_BINARY_DIR "/games/plimsy/plimsy", "Plimsy", WINDOW_WIDTH, WINDOW_HEIGHT,
                              {GRID, GRID, COLUMNS * CELL, ROWS * CELL},
                              {710, LABEL_Y, LABEL_W, LABEL_H}, {805, LABEL_Y, LABEL_W, LABEL_H},
                              {0, 0, CANVAS_WIDTH, CANVAS_HEIGHT}, {GRID, GRID, CELL, COLUMNS, ROWS}, false};
    PlimsyReferee referee;
    soak::run(layout, referee, 250);
}

}  // namespace
