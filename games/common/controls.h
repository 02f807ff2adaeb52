// controls.h: a window's labels, buttons and gauges as one table made and placed in its order,
// and the label that shows a number.
#pragma once
#include <cstdint>
#include <span>

#include "wex/wex.h"

namespace shapes {

enum class ControlKind { LABEL, BUTTON, GAUGE };

struct Control {
    ControlKind kind;
    const char* text;        // a label's markup or a button's stock id
    int x, y;                // its place in the window
    Widget* keep;            // where its handle is kept; null for a caption
    wex::Callback on_click;  // a button's callback
    const int32_t* value;    // a gauge's first value
    int maximum;             // a gauge runs from 0 to maximum
    int height;              // a gauge's height; labels and buttons are all one size
};

constexpr Control label(const char* markup, int x, int y, Widget* keep = nullptr) {
    return {ControlKind::LABEL, markup, x, y, keep, nullptr, nullptr, 0, 0};
}

constexpr Control button(const char* stock_id, int x, int y, wex::Callback on_click, Widget* keep) {
    return {ControlKind::BUTTON, stock_id, x, y, keep, on_click, nullptr, 0, 0};
}

constexpr Control gauge(int x, int y, int height, int maximum, const int32_t* value, Widget* keep) {
    return {ControlKind::GAUGE, nullptr, x, y, keep, nullptr, value, maximum, height};
}

// Makes every control of the table in its order and places it in the window; labels and
// buttons are width x height pixels, their texts kept within them, a gauge as wide and as high
// as it says.
void place_controls(Widget window, std::span<const Control> controls, int width, int height);

// Shows a whole number in bold on a label, followed by its unit ("%"), if any.
void show_number(Widget label, int32_t value, const char* unit = "");

}  // namespace shapes
