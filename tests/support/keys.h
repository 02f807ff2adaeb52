// keys.h: the games' keyboard cursor as the screen shows it, and the board's accessible
// description as the accessibility layer gives it (through the probe module, atk_probe.cpp).
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/x11_session.h"

namespace keys {

// A board's grid on its canvas, in canvas pixels.
struct Board {
    int left, top, cell, columns, rows;
};

constexpr e2e::Rgb CURSOR{255, 0, 255};  // the cursor's magenta, the same in the three games

// Whether canvas pixel (x, y) lies on the cursor's frame in cell (col, row): two pixels wide,
// two pixels inside the cell's grid lines.
inline bool on_frame(const Board& b, int col, int row, int x, int y) {
    const int dx = x - (b.left + b.cell * col), dy = y - (b.top + b.cell * row), far = b.cell - 2;
    if (dx < 2 || dy < 2 || dx > far || dy > far) return false;
    return std::min(dx, dy) <= 3 || std::max(dx, dy) >= far - 1;
}

struct Seen {
    bool shown = false;
    int col = -1, row = -1;
    std::string problem;  // "" when the canvas shows one whole frame, or none
};

// Where the canvas shows the cursor: no magenta at all, or the frame of one cell, most of it
// (the game's texts may cover a little) and no magenta anywhere else.
inline Seen find_cursor(const e2e::Image& canvas, const Board& b) {
    Seen seen;
    const int total = canvas.count(CURSOR);
    if (total == 0) return seen;
    for (int row = 0; row < b.rows && !seen.shown; row++)
        for (int col = 0; col < b.columns && !seen.shown; col++) {
            const int x0 = b.left + b.cell * col, y0 = b.top + b.cell * row;
            int on = 0, ring = 0;
            for (int y = y0; y < y0 + b.cell; y++)
                for (int x = x0; x < x0 + b.cell; x++)
                    if (on_frame(b, col, row, x, y)) ring++, on += canvas.at(x, y) == CURSOR;
            if (on * 2 < ring) continue;
            seen = {true, col, row, on == total ? "" : "magenta outside the cursor's frame"};
        }
    if (!seen.shown) seen.problem = std::to_string(total) + " magenta pixels and no whole frame";
    return seen;
}

// Paints every cell's frame black: what the canvas shows with the cursor hidden, as far as
// anything but the frame can tell.
inline void hide_frames(e2e::Image& window, int canvas_x, int canvas_y, const Board& b) {
    for (int row = 0; row < b.rows; row++)
        for (int col = 0; col < b.columns; col++)
            for (int y = 0; y < b.cell; y++)
                for (int x = 0; x < b.cell; x++) {
                    const int cx = b.left + b.cell * col + x, cy = b.top + b.cell * row + y;
                    if (!on_frame(b, col, row, cx, cy)) continue;
                    const size_t at = 3 * (size_t(canvas_y + cy) * window.width + size_t(canvas_x + cx));
                    if (at + 2 < window.rgb.size()) window.rgb[at] = window.rgb[at + 1] = window.rgb[at + 2] = 0;
                }
}

// The probe module, loaded into a game through GTK_MODULES, writes the canvas's accessible
// name and description to the file ATK_PROBE_FILE names each time they change.
constexpr const char* PROBE_FILE_VARIABLE = "ATK_PROBE_FILE";

struct Spoken {
    std::string name, description;
    bool operator==(const Spoken&) const = default;
};

inline Spoken read_probe(const std::string& path) {
    std::ifstream in(path);
    Spoken s;
    std::getline(in, s.name);
    std::getline(in, s.description);
    return s;
}

// Reads the probe's file until it says `expected`, for up to two seconds; returns the last reading.
inline Spoken wait_spoken(const std::string& path, const Spoken& expected) {
    Spoken s = read_probe(path);
    for (int n = 0; n < 100 && !(s == expected); n++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        s = read_probe(path);
    }
    return s;
}

}  // namespace keys
