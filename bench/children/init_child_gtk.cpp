// init_child_gtk.cpp: a GTK 2 program linked the usual way, for the start-up benchmark's
// baselines.  "load": report on entering main, when the loader has brought in the libraries it
// is linked with; "init": report after gtk_init and reading the desktop font setting.
#include <gtk/gtk.h>

#include <cstring>

#include "bench/start_report.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    if (std::strcmp(argv[1], "init") == 0) {
        gtk_init(nullptr, nullptr);
        gchar* font = nullptr;
        g_object_get(gtk_settings_get_default(), "gtk-font-name", &font, nullptr);
        g_free(font);
    }
    bench::report_and_exit(argv[2]);
}
