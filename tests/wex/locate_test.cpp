// locate_test.cpp: every branch of the library search, watched from outside.  The probe program
// runs with an observer preloaded (support/observer.cpp) that logs each dlopen and access call
// and can make uname name another system; the files a Darwin or Cygwin system would have are put
// in place as links to this system's libraries (under /opt, in a private mount namespace).
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/toolkit.h"
#include "wex/bindings.h"
#include "wex/library.h"

namespace {
using wex_test::Outcome;

struct Call {
    std::string name;
    bool succeeded;
    bool operator==(const Call&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Call& c) { return out << c.name << (c.succeeded ? " ok" : " failed"); }

struct Observed {
    Outcome outcome;
    std::vector<Call> opened;    // dlopen calls, in order
    std::vector<Call> accessed;  // access calls, in order
};

const std::string GOO_PATH = WEX_GOOCANVAS_DIR;  // empty where GooCanvas was not built

/* Runs the probe as `system` (empty: this one), after the shell commands in `setup` (inside a
 * private mount namespace when `isolated`), with `library_path` on LD_LIBRARY_PATH. */
Observed observe(const std::string& system, const std::string& setup, const std::string& library_path,
                 bool isolated = false) {
    char log[] = "/tmp/wex_locate_XXXXXX";
    close(mkstemp(log));
    std::string command = std::string(isolated ? "unshare -m " : "") + "sh -c '" + setup + " LD_LIBRARY_PATH=" +
                          library_path + " LD_PRELOAD=" WEX_OBSERVER " WEX_TEST_LOG=" + log +
                          (system.empty() ? "" : " WEX_TEST_SYSTEM=" + system) + " exec " WEX_PROBE_PROGRAM "'";
    Observed observed{wex_test::run_command(command), {}, {}};
    std::istringstream lines(wex_test::read_file(log));
    std::string call, name, result;
    while (lines >> call >> name >> result) {
        // The libraries' own start-up opens the program itself (a null name) and tests files of
        // their own; only library files are the toolkit's.
        if (call == "dlopen" && name != "(null)") observed.opened.push_back({name, result == "ok"});
        if (call == "access" && (name.find(".dylib") != name.npos || name.find(".dll") != name.npos))
            observed.accessed.push_back({name, result == "ok"});
    }
    unlink(log);
    return observed;
}

void add(std::vector<Call>& calls, const std::string& name, bool succeeded, int times = 1) {
    for (int i = 0; i < times; ++i) calls.push_back({name, succeeded});
}

// The numbered names tried for a stem until one opens: `found` is its number, -1 for none.
void add_numbered(std::vector<Call>& calls, const std::string& stem, int found) {
    for (int nr = 0; nr < 50; ++nr) {
        add(calls, stem + std::to_string(nr), nr == found);
        if (nr == found) return;
    }
}

// An optional library's numbered names that the loader cannot find never reach dlopen: of the
// names tried, only the one that opens does (none when the library is absent).
void add_optional(std::vector<Call>& calls, const std::string& stem, int found) {
    if (found >= 0) add(calls, stem + std::to_string(found), true);
}

// GooCanvas is searched by its numbered names on every system; it opens as .so.3 where built.
void add_goocanvas(std::vector<Call>& calls) { add_optional(calls, "libgoocanvas.so.", GOO_PATH.empty() ? -1 : 3); }

// The calls for one library's names.
std::vector<Call> only(const std::vector<Call>& calls, const std::string& stem) {
    std::vector<Call> kept;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(kept),
                 [&stem](const Call& call) { return call.name.starts_with(stem); });
    return kept;
}

std::vector<Call> first(const std::vector<Call>& calls, size_t n) {
    return {calls.begin(), calls.begin() + std::min(n, calls.size())};
}

const char* const DARWIN_GTK = "/opt/local/lib/libgtk-x11-2.0.0.dylib";
const char* const DARWIN_GTK_FRAMEWORK = "/Library/Frameworks/Gtk.framework/Libraries/libgtk-quartz-2.0.0.dylib";
const char* const CYGWIN_GTK = "cyggtk-x11-2.0-0.dll";

TEST(Locate, DarwinWithoutItsFilesTriesTheFrameworkPathFiftyTimes) {
    const Observed run = observe("Darwin", "", "");
    EXPECT_EQ(run.outcome.out, "Gtk library not found!\n");
    EXPECT_EQ(run.outcome.status, 0);
    std::vector<Call> expected;
    add(expected, DARWIN_GTK_FRAMEWORK, false, 50);
    EXPECT_EQ(run.opened, expected);
    EXPECT_EQ(run.accessed, (std::vector<Call>{{DARWIN_GTK, false}}));  // the existence test, once
}

TEST(Locate, CygwinWithoutItsFilesTriesTheDllFiftyTimes) {
    const Observed run = observe("CYGWIN_NT-10.0", "", "");
    EXPECT_EQ(run.outcome.out, "Gtk library not found!\n");
    std::vector<Call> expected;
    add(expected, CYGWIN_GTK, false, 50);
    EXPECT_EQ(run.opened, expected);
}

// Links named as a system's files, to this system's libraries.
struct Link {
    const char* name;
    const char* library;  // the name this system loads it by
};
std::string make_links(const std::string& folder, std::initializer_list<Link> links) {
    std::string commands = "mkdir -p " + folder + " &&";
    for (const Link& link : links)
        commands += " ln -sf " + wex_test::library_file(link.library) + " " + folder + "/" + link.name + " &&";
    return commands;
}

/* On Cygwin the core libraries open by their DLL names, each at the first attempt; the GL widget
 * libraries, GooCanvas and OpenGL, which have no Cygwin names, by the numbered Linux names. */
TEST(Locate, CygwinOpensItsDllsAndNumbersTheRest) {
    char folder[] = "/tmp/wex_cygwin_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string links = make_links(folder, {{"cyggtk-x11-2.0-0.dll", "libgtk-x11-2.0.so.0"},
                                                  {"cyggdk-x11-2.0-0.dll", "libgdk-x11-2.0.so.0"},
                                                  {"cyggdk_pixbuf-2.0-0.dll", "libgdk_pixbuf-2.0.so.0"},
                                                  {"cygglib-2.0-0.dll", "libglib-2.0.so.0"},
                                                  {"cyggobject-2.0-0.dll", "libgobject-2.0.so.0"},
                                                  {"cygpango-1.0-0.dll", "libpango-1.0.so.0"}});
    const Observed run = observe("CYGWIN_NT-10.0", links, std::string(folder) + ":" + GOO_PATH);
    wex_test::run_command(std::string("rm -rf ") + folder);
    EXPECT_EQ(run.outcome.out, "started with GLEXT, error 0, font factor 1\n");

    std::vector<Call> expected;
    for (const char* dll : {CYGWIN_GTK, "cyggdk-x11-2.0-0.dll", "cyggdk_pixbuf-2.0-0.dll", "cygglib-2.0-0.dll",
                            "cyggobject-2.0-0.dll", "cygpango-1.0-0.dll"})
        add(expected, dll, true);
    add_optional(expected, "libgtkgl-2.0.so.", 1);  // both through the loader's cache
    add_optional(expected, "libgtkglext-x11-1.0.so.", 0);
    add_goocanvas(expected);
    // Binding opens each group's file again by the name found: GTK, GDK, GObject, GLib, Pango.
    for (const char* dll : {CYGWIN_GTK, "cyggdk-x11-2.0-0.dll", "cyggobject-2.0-0.dll", "cygglib-2.0-0.dll",
                            "cygpango-1.0-0.dll", "libgtkgl-2.0.so.1", "libgtkglext-x11-1.0.so.0"})
        add(expected, dll, true);
    if (!GOO_PATH.empty()) add(expected, "libgoocanvas.so.3", true);
    add_numbered(expected, "libGL.so.", 1);
    add(expected, "libGL.so.1", true);
    EXPECT_EQ(first(run.opened, expected.size()), expected);  // GTK opens modules of its own later
    EXPECT_EQ(run.accessed, std::vector<Call>{});  // no existence tests
}

