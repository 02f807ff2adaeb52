// WEXOPTIONS, the scaling rule, the font factor, and SCREENSIZE against the real desktop settings
// of GTK on the virtual X server.
#include <gtest/gtest.h>
#include <climits>
#include <cmath>
#include <string>
#include "support/toolkit.h"
#include "wex/properties.h"
#include "wex/registry.h"

namespace {
using wex::wex_gui_properties;
using wex_test::StdoutCapture;

class Options : public ::testing::Test {
protected:
    static void SetUpTestSuite() { wex_test::start_toolkit(); }
    void TearDown() override {
        g_object_set(gtk_settings_get_default(), "gtk-font-name", "Sans 10", "gtk-xft-dpi", -1, nullptr);
        wex::WEX_FONT_SIZE_FACTOR = 1;
        wex::WEX_XFT_SIZE_FACTOR = 1;
        wex::WEX_DEFAULT_XFT_SIZE = 96;
        WEX_WIDGET_SHOW = 1;
        WEX_CANVAS_TYPE = 0;
    }
    // What one option printed.
    static std::string option(const char* text) {
        StdoutCapture out;
        WEXOPTIONS(text);
        return out.text();
    }
    static void set_xft_dpi(int dpi) { g_object_set(gtk_settings_get_default(), "gtk-xft-dpi", dpi, nullptr); }
    static void set_font(const char* name) { g_object_set(gtk_settings_get_default(), "gtk-font-name", name, nullptr); }
    // The font of a label made now inside a window (rc styles reach widgets in a window).
    static PangoFontDescription* new_label_font() {
        GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        GtkWidget* label = gtk_label_new("text");
        gtk_container_add(GTK_CONTAINER(window), label);
        gtk_widget_ensure_style(label);
        return label->style->font_desc;
    }
};

TEST_F(Options, UnknownAndLowerCaseOptionsAreReportedAndChangeNothing) {
    WEXOPTIONS("CANVAS GTK");
    for (const char* text : {"canvas GL", "noscaling", "Table 4 3", "", " NOSCALING", "XYZ"}) {
        EXPECT_EQ(option(text), std::string("WEXOPTION '") + text + "' not recognized!\n");
        EXPECT_EQ(WEX_CANVAS_TYPE, 0);
    }
    EXPECT_STREQ(wex_gui_properties.table_option, "");
}

TEST_F(Options, TableKeepsTheWholeOption) {
    EXPECT_EQ(option("TABLE 4 3"), "");
    EXPECT_STREQ(wex_gui_properties.table_option, "TABLE 4 3");
    option("TABLEAU 1 2");  // any option that begins with the keyword counts
    EXPECT_STREQ(wex_gui_properties.table_option, "TABLEAU 1 2");
    option("TABLE");
    EXPECT_STREQ(wex_gui_properties.table_option, "TABLE");
}

TEST_F(Options, BaseXftDpiIsTheRatioOfTheScreenResolution) {
    set_xft_dpi(122880);  // 120 dots per inch
    EXPECT_EQ(option("BASEXFTDPI 96"), "");
    EXPECT_DOUBLE_EQ(wex::WEX_XFT_SIZE_FACTOR, 1.25);
    EXPECT_DOUBLE_EQ(wex::WEX_DEFAULT_XFT_SIZE, 96);
    option("BASEXFTDPI 80");
    EXPECT_DOUBLE_EQ(wex::WEX_XFT_SIZE_FACTOR, 1.5);
    EXPECT_DOUBLE_EQ(wex::WEX_DEFAULT_XFT_SIZE, 80);
}

TEST_F(Options, BaseXftDpiWithoutAUsableNumberOrResolutionKeepsTheFactor) {
    set_xft_dpi(122880);
    option("BASEXFTDPI 96");
    for (const char* text : {"BASEXFTDPI 0", "BASEXFTDPI", "BASEXFTDPI -96", "BASEXFTDPI none"}) {
        EXPECT_EQ(option(text), "") << text;
        EXPECT_DOUBLE_EQ(wex::WEX_XFT_SIZE_FACTOR, 1.25) << text;
        EXPECT_DOUBLE_EQ(wex::WEX_DEFAULT_XFT_SIZE, 96) << text;
    }
    for (int unset : {-1, 0}) {
        set_xft_dpi(unset);
        option("BASEXFTDPI 120");
        EXPECT_DOUBLE_EQ(wex::WEX_XFT_SIZE_FACTOR, 1.25) << unset;
    }
}

TEST_F(Options, ScalingFollowsTheDesktopFontAndNoScalingUndoesIt) {
    set_font("Sans 12");
    EXPECT_EQ(option("SCALING"), "");
    EXPECT_DOUBLE_EQ(wex::WEX_FONT_SIZE_FACTOR, 1.2);
    EXPECT_EQ(wex::wex_scale(333), 400);  // 399.6
    option("NOSCALING");
    EXPECT_DOUBLE_EQ(wex::WEX_FONT_SIZE_FACTOR, 1);
    EXPECT_EQ(wex::wex_scale(333), 333);
    set_font("Serif Italic 7.5");
    option("SCALING");
    EXPECT_DOUBLE_EQ(wex::WEX_FONT_SIZE_FACTOR, 0.75);
    set_font("Monospace");  // no size: nothing to scale by
    option("SCALING");
    EXPECT_DOUBLE_EQ(wex::WEX_FONT_SIZE_FACTOR, 1);
}

TEST_F(Options, ScaledLengthsRoundHalfToEven) {
    wex::WEX_FONT_SIZE_FACTOR = 1;
    wex::WEX_XFT_SIZE_FACTOR = 0.5;
    EXPECT_EQ(wex::wex_scale(5), 2);  // 2.5
    EXPECT_EQ(wex::wex_scale(7), 4);  // 3.5
    EXPECT_EQ(wex::wex_scale(-5), -2);
    wex::WEX_FONT_SIZE_FACTOR = 1.2;
    wex::WEX_XFT_SIZE_FACTOR = 1.25;
    EXPECT_EQ(wex::wex_scale(100), 150);
}

TEST_F(Options, WidgetShowTakesATruncatedNumber) {
    const std::pair<const char*, int> cases[] = {
        {"WIDGET_SHOW 0", 0}, {"WIDGET_SHOW 1", 1}, {"WIDGET_SHOW", 0},
        {"WIDGET_SHOW 2.9", 2}, {"WIDGET_SHOW -1.5", -1}, {"WIDGET_SHOW 1e30", INT_MAX},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(option(text), "");
        EXPECT_EQ(WEX_WIDGET_SHOW, expected) << text;
    }
}

TEST_F(Options, GlFreezeTakesATruncatedNumber) {
    option("GL_FREEZE 1");
    EXPECT_EQ(wex_gui_properties.gl_freeze, 1);
    option("GL_FREEZE");
    EXPECT_EQ(wex_gui_properties.gl_freeze, 0);
}

TEST_F(Options, ClipboardChoosesOneOfThreeSelections) {
    const std::pair<const char*, const char*> cases[] = {
        {"CLIPBOARD 1", "PRIMARY"}, {"CLIPBOARD 2", "SECONDARY"}, {"CLIPBOARD 0", "CLIPBOARD"},
        {"CLIPBOARD 1", "PRIMARY"}, {"CLIPBOARD", "CLIPBOARD"},
    };
    for (const auto& [text, selection] : cases) {
        EXPECT_EQ(option(text), "") << text;
        EXPECT_STREQ(wex_gui_properties.clipboard, selection) << text;
    }
    for (const char* text : {"CLIPBOARD 7", "CLIPBOARD 1.5", "CLIPBOARD -1"}) {
        option("CLIPBOARD 2");
        EXPECT_EQ(option(text), "WARNING: Invalid clipboard specified! Falling back to default clipboard.\n");
        EXPECT_STREQ(wex_gui_properties.clipboard, "CLIPBOARD") << text;
    }
}

TEST_F(Options, MarkupKeepsTheTextAfterTheFirstBlank) {
    option("MARKUP foreground: blue, family:Monospace");
    EXPECT_STREQ(wex_gui_properties.markup, "foreground: blue, family:Monospace");
}

// A label made after the option takes the font; the blanks around the name are not part of it.
TEST_F(Options, FontAppliesToWidgetsMadeAfterwards) {
    EXPECT_EQ(option("FONT    Monospace Bold 14  \t"), "");
    gchar* font = pango_font_description_to_string(new_label_font());
    EXPECT_STREQ(font, "Monospace Bold 14");
    g_free(font);
    option("FONT Sans 10");
}

TEST_F(Options, AQuoteInAFontNameStaysInsideTheName) {
    EXPECT_EQ(option("FONT Serif\" } style \"wexstyle\" { font_name = \"Monospace 20"), "");
    EXPECT_STRNE(pango_font_description_get_family(new_label_font()), "Monospace");
    option("FONT Sans 10");
}

TEST_F(Options, CanvasChoosesAmongTheLibrariesFound) {
    const struct {
        const char* text;
        int type;
        const char* gl_library;
        const char* printed;
    } cases[] = {
        {"CANVAS GL", 1, "GLEXT", ""},
        {"CANVAS GLAREA", 1, "GLAREA", ""},
        {"CANVAS GL", 1, "GLAREA", ""},
        {"CANVAS GTK", 0, "GLAREA", ""},
        {"CANVAS GLEXT", 1, "GLEXT", ""},
        {"CANVAS GOO", 0, "GLEXT", "WARNING: GooCanvas library not found! Falling back to default GTK canvas.\n"},
        {"CANVAS CAIRO", 0, "GLEXT", "WARNING: Invalid canvas library specified! Falling back to default GTK canvas.\n"},
        {"CANVAS", 0, "GLEXT", "WARNING: Invalid canvas library specified! Falling back to default GTK canvas.\n"},
        {"CANVAS gl", 0, "GLEXT", "WARNING: Invalid canvas library specified! Falling back to default GTK canvas.\n"},
    };
    for (const auto& c : cases) {
        WEX_CANVAS_TYPE = 1;
        EXPECT_EQ(option(c.text), c.printed) << c.text;
        EXPECT_EQ(WEX_CANVAS_TYPE, c.type) << c.text;
        EXPECT_STREQ(wex_gui_properties.gl_library, c.gl_library) << c.text;
    }
}

TEST_F(Options, ScreenSizeIsTheDefaultScreens) {
    EXPECT_EQ(SCREENSIZE(0), gdk_screen_width());
    EXPECT_EQ(SCREENSIZE(1), gdk_screen_height());
    EXPECT_GT(SCREENSIZE(0), 0);
    for (int other : {2, -1, 100}) EXPECT_EQ(SCREENSIZE(other), 0);
}

TEST_F(Options, SyncHandlesWhatIsPending) {
    bool ran = false;
    g_idle_add([](gpointer flag) -> gboolean { *static_cast<bool*>(flag) = true; return FALSE; }, &ran);
    SYNC();
    EXPECT_TRUE(ran);
}

TEST_F(Options, SyncOnAGlCanvasShowsItsDrawing) {
    WEXOPTIONS("CANVAS GL");
    wex::wex_gui_properties.canvas = nullptr;
    SYNC();  // no GL canvas made yet: nothing to show
    Widget window = WINDOW("GL", 120, 100);
    Widget canvas = CANVAS(100, 80);
    ATTACH(window, canvas, 0, 0);
    wex_test::run_until_idle();
    SQUARE("#ff0000", 10, 10, 20, 20, 1);
    SYNC();
    EXPECT_EQ(wex::wex_gui_properties.canvas, WEX_GET_HANDLE(void, wex_widget_image, canvas));
}

// --- a fresh toolkit, in a child process -------------------------------------------------------

std::string rc_file(const char* text) {
    char name[] = "/tmp/wex_rc_XXXXXX";
    const int fd = mkstemp(name);
    const std::string line = text;
    EXPECT_EQ(write(fd, line.data(), line.size()), ssize_t(line.size()));
    close(fd);
    return name;
}

TEST(ToolkitStartup, TheFontFactorComesFromTheDesktopFont) {
    if (!wex_test::can_hide_libraries()) GTEST_SKIP() << "needs root and unshare -m";
    const std::pair<const char*, const char*> cases[] = {
        {"gtk-font-name = \"Sans 12\"\n", "1.2"},
        {"gtk-font-name = \"Sans\"\n", "1"},
    };
    for (const auto& [rc, factor] : cases) {
        const std::string file = rc_file(rc);
        const auto outcome = wex_test::run_probe({{}, {}, {}, "GTK2_RC_FILES=" + file});
        EXPECT_EQ(outcome.out, std::string("started with GLEXT, error 0, font factor ") + factor + "\n") << rc;
        unlink(file.c_str());
    }
}

TEST(ToolkitStartup, GlCanvasesWithoutAGlLibraryFallBack) {
    if (!wex_test::can_hide_libraries()) GTEST_SKIP() << "needs root and unshare -m";
    const auto outcome = wex_test::run_probe(
        {{"libgtkgl-2.0.so.1", "libgtkglext-x11-1.0.so.0"}, {}, {"CANVAS GL", "CANVAS GLAREA", "CANVAS GLEXT"}, ""});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out,
              "started with NONE, error 0, font factor 1\n"
              "WARNING: GtkGlArea/GtkGlExt library not found! Falling back to default GTK canvas.\n"
              "canvas 0 with NONE\n"
              "WARNING: GtkGlArea library specified but not found on system! Falling back to default GTK canvas.\n"
              "canvas 0 with NONE\n"
              "WARNING: GtkGlExt library specified but not found on system! Falling back to default GTK canvas.\n"
              "canvas 0 with NONE\n");
}
}  // namespace
