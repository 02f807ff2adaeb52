// gl_canvas_cases.h: the OpenGL canvas tests, run once per GL widget library, each in its own
// program.  The including file defines GL_CANVAS_OPTION ("CANVAS GLEXT" or "CANVAS GLAREA")
// and GL_LIBRARY (the gl_library that option selects).
#pragma once
#include <cstring>
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
constexpr Rgb WHITE{255, 255, 255}, BLACK{0, 0, 0}, RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255};

class GlCanvas : public ::testing::Test {
protected:
    static constexpr int SIZE = 160;
    static void SetUpTestSuite() {
        if (window.window) return;
        start_toolkit();
        WEXOPTIONS(GL_CANVAS_OPTION);
        window = open_canvas_window("gl", SIZE, SIZE);
        pump_until([] { return WEX_GET(wex_canvas_expose, window.drawable) == 1; });
    }
    void SetUp() override {
        DRAW(window.canvas);
        SQUARE("#FFFFFF", 0, 0, SIZE, SIZE, 1);
    }
    static Pixels screen() {
        pump(100);
        int x = 0, y = 0;
        screen_origin(window.canvas, &x, &y);
        return read_screen(x, y, SIZE, SIZE);
    }
    static CanvasWindow window;
};
CanvasWindow GlCanvas::window;

TEST_F(GlCanvas, UsesTheChosenLibraryAndRegistersTheArea) {
    EXPECT_EQ(WEX_CANVAS_TYPE, 1);
    EXPECT_STREQ(wex::wex_gui_properties.gl_library, GL_LIBRARY);
    auto* area = WEX_GET_HANDLE(GtkWidget, wex_widget_image, window.canvas);
    EXPECT_EQ(area, window.drawable);  // the area is its own drawable
    EXPECT_TRUE(GTK_IS_DRAWING_AREA(area));
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_pix, area), area);
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_ebox, area), window.canvas);
    EXPECT_TRUE(HAS_ENTRY(wex_widget_color, area));
    EXPECT_EQ(WEX_GET(wex_widget_color, area), 0);
    EXPECT_FALSE(HAS_ENTRY(wex_widget_context, area));
    EXPECT_STREQ(WEX_GET(wex_widget_type$, window.canvas), "canvas");
}

TEST_F(GlCanvas, FirstExposeClearedToWhite) {
    EXPECT_EQ(WEX_GET(wex_canvas_expose, window.drawable), 1);
    Pixels shown = screen();
    ASSERT_EQ(shown.width, SIZE);
    for (const Rgb& c : shown.rgb) ASSERT_EQ(c, WHITE);
    EXPECT_STREQ(GETCOLOR$(0, 0, 0), "#FFFFFF\n");
    EXPECT_STREQ(GETCOLOR$(SIZE - 1, SIZE - 1, 0), "#FFFFFF\n");
}

TEST_F(GlCanvas, FilledSquareCoversItsBox) {
    SQUARE("#FF0000", 10, 20, 30, 40, 1);
    EXPECT_EQ(colour_at(10, 20), RED);
    EXPECT_EQ(colour_at(39, 59), RED);
    EXPECT_EQ(colour_at(9, 20), WHITE);
    EXPECT_EQ(colour_at(10, 19), WHITE);
    EXPECT_EQ(colour_at(40, 40), WHITE);
    EXPECT_EQ(colour_at(20, 60), WHITE);
    Pixels shown = screen();
    EXPECT_EQ(shown.at(10, 20), RED);  // and the screen shows it
    EXPECT_EQ(shown.at(40, 40), WHITE);
}

TEST_F(GlCanvas, OnlySevenCharacterHexIsAColour) {
    SQUARE("red", 0, 0, 10, 10, 1);      // a name: black here
    SQUARE("#0000FF ", 10, 0, 10, 10, 1);  // eight characters: black
    SQUARE("#0000fF", 20, 0, 10, 10, 1);
    EXPECT_EQ(colour_at(5, 5), BLACK);
    EXPECT_EQ(colour_at(15, 5), BLACK);
    EXPECT_EQ(colour_at(25, 5), BLUE);
}

TEST_F(GlCanvas, PixelAndLineLandOnTheirPixels) {
    PIXEL("#00FF00", 50, 60);
    EXPECT_EQ(colour_at(50, 60), GREEN);
    EXPECT_EQ(colour_at(50, 59), WHITE);
    EXPECT_EQ(colour_at(50, 61), WHITE);
    EXPECT_EQ(colour_at(0, 0), WHITE);
    LINE("#0000FF", 70, 5, 90, 5);
    for (int x = 71; x < 90; ++x) EXPECT_EQ(colour_at(x, 5), BLUE) << x;
    EXPECT_EQ(colour_at(80, 4), WHITE);
    EXPECT_EQ(colour_at(80, 6), WHITE);
}

