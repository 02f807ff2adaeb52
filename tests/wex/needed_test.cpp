// No program links a GUI library: the NEEDED entries of every game, and of a
// program linked like them, name no GTK, GDK, GLib, GObject, Pango or GL library.
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>
#include "support/toolkit.h"

namespace {
std::vector<std::string> needed_entries(const std::string& program) {
    const wex_test::Outcome outcome = wex_test::run_command("readelf -d " + program);
    EXPECT_EQ(outcome.status, 0) << program << ": " << outcome.err;
    const std::regex needed(R"(\(NEEDED\)\s+Shared library: \[(.*)\])");
    std::vector<std::string> libraries;
    std::istringstream lines(outcome.out);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line))
        if (std::regex_search(line, match, needed)) libraries.push_back(match[1]);
    return libraries;
}

std::vector<std::string> gui_libraries(const std::string& program) {
    const std::regex gui(R"(^lib(gtk|gdk|glib|gobject|gio|gmodule|gthread|pango|GL)[-_.A-Za-z0-9]*\.so.*)");
    std::vector<std::string> found;
    for (const std::string& library : needed_entries(program))
        if (std::regex_match(library, gui)) found.push_back(library);
    return found;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + " ";
    return text;
}

TEST(Needed, TheCheckSeesAGuiLibraryWhereOneIsLinked) {
    // This test program links GTK itself to inspect widgets; the check must notice.
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    EXPECT_FALSE(gui_libraries(self).empty());
}

TEST(Needed, AProgramLinkedLikeTheGamesNeedsNoGuiLibrary) {
    const std::string program = WEX_PROBE_PROGRAM;
    EXPECT_FALSE(needed_entries(program).empty());  // readelf read it
    EXPECT_EQ(joined(gui_libraries(program)), "") << program;
}

TEST(Needed, NoGameNeedsAGuiLibrary) {
    for (const char* game : {"kelvado", "plimsy", "torvane"}) {
        const std::string program = std::string(WEX_BINARY_DIR "/games/") + game + "/" + game;
        ASSERT_EQ(access(program.c_str(), X_OK), 0) << program << " is not built";
        EXPECT_FALSE(needed_entries(program).empty()) << program;
        EXPECT_EQ(joined(gui_libraries(program)), "") << program;
    }
}
}  // namespace
