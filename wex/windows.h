// windows.h (internal): the notebook's page-switch handler that WINDOW's placement relies on.
#pragma once
#include "wex/bindings.h"

namespace wex {
// "switch-page": the page that becomes current is where ATTACH(notebook, ...) puts children.
void wex_NOTEBOOK_hack(gpointer notebook, gpointer page, guint page_number, gpointer);
}  // namespace wex
