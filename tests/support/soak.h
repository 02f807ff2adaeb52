// soak.h: a long run of clicks and keys on a real game: single, double and triple clicks on and
// off the board, New in bursts, clicks while the program starts, and among them the keyboard's
// arrows (pressed and held), Space and Return, Ctrl+N and keys the games do not use, each checked
// by the game's referee, the keyboard cursor by the soak itself, with the process's life, its
// standard error and its resident memory watched throughout.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "tests/support/keys.h"
#include "tests/support/x11_session.h"

namespace soak {

struct Point {
    int x, y;
};

struct Rect {
    int x, y, width, height;
    bool contains(Point p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }
};

// Where the game's window puts what the soak clicks, in window pixels.
struct Layout {
    std::string program;
    std::string title;
    int width, height;  // of the window
    Rect board;         // every pixel of it lies on a cell
    Rect new_button, quit_button;
    Rect canvas;        // a click anywhere on it hides the keyboard cursor
    keys::Board grid;   // the board's cells on the canvas, where the cursor moves
    bool diagonals;     // whether the cursor also moves diagonally
};

// Presses at one point of the window: on the board, somewhere else (but on no button), or on New.
// A key is handed to the referee as what it does: Space or Return as presses on the cursor's
// cell (or, with no cursor, as presses that change nothing), Ctrl+N as New, any other key as a
// press off the board; the referee sees the window with the cursor's frame painted out.
struct Event {
    enum Kind { BOARD, OFF_BOARD, NEW } kind;
    Point at;
    int presses;
};

/* The game's side of a soak: it reads the window and knows the rules.  check() says what is
   wrong with the window after an event ("" when nothing), judged from what it accepted before;
   it may be asked again about a later reading of the same event.  accept() takes that reading
   as the state the next event starts from.  After NEW the window must show a game just dealt.
   Every program starts under clicks and is then dealt a game with New: restarted() comes
   first, and the referee forgets what a program's start-up clicks may have changed. */
class Referee {
public:
    virtual ~Referee() = default;
    virtual void restarted() = 0;
    // What the game went through, for the figures: games ended, levels completed and the like.
    virtual std::string summary() const = 0;
    // A point of the board worth clicking next, so that play goes deep (a group to remove, a
    // battery to collect); three clicks on the board in four go there when there is one.
    virtual std::optional<Point> aim() const { return std::nullopt; }
    virtual std::string check(const Event& event, const e2e::Image& window) = 0;
    virtual void accept(const Event& event, const e2e::Image& window) = 0;
};

/* The pixels a part of the window showed for each value it stood for, learned as the soak goes
   (the games draw numbers and texts, which the soak does not read): a value must show the same
   pixels every time, and two values must not show the same pixels. */
template <class Key> class Appearance {
public:
    bool fits(const Key& key, const e2e::Image& image) const {
        auto known = seen_.find(key);
        if (known != seen_.end()) return known->second == image;
        const std::optional<Key> other = recognise(image);
        return !other;
    }
    void learn(const Key& key, const e2e::Image& image) { seen_.emplace(key, image); }
    std::optional<Key> recognise(const e2e::Image& image) const {
        for (const auto& [key, known] : seen_)
            if (known == image) return key;
        return std::nullopt;
    }

private:
    std::map<Key, e2e::Image> seen_;
};

// Runs the soak: SOAK_EVENTS events (else `events`), from the seed SOAK_SEED (else a fresh one),
// the program started through SOAK_WRAPPER when set (for example valgrind and its options).
// Failures are reported through GoogleTest; the figures are printed.
void run(const Layout& layout, Referee& referee, int events);

}  // namespace soak
