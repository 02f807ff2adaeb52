// libraries.h (internal): the GUI libraries and their groups of bound functions, listed once.
#pragma once

/* One entry per library, in the order INIT looks for them.  This list is the only place that
 * names a library: it makes the locators and what they search, the probes, the bound pointers
 * (declared in bindings.h, defined in bindings.cpp), the files INIT keeps, and the binding of
 * each group.  Adding a library group is one entry here plus the X-list of its functions in
 * bindings.h.
 *
 * An entry, L(id, locator, probe, functions, binding, wexlib, search):
 * - id: the library's name in the code (wex::Library::id); locator: its locator function;
 * - probe: the function the locator binds from the file it opens;
 * - functions: the X-list of the group bound from that file (WEX_NO_FUNCTIONS: none);
 * - binding: one of the rules below, with the group's place in binding order (the core groups
 *   bind in another order than their libraries are looked for); core_without_group() for a core
 *   library whose functions come through another group's file, as GdkPixbuf's through GDK's;
 * - wexlib: the name WEXLIB$ knows it by, or nullptr;
 * - search: the Darwin paths (the second is taken when no file exists at the first; nullptr:
 *   none, or no existence test), the Cygwin name (nullptr: the numbered names there too), when
 *   a platform candidate gives way to the numbered names (locate.cpp's Renumber), the stem of
 *   the numbered names, and the message before exiting when nothing opens (nullptr: an optional
 *   library, which gives "notfound"). */
#define WEX_LIBRARIES(L)                                                                                         \
    L(gtk, wex_Get_Gtk$, gtk_init, WEX_GTK_FUNCTIONS, core_group(1), "gtk",                                      \
      ("/opt/local/lib/libgtk-x11-2.0.0.dylib",                                                                  \
       "/Library/Frameworks/Gtk.framework/Libraries/libgtk-quartz-2.0.0.dylib",                                  \
       "cyggtk-x11-2.0-0.dll", unless_dylib_or_dll, "libgtk-x11-2.0.so.", "Gtk library not found!"))             \
    L(gdk, wex_Get_Gdk$, gdk_atom_intern, WEX_GDK_FUNCTIONS, core_group(2), "gdk",                               \
      ("/opt/local/lib/libgdk-x11-2.0.0.dylib",                                                                  \
       "/Library/Frameworks/Gtk.framework/Libraries/libgdk-quartz-2.0.0.dylib",                                  \
       "cyggdk-x11-2.0-0.dll", unless_dylib_or_dll, "libgdk-x11-2.0.so.", "Gdk library not found!"))             \
    L(gdkpixbuf, wex_Get_Gdkpixbuf$, gdk_pixbuf_new_from_file, WEX_NO_FUNCTIONS, core_without_group(), nullptr,  \
      ("/opt/local/lib/libgdk_pixbuf-2.0.dylib",                                                                 \
       "/Library/Frameworks/Gtk.framework/Libraries/libgdk_pixbuf-2.0.dylib",                                    \
       "cyggdk_pixbuf-2.0-0.dll", unless_dylib_or_dll, "libgdk_pixbuf-2.0.so.",                                  \
       "Gdk_pixbuf library not found!"))                                                                         \
    L(glib, wex_Get_Glib$, g_timeout_add, WEX_GLIB_FUNCTIONS, core_group(4), "glib",                             \
      ("/opt/local/lib/libglib-2.0.0.dylib",                                                                     \
       "/Library/Frameworks/Glib.framework/Libraries/libglib-2.0.0.dylib",                                       \
       "cygglib-2.0-0.dll", unless_dylib_or_dll, "libglib-2.0.so.", "Glib library not found!"))                  \
    L(gobject, wex_Get_Gobject$, g_object_unref, WEX_GOBJECT_FUNCTIONS, core_group(3), "gobject",                \
      ("/opt/local/lib/libgobject-2.0.0.dylib",                                                                  \
       "/Library/Frameworks/Glib.framework/Libraries/libgobject-2.0.0.dylib",                                    \
       "cyggobject-2.0-0.dll", unless_dylib_or_dll, "libgobject-2.0.so.", "Gobject library not found!"))         \
    L(pango, wex_Get_Pango$, pango_font_description_from_string, WEX_PANGO_FUNCTIONS, core_group(5), "pango",    \
      ("/opt/local/lib/libpango-1.0.0.dylib",                                                                    \
       "/Library/Frameworks/Gtk.framework/Libraries/libpango-1.0.0.dylib",                                       \
       "cygpango-1.0-0.dll", unless_dylib_or_dll, "libpango-1.0.so.", "Pango library not found!"))               \
    L(glarea, wex_Get_GtkGlArea$, gtk_gl_area_new, WEX_GLAREA_FUNCTIONS, gl_widget_group(6, "GLAREA"), "glarea", \
      ("/opt/local/lib/libgtkgl-2.0.dylib",                                                                      \
       "/Library/Frameworks/Gtk.framework/Libraries/libgtkgl-quartz-2.0.dylib",                                  \
       nullptr, unless_dylib, "libgtkgl-2.0.so.", nullptr))                                                      \
    L(glext, wex_Get_GtkGlExt$, gtk_gl_init, WEX_GLEXT_FUNCTIONS, gl_widget_group(7, "GLEXT"), "glext",          \
      ("/opt/local/lib/libgtkglext-x11-1.0.dylib",                                                               \
       "/Library/Frameworks/Gtk.framework/Libraries/libgtkglext-quartz-1.0.dylib",                               \
       nullptr, unless_dylib, "libgtkglext-x11-1.0.so.", nullptr))                                               \
    L(goocanvas, wex_Get_Goocanvas$, goo_canvas_new, WEX_GOO_FUNCTIONS, optional_group(8), "goo",                \
      (nullptr, nullptr, nullptr, always, "libgoocanvas.so.", nullptr))                                          \
    L(gl, wex_Get_Gl$, glBegin, WEX_GL_FUNCTIONS, opengl_group(9), nullptr,                                      \
      ("/System/Library/Frameworks/OpenGL.framework/Libraries/libGL.dylib", nullptr, nullptr, unless_dylib,      \
       "libGL.so.", "OpenGL canvas requested but no OpenGL library found! Exiting..."))

