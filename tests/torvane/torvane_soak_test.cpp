// torvane_soak_test.cpp: thousands of clicks on the real torvane.  The robots' order and the
// energy do not show, so each click is checked against what the rules allow on the cells the
// screen shows, and the labels, gauges and overlays against the state they must tell.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/soak.h"
#include "tests/torvane/screen.h"

namespace {

using namespace torvane_screen;
using soak::Event;

// What the soak reads of one window.
struct Reading {
    Image canvas, score, level, record, energy, batteries;
    explicit Reading(const Image& w)
        : canvas(w.part(CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE)),
          score(w.part(LEFT_X, SCORE_Y, CONTROL_W, CONTROL_H)),
          level(w.part(RIGHT_X, LEVEL_Y, CONTROL_W, CONTROL_H)),
          record(w.part(LEFT_X, RECORD_Y, CONTROL_W, CONTROL_H)),
          energy(w.part(LEFT_X, GAUGE_Y, CONTROL_W, GAUGE_H)),
          batteries(w.part(RIGHT_X, GAUGE_Y, CONTROL_W, GAUGE_H)) {}
    bool same_as(const Reading& o) const {
        return canvas == o.canvas && score == o.score && level == o.level && record == o.record &&
               energy == o.energy && batteries == o.batteries;
    }
};

enum Phase { PLAYING, COMPLETE, OVER };

class TorvaneReferee : public soak::Referee {
public:
    void restarted() override { last_.reset(); }

    std::string check(const Event& event, const Image& window) override {
        const Reading now(window);
        if (event.kind == Event::NEW) return fresh_level(now, 1, "New");
        if (!last_) return "no game was dealt";
        if (event.kind == Event::OFF_BOARD || phase_ == OVER)
            return now.same_as(*last_) ? "" : "the window changed, but nothing was to change";
        const Cell target{(event.at.x - CANVAS_X) / CELL, event.at.y / CELL};
        if (phase_ == COMPLETE) return next_level(now, event.presses);
        return event.presses == 1 && !shows_game_over(now.canvas) ? one_step(now, target) : steps(now, event.presses);
    }

    void accept(const Event& event, const Image& window) override {
        Reading now(window);
        if (event.kind == Event::NEW) level_ = 1;
        else if (event.kind == Event::BOARD && phase_ == COMPLETE) level_++;
        else if (event.kind == Event::BOARD && phase_ == PLAYING && !numbers_.fits(level_, now.level)) level_++;
        const Phase before = phase_;
        phase_ = shows_game_over(now.canvas) ? OVER : shows_level_complete(now.canvas) ? COMPLETE : PLAYING;
        games_over += phase_ == OVER && before != OVER;
        levels_completed += phase_ == COMPLETE && before != COMPLETE;
        const Board board = classify(now.canvas);
        numbers_.learn(level_, now.level);
        if (event.kind == Event::NEW) numbers_.learn(0, now.score);
        if (phase_ == PLAYING) battery_gauge_.learn(board.count(BATTERY), now.batteries);
        last_.emplace(now);
    }

private:
    // A level just dealt: a full set of items, no crater, every robot on a free cell, no text.
    std::string fresh_level(const Reading& now, int level, const char* by) const {
        const Board b = classify(now.canvas);
        if (b.count(TREE) != 12 || b.count(MINE) != 12 || b.count(BATTERY) != 12 || b.count(CRATER) || b.count(OTHER))
            return std::string(by) + " dealt no fresh level";
        if (b.count(ROBOT) < 1 || b.count(ROBOT) > 12) return std::string(by) + " dealt " + std::to_string(b.count(ROBOT)) + " robot cells";
        if (!numbers_.fits(level, now.level)) return "LEVEL does not show " + std::to_string(level);
        if (!battery_gauge_.fits(12, now.batteries)) return "the battery gauge is not full";
        if (level == 1) {
            if (!numbers_.fits(0, now.score)) return "SCORE does not show 0 after New";
            const double energy = knob_position(now.energy);
            if (energy < 0.2 || energy > 0.4) return "the energy gauge is not at 216 of 300 after New";
        }
        return "";
    }

    // The click after a completed level pays the bonus and deals the next one.
    std::string next_level(const Reading& now, int presses) const {
        if (presses == 1) {
            if (now.record != last_->record) return "RECORD changed without New";
            if (knob_position(now.energy) > knob_position(last_->energy) + 0.005) return "energy fell at the bonus";
            return fresh_level(now, level_ + 1, "the click after a completed level");
        }
        return numbers_.fits(level_ + 1, now.level) ? "" : "LEVEL does not show " + std::to_string(level_ + 1);
    }

