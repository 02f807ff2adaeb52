// Finding and binding the GUI libraries: the locators' results on this system, WEXLIB$, the
// groups bound by name, the GL font, and the exits when a library is missing (hidden for real
// in a private mount namespace, with stand-ins for the libraries before it).
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "support/toolkit.h"
#include "wex/bindings.h"
#include "wex/library.h"
#include "wex/properties.h"

namespace {
using wex_test::Outcome;
using wex_test::Probe;
using wex_test::can_hide_libraries;
using wex_test::run_probe;

class Library : public ::testing::Test {
protected:
    static void SetUpTestSuite() { wex_test::start_toolkit(); }
};

TEST_F(Library, EachNameFindsItsFileOnThisSystem) {
    const std::pair<const char*, const char*> expected[] = {
        {"gtk", "libgtk-x11-2.0.so.0"},     {"gdk", "libgdk-x11-2.0.so.0"},
        {"glib", "libglib-2.0.so.0"},       {"gobject", "libgobject-2.0.so.0"},
        {"pango", "libpango-1.0.so.0"},     {"glarea", "libgtkgl-2.0.so.1"},
        {"glext", "libgtkglext-x11-1.0.so.0"}, {"goo", "notfound"},
    };
    for (const auto& [name, file] : expected) EXPECT_STREQ(WEXLIB$(name), file) << name;
}

TEST_F(Library, NamesAreExactAndCaseSensitive) {
    for (const char* name : {"GTK", "gdkpixbuf", "gl", "", " gtk", "gtk "})
        EXPECT_STREQ(WEXLIB$(name), "Unknown") << '"' << name << '"';
    EXPECT_STREQ(WEXLIB$(nullptr), "Unknown");
}

TEST_F(Library, FailedCandidatesLeaveErrorThree) {
    ERROR = 0;
    WEXLIB$("gtk");  // the first candidate opens
    EXPECT_EQ(ERROR, 0);
    WEXLIB$("glarea");  // libgtkgl-2.0.so.0 does not exist, .so.1 does
    EXPECT_EQ(ERROR, 3);
}

// The symbol as the loader resolves it from the libraries the toolkit opened (their files and
// everything they depend on).
void* loaded_symbol(const char* name) {
    for (const char* file : {"libgtk-x11-2.0.so.0", "libgtkgl-2.0.so.1", "libgtkglext-x11-1.0.so.0"}) {
        void* library = dlopen(file, RTLD_LAZY | RTLD_NOLOAD);
        if (void* symbol = library ? dlsym(library, name) : nullptr) return symbol;
    }
    return nullptr;
}

// Every pointer must hold the library's own function of that name: a list entry bound to the
// wrong symbol, or a group bound from the wrong file, shows here.
void expect_bound(const char* name, void* pointer) {
    EXPECT_NE(pointer, nullptr) << name;
    EXPECT_EQ(pointer, loaded_symbol(name)) << name;
}
#define WEX_EXPECT_BOUND(name) expect_bound(#name, reinterpret_cast<void*>(wex::name));

TEST_F(Library, CoreGroupsAndProbesAreBoundByName) {
    WEX_EXPECT_BOUND(gtk_init)
    WEX_EXPECT_BOUND(gdk_atom_intern)
    WEX_EXPECT_BOUND(gdk_pixbuf_new_from_file)
    WEX_EXPECT_BOUND(g_timeout_add)
    WEX_EXPECT_BOUND(g_object_unref)
    WEX_EXPECT_BOUND(pango_font_description_from_string)
    WEX_GTK_FUNCTIONS(WEX_EXPECT_BOUND)
    WEX_GDK_FUNCTIONS(WEX_EXPECT_BOUND)
    WEX_GOBJECT_FUNCTIONS(WEX_EXPECT_BOUND)
    WEX_GLIB_FUNCTIONS(WEX_EXPECT_BOUND)
    WEX_PANGO_FUNCTIONS(WEX_EXPECT_BOUND)
}

TEST_F(Library, BothGlLibrariesAreBoundAndGlExtWins) {
    EXPECT_STREQ(wex::wex_gui_properties.gl_library, "GLEXT");
    WEX_EXPECT_BOUND(gtk_gl_area_new)
    WEX_EXPECT_BOUND(gtk_gl_init)
    WEX_EXPECT_BOUND(glBegin)
    WEX_GLAREA_FUNCTIONS(WEX_EXPECT_BOUND)
    WEX_GLEXT_FUNCTIONS(WEX_EXPECT_BOUND)
    WEX_GL_FUNCTIONS(WEX_EXPECT_BOUND)
}

TEST_F(Library, GooCanvasIsAbsentAndUnbound) {
    EXPECT_STREQ(wex::wex_Goocanvas$, "notfound");
#define WEX_EXPECT_NULL(name) EXPECT_EQ(reinterpret_cast<void*>(wex::name), nullptr) << #name;
    WEX_GOO_FUNCTIONS(WEX_EXPECT_NULL)
    WEX_EXPECT_NULL(goo_canvas_new)
#undef WEX_EXPECT_NULL
}

TEST_F(Library, GlFontHasTheQuotedGlyphs) {
    const std::vector<int> blank(16, 0);
    const std::vector<int> bang{0, 24, 24, 0, 0, 24, 24, 24, 24, 24, 24, 24, 0, 0, 0, 0};
    const std::vector<int> zero{0, 0, 28, 54, 99, 99, 99, 99, 99, 99, 54, 28, 0, 0, 0, 0};
    const std::vector<int> a{0, 0, 99, 99, 99, 99, 127, 99, 99, 99, 54, 28, 0, 0, 0, 0};
    auto glyph = [](char c) {
        const int* rows = wex::wex_glfont[c - 32];
        return std::vector<int>(rows, rows + 16);
    };
    EXPECT_EQ(glyph(' '), blank);
    EXPECT_EQ(glyph('!'), bang);
    EXPECT_EQ(glyph('0'), zero);
    EXPECT_EQ(glyph('A'), a);
}

TEST_F(Library, EveryGlyphFitsItsCell) {
    int marked = 0;
    for (const auto& glyph : wex::wex_glfont) {
        EXPECT_EQ(glyph[14] | glyph[15], 0);  // the two top rows
        int ink = 0;
        for (int row : glyph) {
            EXPECT_TRUE(row >= 0 && row <= 127) << row;
            ink |= row;
        }
        marked += ink != 0;
    }
    EXPECT_EQ(marked, 94);  // all but the blank and DEL
}

// --- missing libraries, in child processes --------------------------------------------------

struct Missing {
    const char* hidden;
    std::vector<const char*> standins;
    const char* message;
};

TEST(MissingLibrary, EachCoreLibraryAndOpenGlEndTheProgramQuietly) {
    if (!can_hide_libraries()) GTEST_SKIP() << "needs root and unshare -m";
    const Missing cases[] = {
        {"libgtk-x11-2.0.so.0", {}, "Gtk library not found!"},
        {"libgdk-x11-2.0.so.0", {"gtk"}, "Gdk library not found!"},
        {"libgdk_pixbuf-2.0.so.0", {"gtk", "gdk"}, "Gdk_pixbuf library not found!"},
        {"libglib-2.0.so.0", {"gtk", "gdk", "gdkpixbuf"}, "Glib library not found!"},
        {"libgobject-2.0.so.0", {"gtk", "gdk", "gdkpixbuf"}, "Gobject library not found!"},
        {"libpango-1.0.so.0", {"gtk", "gdk"}, "Pango library not found!"},
        {"libGL.so.1", {"glarea"}, "OpenGL canvas requested but no OpenGL library found! Exiting..."},
    };
    for (const Missing& c : cases) {
        const Outcome outcome = run_probe({{c.hidden}, c.standins, {}, ""});
        EXPECT_EQ(outcome.status, 0) << c.hidden;
        EXPECT_EQ(outcome.out, std::string(c.message) + "\n") << c.hidden;
        EXPECT_EQ(outcome.err, "") << c.hidden;
    }
}

// Failed candidates (GtkGLArea's first, every GooCanvas one) left ERROR at 3 during the search.
TEST(MissingLibrary, TheProbeStartsWhenNothingIsHiddenWithTheErrorCleared) {
    const Outcome outcome = run_probe({});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "started with GLEXT, error 0, font factor 1\n");
}

