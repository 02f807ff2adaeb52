// fit.cpp: FIT, which keeps the text of a label or a button within the place it was given.
#include <algorithm>
#include <iterator>
#include <map>
#include <string_view>
#include "runtime/runtime.h"
#include "wex/bindings.h"
#include "wex/events.h"
#include "wex/registry.h"
#include "wex/widgets.h"
#include "wex/wex.h"

namespace wex {
namespace {
// The kinds whose text FIT keeps in place: a label, and the buttons that show a label.
constexpr std::string_view TEXT_KINDS[] = {"mark", "button", "stock", "toggle", "check", "radio"};

// A text is shown at STEPS/STEPS of its font's size or, where that does not fit, at the largest
// smaller step that does, down to 1/STEPS.
constexpr int STEPS = 64;

// The step each fitted label shows at now; a label not listed shows at its full size.
std::map<GtkLabel*, int> shown_steps;

struct Extent {
    int width, height;
};

bool fits(Extent text, Extent room) { return text.width <= room.width && text.height <= room.height; }

// The label that shows a widget's text: the widget itself, or the first label inside it (a
// stock button's sits in a box beside its icon).
GtkLabel* text_label(GtkWidget* widget) {
    if (wex_is_a(widget, gtk_label_get_type)) return GTK_LABEL(widget);
    if (!wex_is_a(widget, gtk_container_get_type)) return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkLabel* found = nullptr;
    for (GList* child = children; child != nullptr && found == nullptr; child = child->next)
        found = text_label(GTK_WIDGET(child->data));
    g_list_free(children);
    return found;
}

// A text's size as a label lays it out: what it asks for, and what it draws.
Extent logical_size(PangoLayout* layout) {
    Extent extent{};
    pango_layout_get_pixel_size(layout, &extent.width, &extent.height);
    return extent;
}

// A label centres the logical size; a glyph may reach past it on either side (a bold Y), so the
// room must be that much larger on both sides.
Extent drawn_size(PangoLayout* layout) {
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    const int across = std::max({0, logical.x - ink.x, ink.x + ink.width - logical.x - logical.width});
    const int down = std::max({0, logical.y - ink.y, ink.y + ink.height - logical.y - logical.height});
    return {logical.width + 2 * across, logical.height + 2 * down};
}

// The label's text drawn at `step` of its font's size.  The scale goes last into a copy of the
// label's own attributes, so that it takes the place of the one the label shows with now.
Extent extent_at(GtkLabel* label, int step) {
    PangoLayout* layout = pango_layout_copy(gtk_label_get_layout(label));
    PangoAttrList* own = pango_layout_get_attributes(layout);
    PangoAttrList* attributes = own ? pango_attr_list_copy(own) : pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_scale_new(double(step) / STEPS));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    const Extent extent = drawn_size(layout);
    g_object_unref(layout);
    return extent;
}

// The largest step at which the label's text fits the room (a search over the steps, as a text
// grows with its font).
int best_step(GtkLabel* label, Extent room) {
    if (fits(extent_at(label, STEPS), room)) return STEPS;
    int fitting = 1, too_large = STEPS;
    while (too_large - fitting > 1) {
        const int middle = (fitting + too_large) / 2;
        (fits(extent_at(label, middle), room) ? fitting : too_large) = middle;
    }
    return fitting;
}

void show_at(GtkLabel* label, int step) {
    shown_steps[label] = step;
    PangoAttrList* attributes = nullptr;
    if (step < STEPS) {
        attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_scale_new(double(step) / STEPS));
    }
    g_object_set(label, "attributes", attributes, nullptr);
    if (attributes) pango_attr_list_unref(attributes);
}

/* After each layout of the label (its text, its font or its place changed): the room its text has
 * is what `area`, the placed widget's part that holds the label, was given, less what the area
 * needs beside the text (a button's icon, the label's padding).  A new step lays the label out
 * again, and the next pass finds the same step, so it settles. */
void fit_text(gpointer widget, gpointer, gpointer area_widget) {
    GtkLabel* label = GTK_LABEL(widget);
    GtkWidget* area = GTK_WIDGET(area_widget);
    const Extent now = logical_size(gtk_label_get_layout(label));
    const Extent room{area->allocation.width - (area->requisition.width - now.width),
                      area->allocation.height - (GTK_WIDGET(label)->requisition.height - now.height)};
    const int step = best_step(label, room);
    const auto shown = shown_steps.find(label);
    if (step != (shown == shown_steps.end() ? STEPS : shown->second)) show_at(label, step);
}
}  // namespace

void FIT(Widget widget) {
    T4K_FUNCTION(FIT);
    const std::string_view kind = WEX_GET(wex_widget_type$, widget);
    if (std::find(std::begin(TEXT_KINDS), std::end(TEXT_KINDS), kind) == std::end(TEXT_KINDS)) return;
    GtkWidget* placed = GTK_WIDGET(widget);
    GtkLabel* label = text_label(placed);
    if (label == nullptr) return;
    GtkWidget* area = GTK_WIDGET(label) == placed ? placed : gtk_bin_get_child(GTK_BIN(placed));
    wex_connect(label, "size-allocate", fit_text, area);
    if (GTK_WIDGET_REALIZED(label)) fit_text(label, nullptr, area);
}
}  // namespace wex