    // One press that leaves energy: the robots' steps as far as the cells tell, and the gauges,
    // labels and texts.  (When the energy runs out, the robots after the last step stay.)
    std::string one_step(const Reading& now, Cell target) const {
        const Board before = classify(last_->canvas), after = classify(now.canvas);
        if (const std::string problem = check_click(before, after, target).problem; !problem.empty()) return problem;
        if (now.level != last_->level || now.record != last_->record) return "LEVEL or RECORD changed on a move";
        if (shows_level_complete(now.canvas)) return after.count(BATTERY) == 0 ? "" : "Level complete with batteries left";
        if (after.count(OTHER)) return "cells show no known picture";
        if (after.count(BATTERY) == 0) return "all batteries collected, and no Level complete";
        const bool collected = after.count(BATTERY) < before.count(BATTERY);
        if (after.count(BATTERY) > before.count(BATTERY)) return "batteries appeared";
        if (!battery_gauge_.fits(after.count(BATTERY), now.batteries)) return "the battery gauge does not show the batteries";
        if (collected == (now.score == last_->score)) return "SCORE changed other than by the batteries collected";
        if (!collected && knob_position(now.energy) < knob_position(last_->energy) - 0.005)
            return "energy rose, and no battery was collected";
        return "";
    }

    // Several presses, or the one that spends the last energy: each robot at most one cell a
    // press from where it was, unless a level was completed and the next one dealt on the way.
    std::string steps(const Reading& now, int presses) const {
        if (now.record != last_->record) return "RECORD changed without New";
        const Board before = classify(last_->canvas), after = classify(now.canvas);
        if (numbers_.fits(level_, now.level)) {
            for (Cell robot : after.cells(ROBOT)) {
                int nearest = CELLS;
                for (Cell origin : before.cells(ROBOT)) nearest = std::min(nearest, distance(robot, origin));
                for (Cell hidden : before.cells(OTHER)) nearest = std::min(nearest, distance(robot, hidden));
                if (nearest > presses)
                    return "a robot on (" + std::to_string(robot.first) + ", " + std::to_string(robot.second) + ") came " +
                           std::to_string(nearest) + " cells in " + std::to_string(presses) + " presses";
            }
            if (after.count(BATTERY) > before.count(BATTERY)) return "batteries appeared";
            return "";
        }
        return numbers_.fits(level_ + 1, now.level) ? "" : "LEVEL shows neither this level nor the next";
    }

    // The battery nearest to a robot, which the robots then head for.
    std::optional<soak::Point> aim() const override {
        if (!last_) return std::nullopt;
        const Board board = classify(last_->canvas);
        std::optional<Cell> nearest;
        int best = CELLS;
        for (Cell battery : board.cells(BATTERY))
            for (Cell robot : board.cells(ROBOT))
                if (distance(battery, robot) < best) best = distance(battery, robot), nearest = battery;
        if (!nearest) return std::nullopt;
        return soak::Point{CANVAS_X + CELL / 2 + CELL * nearest->first, CELL / 2 + CELL * nearest->second};
    }

    std::string summary() const override {
        return std::to_string(levels_completed) + " levels completed, " + std::to_string(games_over) + " games over";
    }

    std::optional<Reading> last_;
    int level_ = 1, levels_completed = 0, games_over = 0;
    Phase phase_ = PLAYING;
    soak::Appearance<int> numbers_;        // SCORE and LEVEL show a number alike
    soak::Appearance<int> battery_gauge_;  // by the batteries left
};

TEST(TorvaneSoak, ClicksNewAndStartUpFollowTheRules) {
    const soak::Layout layout{WEX_BINARY_DIR "/games/torvane/torvane", "Torvane", 960, 720,
                              {CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE},
                              {RIGHT_X, NEW_Y, CONTROL_W, CONTROL_H}, {RIGHT_X, QUIT_Y, CONTROL_W, CONTROL_H},
                              {CANVAS_X, 0, CANVAS_SIZE, CANVAS_SIZE}, {0, 0, CELL, CELLS, CELLS}, true};
    TorvaneReferee referee;
    soak::run(layout, referee, 250);
}

}  // namespace
