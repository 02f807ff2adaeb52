// bind.cpp: binding the nine groups of library functions into their pointers, in INIT.
#include <dlfcn.h>
#include <link.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include "runtime/runtime.h"
#include "wex/bindings.h"
#include "wex/library.h"
#include "wex/properties.h"

namespace wex {
namespace {
// One function pointer and the symbol it is bound to.
struct Binding {
    void** pointer;
    const char* name;
};
#define WEX_BINDING(name) {reinterpret_cast<void**>(&name), #name},
const Binding gtk_functions[] = {WEX_GTK_FUNCTIONS(WEX_BINDING)};
const Binding gdk_functions[] = {WEX_GDK_FUNCTIONS(WEX_BINDING)};
const Binding gobject_functions[] = {WEX_GOBJECT_FUNCTIONS(WEX_BINDING)};
const Binding glib_functions[] = {WEX_GLIB_FUNCTIONS(WEX_BINDING)};
const Binding pango_functions[] = {WEX_PANGO_FUNCTIONS(WEX_BINDING)};
const Binding glarea_functions[] = {WEX_GLAREA_FUNCTIONS(WEX_BINDING) WEX_BINDING(gtk_gl_area_new)};
const Binding glext_functions[] = {WEX_GLEXT_FUNCTIONS(WEX_BINDING) WEX_BINDING(gtk_gl_init)};
const Binding goocanvas_functions[] = {WEX_GOO_FUNCTIONS(WEX_BINDING) WEX_BINDING(goo_canvas_new)};
const Binding gl_functions[] = {WEX_GL_FUNCTIONS(WEX_BINDING) WEX_BINDING(glBegin)};
#undef WEX_BINDING

/* One group: its functions and the handle of its file, opened on the group's first binding and
 * kept for the life of the process.  An optional group's list ends with its locator's probe:
 * a library that lacks any of its functions is treated as absent, probe included. */
struct Group {
    const Binding* functions;
    size_t count;
    void* handle;
    bool bound;
};
#define WEX_GROUP(list) Group{list, std::size(list), nullptr, false}
Group gtk_group = WEX_GROUP(gtk_functions);
Group gdk_group = WEX_GROUP(gdk_functions);  // the GdkPixbuf functions come through GDK's file
Group gobject_group = WEX_GROUP(gobject_functions);
Group glib_group = WEX_GROUP(glib_functions);
Group pango_group = WEX_GROUP(pango_functions);
Group glarea_group = WEX_GROUP(glarea_functions);
Group glext_group = WEX_GROUP(glext_functions);
Group goocanvas_group = WEX_GROUP(goocanvas_functions);
Group gl_group = WEX_GROUP(gl_functions);
#undef WEX_GROUP

// A function that a core library lacks is a runtime error naming the symbol and the file the
// loader opened, which is what a user can look at (there is no source line to name).
void missing(const char* symbol, const char* file) {
    link_map* map = nullptr;
    void* handle = dlopen(file, RTLD_LAZY | RTLD_NOLOAD);
    if (handle && dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name)
        file = map->l_name;
    __t4k__raise_function(symbol, 0, file, 4);
}

// The core libraries' probes, which their locators bound from the files they found.
void check_core_probes(const LibraryFiles& files) {
    const struct {
        void* pointer;
        const char* name;
        const char* file;
    } probes[] = {
        {reinterpret_cast<void*>(gtk_init), "gtk_init", files.gtk},
        {reinterpret_cast<void*>(gdk_atom_intern), "gdk_atom_intern", files.gdk},
        {reinterpret_cast<void*>(gdk_pixbuf_new_from_file), "gdk_pixbuf_new_from_file", files.gdkpixbuf},
        {reinterpret_cast<void*>(g_timeout_add), "g_timeout_add", files.glib},
        {reinterpret_cast<void*>(g_object_unref), "g_object_unref", files.gobject},
        {reinterpret_cast<void*>(pango_font_description_from_string), "pango_font_description_from_string",
         files.pango},
    };
    for (const auto& probe : probes)
        if (!probe.pointer) missing(probe.name, probe.file);
}

void bind_core(Group& group, const char* file) {
    if (!group.handle) group.handle = wex_open_group(file);
    for (size_t i = 0; i < group.count; ++i) {
        const Binding& b = group.functions[i];
        *b.pointer = dlsym(group.handle, b.name);
        if (!*b.pointer) missing(b.name, file);
    }
    group.bound = true;
}

void unbind(Group& group) {
    for (size_t i = 0; i < group.count; ++i) *group.functions[i].pointer = nullptr;
    group.bound = false;
}

// An optional group binds whole or not at all; false when its library is absent or lacks one.
bool bind_optional(Group& group, const char* file) {
    if (std::strcmp(file, WEX_NOTFOUND) == 0) {
        unbind(group);
        return false;
    }
    if (!group.handle) group.handle = wex_open_group(file);
    for (size_t i = 0; i < group.count; ++i) {
        const Binding& b = group.functions[i];
        *b.pointer = dlsym(group.handle, b.name);
        if (!*b.pointer) {
            unbind(group);
            return false;
        }
    }
    group.bound = true;
    return true;
}

void set_gl_library(const char* name) {
    wex_gui_properties.gl_library = __t4k_Copy_String(wex_gui_properties.gl_library, name);
}

// The OpenGL group, needed only with a GL widget library: without all of its functions no GL
// canvas can draw, and the GL widget libraries count as absent too.
bool bind_opengl() {
    const char* gl = wex_Get_Gl$();
    ERROR = 0;  // like the first locators' failed candidates, OpenGL's must not outlive INIT
    if (bind_optional(gl_group, gl)) return true;
    unbind(glarea_group);
    unbind(glext_group);
    set_gl_library("NONE");
    return false;
}
}  // namespace

void* wex_open_group(const char* file) {
    T4K_FUNCTION(wex_open_group);
    void* handle = dlopen(file, RTLD_LAZY);
    if (!handle) {
        std::printf("%s\n", ERR$(3));
        std::fflush(stdout);
        std::exit(0);
    }
    return handle;
}

BoundGroups wex_bind_libraries(const LibraryFiles& files) {
    T4K_FUNCTION(wex_bind_libraries);
    check_core_probes(files);
    bind_core(gtk_group, files.gtk);
    bind_core(gdk_group, files.gdk);
    bind_core(gobject_group, files.gobject);
    bind_core(glib_group, files.glib);
    bind_core(pango_group, files.pango);
    if (bind_optional(glarea_group, files.glarea)) set_gl_library("GLAREA");
    if (bind_optional(glext_group, files.glext)) set_gl_library("GLEXT");
    const bool goocanvas = bind_optional(goocanvas_group, files.goocanvas);
    const bool gl = (glarea_group.bound || glext_group.bound) && bind_opengl();
    return {gl, goocanvas};
}

bool wex_gl_usable(bool glarea) { return gl_group.bound && (glarea ? glarea_group.bound : glext_group.bound); }
}  // namespace wex
