// libraries.h (internal): the GUI libraries and their groups of bound functions, listed once.
#pragma once

/* One entry per library, in the order INIT looks for them.  This list is the only place that
 * names a library: it makes the locators and what they search, the probes, the bound pointers
 * (declared in bindings.h, defined in bindings.cpp), the files INIT keeps, and the binding of
 * each group.  Adding a library group is one entry here plus the X-list of its functions in
 * bindings.h.
 *
 * An entry, L(id, locator, probe, functions, (LibraryEntry{...})): the four names the code is
 * made from, then the library's record by field name (LibraryEntry, below):
 * - id: the library's name in the code (wex::Library::id); locator: its locator function;
 * - probe: the function the locator binds from the file it opens;
 * - functions: the X-list of the group bound from that file (WEX_NO_FUNCTIONS: none). */
namespace wex {
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
// A core library whose functions come through another group's file, as GdkPixbuf's through GDK's.
constexpr GroupRule core_without_group() { return {GroupKind::core, 0, nullptr}; }
constexpr GroupRule optional_group(int order) { return {GroupKind::optional, order, nullptr}; }
constexpr GroupRule gl_widget_group(int order, const char* gl_library) {
    return {GroupKind::optional, order, gl_library};
}
constexpr GroupRule opengl_group(int order) { return {GroupKind::opengl, order, nullptr}; }

// When a platform candidate gives way to the numbered names: most locators keep a candidate that
// names a Darwin or Cygwin file; the GL ones know only Darwin files; GooCanvas always renumbers.
enum class Renumber { unless_dylib_or_dll, unless_dylib, always };

// What an entry tells of its library; a text left out is null.
struct LibraryEntry {
    GroupRule binding;  // its group's rule and place in binding order (the core groups bind in
                        // another order than their libraries are looked for)
    const char* wexlib = nullptr;         // the name WEXLIB$ knows it by
    const char* darwin_first = nullptr;   // the Darwin candidate
    const char* darwin_second = nullptr;  // taken when no file exists at the first; null: no existence test
    const char* cygwin = nullptr;         // the Cygwin name; null: Cygwin searches the numbered names too
    Renumber renumber;
    const char* stem;               // the numbered names: the stem followed by 0 to 49
    const char* missing = nullptr;  // the message before exiting when nothing opens; null: an
                                    // optional library, whose locator gives "notfound"
};
}  // namespace wex

