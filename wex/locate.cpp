// locate.cpp: the ten library locators, their search order, and WEXLIB$.
#include <dlfcn.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include "wex/bindings.h"
#include "wex/library.h"
#include "wex/properties.h"
#include "wex/wex.h"

namespace wex {
namespace {
// When a candidate is replaced by the numbered name: most locators keep a candidate that names
// a Darwin or Cygwin file; the GL ones know only Darwin files; GooCanvas always renumbers.
enum class Renumber { unless_dylib_or_dll, unless_dylib, always };

struct Locator {
    const char* darwin_first;   // null: no Darwin candidate
    const char* darwin_second;  // taken when the first does not exist; null: no existence test
    const char* cygwin;         // null: Cygwin searches the numbered names too
    Renumber renumber;
    const char* stem;           // numbered names: the stem followed by 0 to 49
    void (*bind_probe)(void* handle);
    const char* missing;        // message before exiting; null for an optional library
};

constexpr int WEX_NUMBERED_NAMES = 50;

// A probe the file lacks stays null here; INIT treats its library as incomplete.
#define WEX_PROBE(name) [](void* handle) { name = reinterpret_cast<decltype(name)>(dlsym(handle, #name)); }

constexpr Locator gtk_library{
    "/opt/local/lib/libgtk-x11-2.0.0.dylib",
    "/Library/Frameworks/Gtk.framework/Libraries/libgtk-quartz-2.0.0.dylib",
    "cyggtk-x11-2.0-0.dll", Renumber::unless_dylib_or_dll, "libgtk-x11-2.0.so.",
    WEX_PROBE(gtk_init), "Gtk library not found!"};
constexpr Locator gdk_library{
    "/opt/local/lib/libgdk-x11-2.0.0.dylib",
    "/Library/Frameworks/Gtk.framework/Libraries/libgdk-quartz-2.0.0.dylib",
    "cyggdk-x11-2.0-0.dll", Renumber::unless_dylib_or_dll, "libgdk-x11-2.0.so.",
    WEX_PROBE(gdk_atom_intern), "Gdk library not found!"};
constexpr Locator gdkpixbuf_library{
    "/opt/local/lib/libgdk_pixbuf-2.0.dylib",
    "/Library/Frameworks/Gtk.framework/Libraries/libgdk_pixbuf-2.0.dylib",
    "cyggdk_pixbuf-2.0-0.dll", Renumber::unless_dylib_or_dll, "libgdk_pixbuf-2.0.so.",
    WEX_PROBE(gdk_pixbuf_new_from_file), "Gdk_pixbuf library not found!"};
constexpr Locator glib_library{
    "/opt/local/lib/libglib-2.0.0.dylib",
    "/Library/Frameworks/Glib.framework/Libraries/libglib-2.0.0.dylib",
    "cygglib-2.0-0.dll", Renumber::unless_dylib_or_dll, "libglib-2.0.so.",
    WEX_PROBE(g_timeout_add), "Glib library not found!"};
constexpr Locator gobject_library{
    "/opt/local/lib/libgobject-2.0.0.dylib",
    "/Library/Frameworks/Glib.framework/Libraries/libgobject-2.0.0.dylib",
    "cyggobject-2.0-0.dll", Renumber::unless_dylib_or_dll, "libgobject-2.0.so.",
    WEX_PROBE(g_object_unref), "Gobject library not found!"};
constexpr Locator pango_library{
    "/opt/local/lib/libpango-1.0.0.dylib",
    "/Library/Frameworks/Gtk.framework/Libraries/libpango-1.0.0.dylib",
    "cygpango-1.0-0.dll", Renumber::unless_dylib_or_dll, "libpango-1.0.so.",
    WEX_PROBE(pango_font_description_from_string), "Pango library not found!"};
constexpr Locator glarea_library{
    "/opt/local/lib/libgtkgl-2.0.dylib",
    "/Library/Frameworks/Gtk.framework/Libraries/libgtkgl-quartz-2.0.dylib",
    nullptr, Renumber::unless_dylib, "libgtkgl-2.0.so.", WEX_PROBE(gtk_gl_area_new), nullptr};
constexpr Locator glext_library{
    "/opt/local/lib/libgtkglext-x11-1.0.dylib",
    "/Library/Frameworks/Gtk.framework/Libraries/libgtkglext-quartz-1.0.dylib",
    nullptr, Renumber::unless_dylib, "libgtkglext-x11-1.0.so.", WEX_PROBE(gtk_gl_init), nullptr};
constexpr Locator goocanvas_library{
    nullptr, nullptr, nullptr, Renumber::always, "libgoocanvas.so.", WEX_PROBE(goo_canvas_new),
    nullptr};
constexpr Locator gl_library{
    "/System/Library/Frameworks/OpenGL.framework/Libraries/libGL.dylib", nullptr,
    nullptr, Renumber::unless_dylib, "libGL.so.", WEX_PROBE(glBegin),
    "OpenGL canvas requested but no OpenGL library found! Exiting..."};

#undef WEX_PROBE

bool contains(std::string_view text, std::string_view part) { return text.find(part) != text.npos; }

bool renumbers(Renumber rule, std::string_view candidate) {
    switch (rule) {
    case Renumber::unless_dylib_or_dll: return !contains(candidate, "dylib") && !contains(candidate, "dll");
    case Renumber::unless_dylib: return !contains(candidate, "dylib");
    case Renumber::always: return true;
    }
    return true;
}

// The platform's own candidate: a Darwin path (the second when the first file is absent) or
// the Cygwin name; empty elsewhere, which leaves the numbered names.
std::string platform_candidate(const Locator& library) {
    const char* os = __t4k__os(__LINE__, WEX_UNIT);
    std::string_view system = os ? os : "";
    if (library.darwin_first && contains(system, "Darwin")) {
        if (library.darwin_second && access(library.darwin_first, F_OK) != 0) return library.darwin_second;
        return library.darwin_first;
    }
    if (library.cygwin && contains(system, "CYGWIN")) return library.cygwin;
    return "";
}

// Fifty attempts.  A platform candidate that is kept is simply tried fifty times; every failed
// attempt leaves ERROR at 3 and says nothing.
char* locate(const Locator& library) {
    std::string candidate = platform_candidate(library);
    for (int nr = 0; nr < WEX_NUMBERED_NAMES; ++nr) {
        if (renumbers(library.renumber, candidate)) candidate = library.stem + std::to_string(nr);
        if (void* handle = dlopen(candidate.c_str(), RTLD_LAZY)) {
            library.bind_probe(handle);
            return t4k_ring_return(candidate.c_str());
        }
        ERROR = 3;
    }
    if (library.missing) {
        std::printf("%s\n", library.missing);
        std::fflush(stdout);
        std::exit(0);
    }
    return t4k_ring_return(WEX_NOTFOUND);
}
}  // namespace

char* wex_Get_Gtk$() { T4K_FUNCTION(wex_Get_Gtk$); return locate(gtk_library); }
char* wex_Get_Gdk$() { T4K_FUNCTION(wex_Get_Gdk$); return locate(gdk_library); }
char* wex_Get_Gdkpixbuf$() { T4K_FUNCTION(wex_Get_Gdkpixbuf$); return locate(gdkpixbuf_library); }
char* wex_Get_Glib$() { T4K_FUNCTION(wex_Get_Glib$); return locate(glib_library); }
char* wex_Get_Gobject$() { T4K_FUNCTION(wex_Get_Gobject$); return locate(gobject_library); }
char* wex_Get_Pango$() { T4K_FUNCTION(wex_Get_Pango$); return locate(pango_library); }
char* wex_Get_GtkGlArea$() { T4K_FUNCTION(wex_Get_GtkGlArea$); return locate(glarea_library); }
char* wex_Get_GtkGlExt$() { T4K_FUNCTION(wex_Get_GtkGlExt$); return locate(glext_library); }
char* wex_Get_Goocanvas$() { T4K_FUNCTION(wex_Get_Goocanvas$); return locate(goocanvas_library); }
char* wex_Get_Gl$() { T4K_FUNCTION(wex_Get_Gl$); return locate(gl_library); }

LibraryFiles wex_locate_libraries() {
    T4K_FUNCTION(wex_locate_libraries);
    LibraryFiles files{};
    files.gtk = wex_Get_Gtk$();
    files.gdk = wex_Get_Gdk$();
    files.gdkpixbuf = wex_Get_Gdkpixbuf$();
    files.glib = wex_Get_Glib$();
    files.gobject = wex_Get_Gobject$();
    files.pango = wex_Get_Pango$();
    files.glarea = wex_Get_GtkGlArea$();
    files.glext = wex_Get_GtkGlExt$();
    files.goocanvas = wex_Get_Goocanvas$();
    return files;
}

char* WEXLIB$(const char* name) {
    T4K_FUNCTION(WEXLIB$);
    struct Named {
        std::string_view name;
        char* (*locator)();
    };
    static constexpr Named locators[] = {
        {"gtk", wex_Get_Gtk$},     {"gdk", wex_Get_Gdk$},       {"glib", wex_Get_Glib$},
        {"gobject", wex_Get_Gobject$}, {"pango", wex_Get_Pango$}, {"glarea", wex_Get_GtkGlArea$},
        {"glext", wex_Get_GtkGlExt$}, {"goo", wex_Get_Goocanvas$},
    };
    for (const Named& entry : locators)
        if (name && entry.name == name) return entry.locator();
    return t4k_ring_return("Unknown");
}
}  // namespace wex