#define WEX_NO_FUNCTIONS(X)

namespace wex {
#define WEX_LIBRARY_ID(id, ...) id,
enum class Library { WEX_LIBRARIES(WEX_LIBRARY_ID) };
#undef WEX_LIBRARY_ID
#define WEX_LIBRARY_ONE(...) +1
constexpr int WEX_LIBRARY_COUNT = 0 WEX_LIBRARIES(WEX_LIBRARY_ONE);
#undef WEX_LIBRARY_ONE

/* How a library's group is bound.  A core library must be there (its locator ends the program
 * otherwise), its probe must be bound, and a function its group lacks is a runtime error.  An
 * optional library may be absent; its group, probe included, binds whole or not at all.  OpenGL
 * is looked for only while binding, when a GL widget library's group is bound; it must then be
 * there, and without all of its functions the GL widget groups count as absent too. */
enum class GroupKind { core, optional, opengl };
struct GroupRule {
    GroupKind kind;
    int order;               // the nth group bound; 0 for a library without a group of its own
    const char* gl_library;  // a GL widget library's name for gl_library, once its group is bound
};
constexpr GroupRule core_group(int order) { return {GroupKind::core, order, nullptr}; }
constexpr GroupRule core_without_group() { return {GroupKind::core, 0, nullptr}; }
constexpr GroupRule optional_group(int order) { return {GroupKind::optional, order, nullptr}; }
constexpr GroupRule gl_widget_group(int order, const char* gl_library) {
    return {GroupKind::optional, order, gl_library};
}
constexpr GroupRule opengl_group(int order) { return {GroupKind::opengl, order, nullptr}; }

#define WEX_LIBRARY_RULE(id, locator, probe, functions, binding, ...) binding,
inline constexpr GroupRule WEX_GROUP_RULES[] = {WEX_LIBRARIES(WEX_LIBRARY_RULE)};
#undef WEX_LIBRARY_RULE
constexpr const GroupRule& wex_group_rule(Library library) { return WEX_GROUP_RULES[int(library)]; }
}  // namespace wex
