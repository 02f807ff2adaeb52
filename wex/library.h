// library.h (internal): finding the GUI library files and binding their functions by name.
#pragma once
#include "wex/libraries.h"

namespace wex {
// The locators, one per library: each searches for its library's file, opens it, binds its
// probe from it and returns the file name (a ring result).  A missing core library or OpenGL
// ends the process; a missing optional library gives "notfound".
#define WEX_DECLARE_LOCATOR(id, locator, ...) char* locator();
WEX_LIBRARIES(WEX_DECLARE_LOCATOR)
#undef WEX_DECLARE_LOCATOR

constexpr const char* WEX_NOTFOUND = "notfound";

// What the locators found, by library, each a ring result.  OpenGL's is looked for only while
// binding and stays null here.
struct LibraryFiles {
    const char* file[WEX_LIBRARY_COUNT];
    const char* operator[](Library library) const { return file[int(library)]; }
};
// Runs the locators in list order, OpenGL's excepted; and one library's locator.
LibraryFiles wex_locate_libraries();
char* wex_locate(Library library);

// Binds the groups by their rules (wex/libraries.h) and sets gl_library.  A core library that
// lacks a function is a runtime error naming the symbol and the file; an optional one that
// lacks any is treated as absent, its functions and probe all null.
void wex_bind_libraries(const LibraryFiles& files);

// Whether a library's group is bound, and whether GL canvases can be made with GtkGLArea (true)
// or GtkGLExt (false): that library's group and the OpenGL group are bound.
bool wex_group_bound(Library library);
bool wex_gl_usable(bool glarea);

// Whether a bare name of an optional library could be opened at all (library_search.cpp): after
// wex_library_search_ready has said the check can answer, false only when the dynamic loader
// certainly cannot find the name; true for any other name.
bool wex_library_search_ready();
bool wex_library_may_be_found(const char* name);

// The locator's share of binding: the library's probe, from the file the locator opened; null
// when the file lacks it.
void wex_bind_probe(Library library, void* handle);

// Open a group's file again for binding; a file that does not open ends the process with the
// runtime's "could not open" message.
void* wex_open_group(const char* file);

// The bitmap font for text on OpenGL canvases: [glyph of character 32 + g][row from the bottom],
// bit 7 the leftmost pixel.  Zero until INIT finds OpenGL.
extern int wex_glfont[96][16];
void wex_load_glfont();
}  // namespace wex
