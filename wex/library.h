// library.h (internal): finding the GUI library files and binding their functions by name.
#pragma once

namespace wex {
// The ten locators: each searches for its library's file, opens it, binds its probe from it and
// returns the file name (a ring result).  A missing core library or OpenGL ends the process;
// a missing optional library gives "notfound".
char* wex_Get_Gtk$();
char* wex_Get_Gdk$();
char* wex_Get_Gdkpixbuf$();
char* wex_Get_Glib$();
char* wex_Get_Gobject$();
char* wex_Get_Pango$();
char* wex_Get_GtkGlArea$();
char* wex_Get_GtkGlExt$();
char* wex_Get_Goocanvas$();
char* wex_Get_Gl$();

constexpr const char* WEX_NOTFOUND = "notfound";

// What the locators found, in the order INIT runs them (each a ring result).
struct LibraryFiles {
    const char* gtk;
    const char* gdk;
    const char* gdkpixbuf;
    const char* glib;
    const char* gobject;
    const char* pango;
    const char* glarea;
    const char* glext;
    const char* goocanvas;
};
LibraryFiles wex_locate_libraries();

// Bind the core groups, then the optional ones that were found; sets gl_library.  A core
// library that lacks a function is a runtime error naming the symbol and the file; an optional
// one that lacks any is treated as absent, its functions and probe all null.
struct BoundGroups {
    bool gl;         // the OpenGL group, with at least one GL widget library
    bool goocanvas;  // the GooCanvas group
};
BoundGroups wex_bind_libraries(const LibraryFiles& files);

// Whether GL canvases can be made with GtkGLArea (true) or GtkGLExt (false): that library's
// group and the OpenGL group are bound.
bool wex_gl_usable(bool glarea);

// Open a group's file again for binding; a file that does not open ends the process with the
// runtime's "could not open" message.
void* wex_open_group(const char* file);

// The bitmap font for text on OpenGL canvases: [glyph of character 32 + g][row from the bottom],
// bit 7 the leftmost pixel.  Zero until INIT finds OpenGL.
extern int wex_glfont[96][16];
void wex_load_glfont();
}  // namespace wex
