// bind.cpp: binding the nine groups of library functions into their pointers, in INIT.
#include <dlfcn.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "runtime/runtime.h"
#include "wex/bindings.h"
#include "wex/library.h"
#include "wex/properties.h"

namespace wex {
namespace {
#define WEX_BIND(name) wex_bind_symbol(name, handle, #name);
void bind_gtk(void* handle) { WEX_GTK_FUNCTIONS(WEX_BIND) }
void bind_gdk(void* handle) { WEX_GDK_FUNCTIONS(WEX_BIND) }
void bind_gobject(void* handle) { WEX_GOBJECT_FUNCTIONS(WEX_BIND) }
void bind_glib(void* handle) { WEX_GLIB_FUNCTIONS(WEX_BIND) }
void bind_pango(void* handle) { WEX_PANGO_FUNCTIONS(WEX_BIND) }
void bind_glarea(void* handle) { WEX_GLAREA_FUNCTIONS(WEX_BIND) }
void bind_glext(void* handle) { WEX_GLEXT_FUNCTIONS(WEX_BIND) }
void bind_goocanvas(void* handle) { WEX_GOO_FUNCTIONS(WEX_BIND) }
void bind_gl(void* handle) { WEX_GL_FUNCTIONS(WEX_BIND) }
#undef WEX_BIND

// One group: its binder and the handle of its file, opened on the group's first binding and
// kept for the life of the process.
struct Group {
    void (*bind)(void* handle);
    void* handle;
};

Group gtk_group{bind_gtk, nullptr};
Group gdk_group{bind_gdk, nullptr};  // the GdkPixbuf functions come through GDK's file
Group gobject_group{bind_gobject, nullptr};
Group glib_group{bind_glib, nullptr};
Group pango_group{bind_pango, nullptr};
Group glarea_group{bind_glarea, nullptr};
Group glext_group{bind_glext, nullptr};
Group goocanvas_group{bind_goocanvas, nullptr};
Group gl_group{bind_gl, nullptr};

void bind_group(Group& group, const char* file) {
    if (!group.handle) group.handle = wex_open_group(file);
    group.bind(group.handle);
}

bool found(const char* file) { return std::strcmp(file, WEX_NOTFOUND) != 0; }

void set_gl_library(const char* name) {
    wex_gui_properties.gl_library = __t4k_Copy_String(wex_gui_properties.gl_library, name);
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

bool wex_bind_libraries(const LibraryFiles& files) {
    T4K_FUNCTION(wex_bind_libraries);
    bind_group(gtk_group, files.gtk);
    bind_group(gdk_group, files.gdk);
    bind_group(gobject_group, files.gobject);
    bind_group(glib_group, files.glib);
    bind_group(pango_group, files.pango);
    if (found(files.glarea)) {
        bind_group(glarea_group, files.glarea);
        set_gl_library("GLAREA");
    }
    if (found(files.glext)) {
        bind_group(glext_group, files.glext);
        set_gl_library("GLEXT");
    }
    if (found(files.goocanvas)) bind_group(goocanvas_group, files.goocanvas);
    if (!found(files.glarea) && !found(files.glext)) return false;
    const char* gl = wex_Get_Gl$();
    ERROR = 0;  // like the first locators' failed candidates, OpenGL's must not outlive INIT
    bind_group(gl_group, gl);
    return true;
}
}  // namespace wex