TEST(MissingLibrary, NumbersStopAtFortyNine) {
    if (!can_hide_libraries()) GTEST_SKIP() << "needs root and unshare -m";
    const Outcome beyond = run_probe({{"libgtk-x11-2.0.so.0"}, {"gtk50"}, {}, ""});
    EXPECT_EQ(beyond.status, 0);
    EXPECT_EQ(beyond.out, "Gtk library not found!\n");

    // .so.49 is the last name tried: the stand-in is found and opened, and binding the GTK
    // group from it reports the first function it lacks and the file that lacks it.
    const Outcome last = run_probe({{"libgtk-x11-2.0.so.0"}, {"gtk49"}, {}, ""});
    EXPECT_EQ(last.status, 4);
    EXPECT_EQ(last.out, "");
    EXPECT_EQ(last.err.rfind("Runtime error: function 'gtk_bin_get_child' at line ", 0), 0u) << last.err;
    EXPECT_NE(last.err.find("/gtk49/libgtk-x11-2.0.so.49': Symbol not found in library.\n"), std::string::npos)
        << last.err;
}

TEST(MissingLibrary, AGroupFileThatWillNotOpenEndsWithTheRuntimeMessage) {
    EXPECT_EXIT(
        {
            dup2(2, 1);
            wex::wex_open_group("/nonexistent/libwex-none.so.0");
        },
        ::testing::ExitedWithCode(0), "^Could not open library.\n$");
}
}  // namespace
