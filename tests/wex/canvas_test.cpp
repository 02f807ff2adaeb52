// canvas_test.cpp: the GTK canvas: its registry entries, its white start, DRAW, drawing with no
// canvas, the GooCanvas fallback, and the screen showing what GETCOLOR$ reads.
#include <cstring>
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
// Each drawing call: shapes filled and open, text with and without a background.
void call_every_drawing() {
    for (int fill : {1, 0}) {
        CIRCLE("red", 0, 0, 10, 10, fill);
        SQUARE("red", 0, 0, 10, 10, fill);
    }
    LINE("red", 0, 0, 10, 10);
    PIXEL("red", 1, 1);
    for (const char* background : {"blue", ""}) OUT("<b>x</b>", "red", background, 0, 0);
    PICTURE("/nonexistent.png", 0, 0, 5, 5);
}

constexpr Rgb WHITE{255, 255, 255}, BLACK{0, 0, 0}, RED{255, 0, 0}, BLUE{0, 0, 255};

class GtkCanvas : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        start_toolkit();
        if (!first.window) first = open_canvas_window("canvas", 600, 600);
    }
    void SetUp() override { DRAW(first.canvas); }
    static CanvasWindow first;
};
CanvasWindow GtkCanvas::first;

TEST_F(GtkCanvas, StartsWhiteAndReadsWithANewline) {
    Widget canvas = CANVAS(600, 600);
    EXPECT_STREQ(GETCOLOR$(0, 0, 0), "#FFFFFF\n");
    EXPECT_STREQ(GETCOLOR$(599, 599, 0), "#FFFFFF\n");
    EXPECT_STREQ(GETCOLOR$(300, 17, 1), "#FFFFFFFF\n");  // the pixmap has no alpha: opaque
    EXPECT_EQ(WIDGET, canvas);
}

TEST_F(GtkCanvas, RegistersItsObjectsUnderTheRightKeys) {
    Widget ebox = CANVAS(120, 80);
    void* pixmap = wex::wex_gui_properties.canvas;
    auto* image = WEX_GET_HANDLE(GtkWidget, wex_widget_image, ebox);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(gtk_bin_get_child(GTK_BIN(ebox)), image);
    EXPECT_TRUE(GTK_IS_IMAGE(image));
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_pix, image), pixmap);
    EXPECT_TRUE(GDK_IS_PIXMAP(pixmap));
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_ebox, pixmap), ebox);
    EXPECT_TRUE(GDK_IS_GC(WEX_GET_HANDLE(void, wex_widget_context, pixmap)));
    auto* record = WEX_GET_HANDLE(GdkColor, wex_widget_color, pixmap);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->red, 0xFFFF);  // parsed from "#FFFFFF"
    EXPECT_EQ(WEX_GET(wex_widget_xsize, ebox), 120);
    EXPECT_EQ(WEX_GET(wex_widget_ysize, ebox), 80);
    EXPECT_EQ(WEX_GET(wex_widget_signal, ebox), 4);
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_s_widget, ebox), ebox);
    EXPECT_STREQ(WEX_GET(wex_widget_type$, ebox), "canvas");
    // The pixmap is exactly the canvas's size, and the event box hears the pointer.
    gint w = 0, h = 0;
    gdk_drawable_get_size(static_cast<GdkDrawable*>(pixmap), &w, &h);
    EXPECT_EQ(w, 120);
    EXPECT_EQ(h, 80);
    EXPECT_EQ(gtk_widget_get_events(static_cast<GtkWidget*>(ebox)), 0x200604);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(static_cast<GtkWidget*>(ebox)));
}

// GDK makes no pixmap without pixels; an empty canvas is still made and registered as given.
TEST_F(GtkCanvas, AnEmptyCanvasIsMadeWithoutComplaint) {
    Widget empty = CANVAS(0, 0);
    EXPECT_EQ(WEX_GET(wex_widget_xsize, empty), 0);
    SQUARE("red", 0, 0, 5, 5, 1);
    EXPECT_STREQ(GETCOLOR$(0, 0, 0), "#000000\n");  // outside its size
}

TEST_F(GtkCanvas, DrawSwitchesTheCanvasEveryCallPaints) {
    Widget second = CANVAS(50, 50);
    void* second_pixmap = wex::wex_gui_properties.canvas;
    SQUARE("black", 0, 0, 50, 50, 1);
    EXPECT_EQ(DRAW(first.canvas), first.drawable);
    EXPECT_EQ(colour_at(10, 10), WHITE);  // the first canvas did not get the square
    SQUARE("red", 0, 0, 5, 5, 1);
    EXPECT_EQ(DRAW(second), second_pixmap);
    EXPECT_EQ(colour_at(2, 2), BLACK);
    DRAW(first.canvas);
    EXPECT_EQ(colour_at(2, 2), RED);
    SQUARE("white", 0, 0, 5, 5, 1);
}

TEST_F(GtkCanvas, NoCanvasMeansNoDrawingAndNoCrash) {
    EXPECT_EQ(DRAW(reinterpret_cast<Widget>(0x1234)), nullptr);  // not a canvas
    EXPECT_EQ(wex::wex_gui_properties.canvas, nullptr);
    call_every_drawing();
    EXPECT_STREQ(GETCOLOR$(1, 1, 0), "#000000\n");
    EXPECT_STREQ(GETCOLOR$(1, 1, 1), "#00000000\n");
    DRAW(first.canvas);
    EXPECT_EQ(colour_at(1, 1), WHITE);
    // Points outside the canvas read as zero too.
    EXPECT_STREQ(GETCOLOR$(600, 0, 0), "#000000\n");
    EXPECT_STREQ(GETCOLOR$(-1, 5, 1), "#00000000\n");
}

