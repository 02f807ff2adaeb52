// whole_text.h: whether a label's text shows whole in a window laid out by GTK.
#pragma once
#include <gtk/gtk.h>

namespace whole_text {

inline bool inside(const GdkRectangle& outer, const GdkRectangle& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// The glyphs of the label's text lie inside the label and each widget around it up to `placed`:
// GTK cuts what each of them draws to its allocation.
inline bool shows_whole(GtkLabel* label, GtkWidget* placed) {
    int x = 0, y = 0;
    gtk_label_get_layout_offsets(label, &x, &y);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(gtk_label_get_layout(label), &ink, &logical);
    const GdkRectangle text{x + ink.x, y + ink.y, ink.width, ink.height};
    for (GtkWidget* w = GTK_WIDGET(label); w != nullptr; w = w->parent) {
        if (!inside(w->allocation, text)) return false;
        if (w == placed) return true;
    }
    return false;
}

}  // namespace whole_text
