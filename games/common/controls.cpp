// controls.cpp: making and placing a window's controls, and the number labels.
#include "games/common/controls.h"

void shapes::place_controls(Widget window, std::span<const Control> controls, int width, int height) {
    T4K_FUNCTION(place_controls);
    for (const Control& control : controls) {
        Widget widget = nullptr;
        switch (control.kind) {
        case ControlKind::LABEL: widget = MARK(control.text, width, height); break;
        case ControlKind::BUTTON: widget = STOCK(control.text, width, height); break;
        case ControlKind::GAUGE: widget = VSLIDER(width, control.height, 0, control.maximum, 1); break;
        }
        ATTACH(window, widget, control.x, control.y);
        if (control.kind != ControlKind::GAUGE) FIT(widget);  // whole also in a large desktop font
        if (control.kind == ControlKind::BUTTON) CALLBACK(widget, control.on_click);
        if (control.kind == ControlKind::GAUGE) {
            // A gauge only shows a value: insensitive, so the player cannot drag it, and turned
            // round to read as gauges do, full at the top.
            DISABLE(widget);
            INVERT(widget);
            SET(widget, *control.value);
        }
        if (control.keep) *control.keep = widget;
    }
}

void shapes::show_number(Widget label, int32_t value, const char* unit) {
    T4K_FUNCTION(show_number);
    TEXT(label, __t4k__concat("<b>", __t4k__str(value), unit, "</b>", nullptr));
}