/* On Darwin each library with its first path present opens from there, tested first for its
 * existence; GtkGLExt, absent, falls back to its framework path and tries it fifty times; GooCanvas
 * keeps its numbered names; and OpenGL, wanted because GtkGLArea was found, has one path, not
 * tested for existence, that never opens here: the program ends as when OpenGL is missing. */
TEST(Locate, DarwinOpensItsFirstPathsAndFallsBackForWhatIsMissing) {
    if (!wex_test::can_hide_libraries()) GTEST_SKIP() << "needs root and unshare -m";
    const char* const darwin[][2] = {
        {DARWIN_GTK, "libgtk-x11-2.0.so.0"},
        {"/opt/local/lib/libgdk-x11-2.0.0.dylib", "libgdk-x11-2.0.so.0"},
        {"/opt/local/lib/libgdk_pixbuf-2.0.dylib", "libgdk_pixbuf-2.0.so.0"},
        {"/opt/local/lib/libglib-2.0.0.dylib", "libglib-2.0.so.0"},
        {"/opt/local/lib/libgobject-2.0.0.dylib", "libgobject-2.0.so.0"},
        {"/opt/local/lib/libpango-1.0.0.dylib", "libpango-1.0.so.0"},
        {"/opt/local/lib/libgtkgl-2.0.dylib", "libgtkgl-2.0.so.1"},
    };
    std::string setup = "mount -t tmpfs none /opt && mkdir -p /opt/local/lib &&";
    for (const auto& [path, library] : darwin) setup += " ln -s " + wex_test::library_file(library) + " " + path + " &&";
    const Observed run = observe("Darwin", setup, GOO_PATH, true);
    EXPECT_EQ(run.outcome.out, "OpenGL canvas requested but no OpenGL library found! Exiting...\n");
    EXPECT_EQ(run.outcome.status, 0);

    const char* const glext = "/opt/local/lib/libgtkglext-x11-1.0.dylib";
    const char* const glext_framework = "/Library/Frameworks/Gtk.framework/Libraries/libgtkglext-quartz-1.0.dylib";
    std::vector<Call> opened, accessed;
    for (const auto& [path, library] : darwin) {
        add(opened, path, true);
        add(accessed, path, true);
    }
    add(accessed, glext, false);
    add(opened, glext_framework, false, 50);
    add_goocanvas(opened);
    for (int group : {0, 1, 4, 3, 5, 6}) add(opened, darwin[group][0], true);  // GTK, GDK, GObject, GLib, Pango, GtkGLArea
    if (!GOO_PATH.empty()) add(opened, "libgoocanvas.so.3", true);
    add(opened, "/System/Library/Frameworks/OpenGL.framework/Libraries/libGL.dylib", false, 50);
    EXPECT_EQ(run.opened, opened);
    EXPECT_EQ(run.accessed, accessed);
}

