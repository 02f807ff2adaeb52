// incomplete_library_test.cpp: optional libraries that lack one of their functions count as
// absent, with gl_library and the canvas options agreeing; stand-ins on LD_LIBRARY_PATH are
// found before the system's files.
#include <gtest/gtest.h>
#include <string>
#include "support/toolkit.h"

namespace {
using wex_test::Outcome;
using wex_test::run_probe;

constexpr const char* GOO_MISSING = "WARNING: GooCanvas library not found! Falling back to default GTK canvas.\n";
constexpr const char* GLEXT_MISSING =
    "WARNING: GtkGlExt library specified but not found on system! Falling back to default GTK canvas.\n";
constexpr const char* GL_MISSING =
    "WARNING: GtkGlArea/GtkGlExt library not found! Falling back to default GTK canvas.\n";

TEST(IncompleteLibrary, AnOptionalLibraryLackingAFunctionIsNotFound) {
    const struct {
        std::vector<const char*> standins;
        std::vector<const char*> options;
        std::string out;
    } cases[] = {
        // The system's GtkGLArea serves when its GtkGLExt is incomplete.
        {{"glext_incomplete"}, {"CANVAS GLEXT", "CANVAS GL"},
         std::string("started with GLAREA, error 0, font factor 1\n") + GLEXT_MISSING + "canvas 0 with GLAREA\n" +
             "canvas 1 with GLAREA\n"},
        {{"glext_incomplete", "glarea_incomplete"}, {"CANVAS GL"},
         std::string("started with NONE, error 0, font factor 1\n") + GL_MISSING + "canvas 0 with NONE\n"},
        // Without all of OpenGL neither GL widget library can draw.
        {{"gl_incomplete"}, {"CANVAS GL"},
         std::string("started with NONE, error 0, font factor 1\n") + GL_MISSING + "canvas 0 with NONE\n"},
        {{"goo_incomplete"}, {"CANVAS GOO"},
         std::string("started with GLEXT, error 0, font factor 1\n") + GOO_MISSING + "canvas 0 with GLEXT\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run_probe({{}, c.standins, c.options, ""});
        EXPECT_EQ(outcome.status, 0) << c.standins[0];
        EXPECT_EQ(outcome.out, c.out) << c.standins[0];
        EXPECT_EQ(outcome.err, "") << c.standins[0];
    }
}
}  // namespace
