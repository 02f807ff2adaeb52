// windows.h (internal): the layout that windows, notebook pages and canvases share, and the
// notebook's page-switch handler that placement relies on.
#pragma once
#include "wex/bindings.h"

namespace wex {
// The columns and rows that a "TABLE" option asks for; false when it names no usable shape.
bool wex_table_shape(const char* option, int* columns, int* rows);
constexpr int WEX_MAX_TABLE_CELLS = 65535;  // the most columns or rows a GTK table holds

// Whether the "TABLE" option in force lays out in table cells rather than pixels, and a new
// page container (a window's or a notebook page's) for that layout: a homogeneous table of the
// shape, else a fixed container.
bool wex_table_layout();
GtkWidget* wex_page_container();

// "switch-page": the page that becomes current is where ATTACH(notebook, ...) puts children.
void wex_NOTEBOOK_hack(gpointer notebook, gpointer page, guint page_number, gpointer);
}  // namespace wex