// With GtkGLExt hidden, INIT itself finds GtkGLArea alone and records it.
TEST(Locate, WithoutGtkGlExtInitChoosesGtkGlArea) {
    if (!wex_test::can_hide_libraries()) GTEST_SKIP() << "needs root and unshare -m";
    const Outcome outcome = wex_test::run_probe({{"libgtkglext-x11-1.0.so.0"}, {}, {}, ""});
    EXPECT_EQ(outcome.out, "started with GLAREA, error 0, font factor 1\n");
    EXPECT_EQ(outcome.status, 0);
}

// WEXLIB$ runs the locator again, which binds its probe from the file it opens.
TEST(Locate, WexlibBindsTheProbeAgain) {
    wex_test::start_toolkit();
    wex::gtk_gl_area_new = nullptr;
    EXPECT_STREQ(WEXLIB$("glarea"), "libgtkgl-2.0.so.1");
    void* file = dlopen("libgtkgl-2.0.so.1", RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(wex::gtk_gl_area_new), dlsym(file, "gtk_gl_area_new"));
}

/* GooCanvas where the loader looks inside an LD_LIBRARY_PATH directory: in a capability
 * subdirectory, new or legacy, or nowhere.  Found, it opens at the first dlopen, as .so.3, and
 * binding opens it again; absent, none of its names reaches dlopen. */