#define WEX_LIBRARIES(L)                                                                                              \
    L(gtk, wex_Get_Gtk$, gtk_init, WEX_GTK_FUNCTIONS,                                                                 \
      (LibraryEntry{.binding = core_group(1), .wexlib = "gtk",                                                        \
                    .darwin_first = "/opt/local/lib/libgtk-x11-2.0.0.dylib",                                          \
                    .darwin_second = "/Library/Frameworks/Gtk.framework/Libraries/libgtk-quartz-2.0.0.dylib",         \
                    .cygwin = "cyggtk-x11-2.0-0.dll", .renumber = Renumber::unless_dylib_or_dll,                      \
                    .stem = "libgtk-x11-2.0.so.", .missing = "Gtk library not found!"}))                              \
    L(gdk, wex_Get_Gdk$, gdk_atom_intern, WEX_GDK_FUNCTIONS,                                                          \
      (LibraryEntry{.binding = core_group(2), .wexlib = "gdk",                                                        \
                    .darwin_first = "/opt/local/lib/libgdk-x11-2.0.0.dylib",                                          \
                    .darwin_second = "/Library/Frameworks/Gtk.framework/Libraries/libgdk-quartz-2.0.0.dylib",         \
                    .cygwin = "cyggdk-x11-2.0-0.dll", .renumber = Renumber::unless_dylib_or_dll,                      \
                    .stem = "libgdk-x11-2.0.so.", .missing = "Gdk library not found!"}))                              \
    L(gdkpixbuf, wex_Get_Gdkpixbuf$, gdk_pixbuf_new_from_file, WEX_NO_FUNCTIONS,                                      \
      (LibraryEntry{.binding = core_without_group(),                                                               \
                    .darwin_first = "/opt/local/lib/libgdk_pixbuf-2.0.dylib",                                         \
                    .darwin_second = "/Library/Frameworks/Gtk.framework/Libraries/libgdk_pixbuf-2.0.dylib",           \
                    .cygwin = "cyggdk_pixbuf-2.0-0.dll", .renumber = Renumber::unless_dylib_or_dll,                   \
                    .stem = "libgdk_pixbuf-2.0.so.", .missing = "Gdk_pixbuf library not found!"}))                    \
    L(glib, wex_Get_Glib$, g_timeout_add, WEX_GLIB_FUNCTIONS,                                                         \
      (LibraryEntry{.binding = core_group(4), .wexlib = "glib",                                                       \
                    .darwin_first = "/opt/local/lib/libglib-2.0.0.dylib",                                             \
                    .darwin_second = "/Library/Frameworks/Glib.framework/Libraries/libglib-2.0.0.dylib",              \
                    .cygwin = "cygglib-2.0-0.dll", .renumber = Renumber::unless_dylib_or_dll,                         \
                    .stem = "libglib-2.0.so.", .missing = "Glib library not found!"}))                                \
    L(gobject, wex_Get_Gobject$, g_object_unref, WEX_GOBJECT_FUNCTIONS,                                               \
      (LibraryEntry{.binding = core_group(3), .wexlib = "gobject",                                                    \
                    .darwin_first = "/opt/local/lib/libgobject-2.0.0.dylib",                                          \
                    .darwin_second = "/Library/Frameworks/Glib.framework/Libraries/libgobject-2.0.0.dylib",           \
                    .cygwin = "cyggobject-2.0-0.dll", .renumber = Renumber::unless_dylib_or_dll,                      \
                    .stem = "libgobject-2.0.so.", .missing = "Gobject library not found!"}))                          \
    L(pango, wex_Get_Pango$, pango_font_description_from_string, WEX_PANGO_FUNCTIONS,                                 \
      (LibraryEntry{.binding = core_group(5), .wexlib = "pango",                                                      \
                    .darwin_first = "/opt/local/lib/libpango-1.0.0.dylib",                                            \
                    .darwin_second = "/Library/Frameworks/Gtk.framework/Libraries/libpango-1.0.0.dylib",              \
                    .cygwin = "cygpango-1.0-0.dll", .renumber = Renumber::unless_dylib_or_dll,                        \
                    .stem = "libpango-1.0.so.", .missing = "Pango library not found!"}))                              \
    L(glarea, wex_Get_GtkGlArea$, gtk_gl_area_new, WEX_GLAREA_FUNCTIONS,                                              \
      (LibraryEntry{.binding = gl_widget_group(6, "GLAREA"), .wexlib = "glarea",                                      \
                    .darwin_first = "/opt/local/lib/libgtkgl-2.0.dylib",                                              \
                    .darwin_second = "/Library/Frameworks/Gtk.framework/Libraries/libgtkgl-quartz-2.0.dylib",         \
                    .renumber = Renumber::unless_dylib, .stem = "libgtkgl-2.0.so."}))                                 \
    L(glext, wex_Get_GtkGlExt$, gtk_gl_init, WEX_GLEXT_FUNCTIONS,                                                     \
      (LibraryEntry{.binding = gl_widget_group(7, "GLEXT"), .wexlib = "glext",                                        \
                    .darwin_first = "/opt/local/lib/libgtkglext-x11-1.0.dylib",                                       \
                    .darwin_second = "/Library/Frameworks/Gtk.framework/Libraries/libgtkglext-quartz-1.0.dylib",      \
                    .renumber = Renumber::unless_dylib, .stem = "libgtkglext-x11-1.0.so."}))                          \
    L(goocanvas, wex_Get_Goocanvas$, goo_canvas_new, WEX_GOO_FUNCTIONS,                                               \
      (LibraryEntry{.binding = optional_group(8), .wexlib = "goo",                                                    \
                    .renumber = Renumber::always, .stem = "libgoocanvas.so."}))                                       \
    L(gl, wex_Get_Gl$, glBegin, WEX_GL_FUNCTIONS,                                                                     \
      (LibraryEntry{.binding = opengl_group(9),                                                                    \
                    .darwin_first = "/System/Library/Frameworks/OpenGL.framework/Libraries/libGL.dylib",              \
                    .renumber = Renumber::unless_dylib, .stem = "libGL.so.",                                          \
                    .missing = "OpenGL canvas requested but no OpenGL library found! Exiting..."}))

#define WEX_NO_FUNCTIONS(X)

namespace wex {
#define WEX_LIBRARY_ID(id, ...) id,
enum class Library { WEX_LIBRARIES(WEX_LIBRARY_ID) };
#undef WEX_LIBRARY_ID
#define WEX_LIBRARY_ONE(...) +1
constexpr int WEX_LIBRARY_COUNT = 0 WEX_LIBRARIES(WEX_LIBRARY_ONE);
#undef WEX_LIBRARY_ONE

#define WEX_LIBRARY_ENTRY(id, locator, probe, functions, entry) entry,
inline constexpr LibraryEntry WEX_LIBRARY_ENTRIES[] = {WEX_LIBRARIES(WEX_LIBRARY_ENTRY)};
#undef WEX_LIBRARY_ENTRY
constexpr const LibraryEntry& wex_library_entry(Library library) { return WEX_LIBRARY_ENTRIES[int(library)]; }
constexpr const GroupRule& wex_group_rule(Library library) { return wex_library_entry(library).binding; }
}  // namespace wex