TEST_F(GlCanvas, CirclesUseIntegerHalves) {
    CIRCLE("#FF0000", 100, 100, 40, 40, 1);
    EXPECT_EQ(colour_at(120, 120), RED);
    EXPECT_EQ(colour_at(101, 101), WHITE);  // outside the circle, inside its box
    SQUARE("#FFFFFF", 0, 0, SIZE, SIZE, 1);
    CIRCLE("#FF0000", 100, 100, 41, 40, 1);  // 41 / 2 is 20: the same circle
    int right = 0;
    for (int x = 100; x < SIZE; ++x)
        if (colour_at(x, 120) == RED) right = x;
    EXPECT_LE(right, 140);
    CIRCLE("#0000FF", 20, 100, 40, 40, 0);
    EXPECT_EQ(colour_at(40, 120), WHITE);  // an outline: the centre stays
}

// The glyph of "A", rows from the bottom: 0, 0, 99, 99, 99, 99, 127, 99, 99, 99, 54, 28, 0...
TEST_F(GlCanvas, TextUsesTheBitmapFont) {
    OUT("A", "#0000FF", "", 100, 10);
    int bar = 10 + 15 - 6;  // row 6 (127): the bar of the A
    EXPECT_EQ(colour_at(100, bar), WHITE);  // bit 7 is 0: background
    for (int x = 101; x <= 107; ++x) EXPECT_EQ(colour_at(x, bar), BLUE) << x;
    int leg = 10 + 15 - 2;  // row 2 (99 = 01100011)
    EXPECT_EQ(colour_at(101, leg), BLUE);
    EXPECT_EQ(colour_at(102, leg), BLUE);
    EXPECT_EQ(colour_at(104, leg), WHITE);
    EXPECT_EQ(colour_at(106, leg), BLUE);
    EXPECT_EQ(colour_at(107, leg), BLUE);
    EXPECT_EQ(colour_at(104, 10 + 15), WHITE);  // row 0 is empty
    // A second character starts 8 pixels on; the background colour fills each cell.
    OUT("<A", "#000000", "#FF0000", 20, 100);
    EXPECT_EQ(colour_at(20, 100), RED);
    EXPECT_EQ(colour_at(35, 100), RED);
    EXPECT_EQ(colour_at(28 + 3, 100 + 15 - 6), BLACK);
    EXPECT_EQ(colour_at(36, 100), WHITE);
}

TEST_F(GlCanvas, GetcolorWithAlphaGivesEightDigits) {
    PIXEL("#123456", 3, 3);
    const char* text = GETCOLOR$(3, 3, 1);
    EXPECT_EQ(std::strlen(text), 10u);
    EXPECT_EQ(std::strncmp(text, "#123456", 7), 0);
    EXPECT_EQ(text[9], '\n');
}

TEST_F(GlCanvas, FrozenDrawingShowsAtSync) {
    WEXOPTIONS("GL_FREEZE 1");
    DRAW(window.canvas);
    SQUARE("#0000FF", 0, 0, 20, 20, 1);
    SQUARE("#00FF00", 20, 0, 20, 20, 1);
    EXPECT_EQ(colour_at(5, 5), BLUE);  // in the back buffer already
    EXPECT_EQ(screen().at(5, 5), WHITE);  // not shown yet
    SYNC();
    Pixels shown = screen();
    EXPECT_EQ(shown.at(5, 5), BLUE);
    EXPECT_EQ(shown.at(25, 5), GREEN);
    WEXOPTIONS("GL_FREEZE 0");
}

// A GL canvas that is in no window has no GL drawable yet: drawing on it does nothing.
TEST_F(GlCanvas, ACanvasNotYetRealizedDrawsNothing) {
    Widget loose = CANVAS(40, 40);
    void* area = wex::wex_gui_properties.canvas;
    SQUARE("#FF0000", 0, 0, 10, 10, 1);
    CIRCLE("#FF0000", 0, 0, 10, 10, 0);
    OUT("A", "#000000", "", 0, 0);
    EXPECT_STREQ(GETCOLOR$(5, 5, 0), "#000000\n");
    EXPECT_EQ(DRAW(loose), area);
    EXPECT_FALSE(HAS_ENTRY(wex_canvas_expose, area));
}
// The GL area has a window of its own inside the event box; the pointer still reads in canvas
// pixels.
TEST_F(GlCanvas, PointerOverTheAreaReadsCanvasPixels) {
    int x = 0, y = 0;
    screen_origin(window.canvas, &x, &y);
    xdo({"mousemove", std::to_string(x + 33), std::to_string(y + 44)});
    ASSERT_TRUE(pump_until([] { return MOUSE(0) == 33 && MOUSE(1) == 44; })) << MOUSE(0) << "," << MOUSE(1);
    EXPECT_EQ(MOUSE(4), reinterpret_cast<intptr_t>(window.canvas));
    xdo({"mousemove", "0", "0"});
}
}  // namespace
