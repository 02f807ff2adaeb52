// atk_probe.cpp: a GTK module for the tests (GTK_MODULES=/path/libatk_probe.so) that reads, as a
// screen reader would, the accessible name and description of the first widget of the program's
// windows that has a description, and writes both, a line each, to the file ATK_PROBE_FILE names
// whenever they change.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string last;

// The first widget, depth first, whose accessible object has a description.
AtkObject* described(GtkWidget* widget) {
    AtkObject* accessible = gtk_widget_get_accessible(widget);
    if (accessible && atk_object_get_description(accessible)) return accessible;
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    AtkObject* found = nullptr;
    for (GList* c = children; c && !found; c = c->next) found = described(GTK_WIDGET(c->data));
    g_list_free(children);
    return found;
}

gboolean probe(gpointer) {
    const char* path = std::getenv("ATK_PROBE_FILE");
    GList* windows = gtk_window_list_toplevels();
    AtkObject* found = nullptr;
    for (GList* w = windows; w && !found; w = w->next) found = described(GTK_WIDGET(w->data));
    g_list_free(windows);
    if (!found || !path) return TRUE;
    const char* name = atk_object_get_name(found);
    const std::string now = std::string(name ? name : "") + "\n" + atk_object_get_description(found) + "\n";
    if (now == last) return TRUE;
    const std::string part = std::string(path) + ".part";
    if (FILE* file = std::fopen(part.c_str(), "w")) {
        std::fputs(now.c_str(), file);
        std::fclose(file);
        std::rename(part.c_str(), path);
        last = now;
    }
    return TRUE;
}

}  // namespace

extern "C" G_MODULE_EXPORT void gtk_module_init(gint*, gchar***) {
    constexpr guint PROBE_MS = 10;
    g_timeout_add(PROBE_MS, probe, nullptr);
}