TEST(Locate, GooCanvasInCapabilitySubdirectoriesIsFound) {
    if (GOO_PATH.empty()) GTEST_SKIP() << "GooCanvas not built";
    const std::string goo = GOO_PATH + "/libgoocanvas.so.3";
    for (const std::string subdirectory : {"glibc-hwcaps/x86-64-v2", "tls", ""}) {
        char folder[] = "/tmp/wex_goo_XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        const std::string place = std::string(folder) + "/" + subdirectory;
        const std::string setup =
            subdirectory.empty() ? "" : "mkdir -p " + place + " && ln -s " + goo + " " + place + " &&";
        const Observed run = observe("", setup, folder);
        wex_test::run_command(std::string("rm -rf ") + folder);
        std::vector<Call> expected;
        if (!subdirectory.empty()) add(expected, "libgoocanvas.so.3", true, 2);
        EXPECT_EQ(only(run.opened, "libgoocanvas.so."), expected) << subdirectory;
        EXPECT_EQ(run.outcome.out, "started with GLEXT, error 0, font factor 1\n");
    }
}

/* A library the loader would find by name because an object with that soname is loaded, here
 * GooCanvas opened from a file of another name, in a folder the loader does not search.  Before
 * that, every attempt fails and leaves ERROR at 3. */
TEST(Locate, AnObjectLoadedUnderTheSonameIsFound) {
    if (GOO_PATH.empty()) GTEST_SKIP() << "GooCanvas not built";
    wex_test::start_toolkit();
    ERROR = 0;
    EXPECT_STREQ(WEXLIB$("goo"), "notfound");
    EXPECT_EQ(ERROR, 3);
    char folder[] = "/tmp/wex_soname_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string renamed = std::string(folder) + "/renamed.so";
    wex_test::run_command("cp " + GOO_PATH + "/libgoocanvas.so.3 " + renamed);
    void* goo = dlopen(renamed.c_str(), RTLD_LAZY);
    wex_test::run_command(std::string("rm -rf ") + folder);
    ASSERT_NE(goo, nullptr);
    EXPECT_STREQ(WEXLIB$("goo"), "libgoocanvas.so.3");
}

// GooCanvas in a folder that only the loader's cache names, as one listed in ld.so.conf; the
// cache in either of the formats ldconfig writes.
TEST(Locate, GooCanvasNamedOnlyByTheCacheIsFound) {
    if (GOO_PATH.empty()) GTEST_SKIP() << "GooCanvas not built";
    if (!wex_test::can_hide_libraries()) GTEST_SKIP() << "needs root and unshare -m";
    for (const std::string format : {"new", "compat"}) {
        char folder[] = "/tmp/wex_cache_XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        const std::string here = folder;
        const std::string setup = "ln -s " + GOO_PATH + "/libgoocanvas.so.3 " + here + " && ldconfig -X -f /dev/null -c " +
                                  format + " -C " + here + "/cache " + here + " && mount --bind " + here +
                                  "/cache /etc/ld.so.cache &&";
        const Observed run = observe("", setup, "", true);
        wex_test::run_command("rm -rf " + here);
        std::vector<Call> expected;
        add(expected, "libgoocanvas.so.3", true, 2);
        EXPECT_EQ(only(run.opened, "libgoocanvas.so."), expected) << format;
    }
}
}  // namespace