TEST_F(GtkCanvas, AGooCanvasWithoutItsLibraryIsAGtkCanvas) {
    int saved = WEX_CANVAS_TYPE;
    WEX_CANVAS_TYPE = 2;
    Widget canvas = CANVAS(40, 30);
    WEX_CANVAS_TYPE = saved;
    void* drawable = wex::wex_gui_properties.canvas;
    EXPECT_TRUE(GDK_IS_PIXMAP(drawable));
    EXPECT_NE(WEX_GET(wex_widget_context, drawable), 0);
    EXPECT_STREQ(GETCOLOR$(0, 0, 0), "#FFFFFF\n");
    SQUARE("#0000FF", 0, 0, 40, 30, 1);
    EXPECT_EQ(colour_at(39, 29), BLUE);
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_ebox, drawable), canvas);
}

TEST_F(GtkCanvas, GooOptionWarnsAndFallsBack) {
    EXPECT_PROGRAM_EXITS_PRINTING(
        "WARNING: GooCanvas library not found! Falling back to default GTK canvas.\n"
        "kind 0 white #FFFFFF\n",
        {
            start_toolkit();
            WEXOPTIONS("CANVAS GOO");
            CANVAS(10, 10);
            std::printf("kind %d white %s", WEX_CANVAS_TYPE, GETCOLOR$(5, 5, 0));
            std::exit(0);
        });
}

// Whatever the drawing calls leave in the pixmap is what the screen shows once the main loop has
// run, and GETCOLOR$ reads the same, pixel for pixel.
TEST_F(GtkCanvas, TheScreenShowsWhatGetcolorReads) {
    SQUARE("black", 0, 0, 600, 600, 1);
    for (int i = 0; i < 12; ++i) {
        static const char* const colours[] = {"red", "#00FF00", "blue", "yellow", "orange", "#cccccc"};
        CIRCLE(colours[i % 6], 40 * i, 30 * i, 90, 60, i % 2);
        SQUARE(colours[(i + 1) % 6], 500 - 40 * i, 35 * i, 70, 45, (i + 1) % 2);
        LINE(colours[(i + 2) % 6], 0, 50 * i, 599, 599 - 50 * i);
    }
    OUT("<b>Robots: 12</b>", "yellow", "", 200, 280);
    OUT("<big>GAME OVER</big>", "white", "blue", 220, 320);
    pump(300);

    int x = 0, y = 0;
    screen_origin(first.canvas, &x, &y);
    Pixels screen = read_screen(x, y, 600, 600);
    ASSERT_EQ(screen.width, 600);
    ASSERT_EQ(screen.height, 600);
    Pixels pixmap = read_drawable(first.drawable, 600, 600);
    int compared = 0, differing = 0;
    for (int py = 0; py < 600; ++py)
        for (int px = 0; px < 600; ++px) differing += !(screen.at(px, py) == pixmap.at(px, py));
    for (int py = 3; py < 600; py += 29)
        for (int px = 1; px < 600; px += 23, ++compared) ASSERT_EQ(colour_at(px, py), screen.at(px, py)) << px << "," << py;
    EXPECT_EQ(differing, 0);
    EXPECT_GT(compared, 500);
    SQUARE("white", 0, 0, 600, 600, 1);
}
// Every redraw reaches the screen: drawing after a repaint queues the next one, also on a canvas
// whose window was hidden while it was drawn on.
TEST_F(GtkCanvas, EachRedrawReachesTheScreen) {
    int x = 0, y = 0;
    screen_origin(first.canvas, &x, &y);
    static const struct {
        const char* text;
        Rgb rgb;
    } rounds[] = {{"red", RED}, {"#0000FF", BLUE}, {"black", BLACK}, {"white", WHITE}};
    for (const auto& round : rounds) {
        SQUARE(round.text, 100, 100, 50, 50, 1);
        PIXEL(round.text, 300, 300);
        pump(150);
        Pixels shown = read_screen(x + 100, y + 100, 201, 201);
        ASSERT_EQ(shown.width, 201);
        EXPECT_EQ(shown.at(25, 25), round.rgb) << round.text;
        EXPECT_EQ(shown.at(200, 200), round.rgb) << round.text;
    }
    HIDE(first.window);
    pump(100);
    SQUARE("red", 100, 100, 50, 50, 1);
    SHOW(first.window);
    pump_until([] { return GTK_WIDGET_MAPPED(static_cast<GtkWidget*>(first.canvas)); });
    pump(300);
    screen_origin(first.canvas, &x, &y);
    EXPECT_EQ(read_screen(x + 100, y + 100, 1, 1).at(0, 0), RED);
    SQUARE("#0000FF", 100, 100, 50, 50, 1);
    pump(150);
    EXPECT_EQ(read_screen(x + 100, y + 100, 1, 1).at(0, 0), BLUE);
    SQUARE("white", 100, 100, 50, 50, 1);
}
// A program that draws before INIT, with nothing bound yet, draws nothing and goes on.
TEST(BeforeInit, DrawingDoesNothing) {
    EXPECT_PROGRAM_EXITS_PRINTING(
        "read #000000\n",
        {
            static char name[] = "canvas_test";
            static char* argv[] = {name, nullptr};
            T4K_START(1, argv);
            call_every_drawing();
            std::printf("read %s", GETCOLOR$(1, 1, 0));
            std::exit(0);
        });
}
}  // namespace
