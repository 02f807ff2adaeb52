// clipping_test.cpp: the GTK canvas drawing numbers beyond X's 16-bit coordinates, negative
// sizes and canvases larger than X allows: shapes are meant on an unbounded plane and cut to
// the canvas.
#include <climits>
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
constexpr Rgb WHITE{255, 255, 255}, RED{255, 0, 0}, BLACK{0, 0, 0};

class Clipping : public ::testing::Test {
protected:
    static constexpr int SIZE = 200;
    static void SetUpTestSuite() { start_toolkit(); }
    void SetUp() override {
        CANVAS(SIZE, SIZE);
        pixmap = wex::wex_gui_properties.canvas;
    }
    Pixels pixels() const { return read_drawable(pixmap, SIZE, SIZE); }
    int count(Rgb colour) const {
        int n = 0;
        for (const Rgb& c : pixels().rgb) n += c == colour;
        return n;
    }
    void* pixmap = nullptr;
};

// 65636 is 100 once cut to 16 bits; a negative size is no shape at all.
TEST_F(Clipping, NumbersThatWouldWrapAndNegativeSizesDrawNothing) {
    SQUARE("red", 65636, 10, 10, 10, 1);
    SQUARE("red", 10, 65636, 10, 10, 0);
    CIRCLE("red", 65636, 10, 20, 20, 1);
    LINE("red", 65636, 5, 65736, 5);
    PIXEL("red", 65636, 5);
    OUT("<b>wrapped</b>", "red", "red", 65636, 10);
    SQUARE("red", 50, 50, -10, 10, 1);
    SQUARE("red", 50, 50, 10, -10, 0);
    CIRCLE("red", 50, 50, -20, 20, 1);
    EXPECT_EQ(count(WHITE), SIZE * SIZE);
}

TEST_F(Clipping, ShapesFarBeyondTheCanvasShowTheirVisiblePart) {
    SQUARE("red", -100000, 20, 200000, 10, 1);                 // rows 20 to 29
    SQUARE("black", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0);   // its right and bottom edges run at -1: unseen
    LINE("black", -100000, 60, 100000, 60);                    // row 60
    LINE("black", -1000000, -1000000, 1000000, 1000000);       // the diagonal
    const Pixels p = pixels();
    for (int x : {0, 77, SIZE - 1}) {
        EXPECT_EQ(p.at(x, 19), WHITE) << x;
        EXPECT_EQ(p.at(x, 20), RED) << x;
        EXPECT_EQ(p.at(x, 29), RED) << x;
        EXPECT_EQ(p.at(x, 60), BLACK) << x;
        EXPECT_EQ(p.at(x, x), BLACK) << x;
    }
    EXPECT_EQ(p.at(150, 30), WHITE);
    EXPECT_EQ(p.at(0, 0), BLACK);  // the diagonal, not the outline
}

// A circle of a million pixels' radius whose top touches row 100: nearly flat there.
TEST_F(Clipping, AnEllipseMuchLargerThanTheCanvasShowsTheRightPart) {
    CIRCLE("black", 100 - 1000000, 100, 2000000, 2000000, 0);
    Pixels p = pixels();
    for (int x : {0, 100, SIZE - 1}) {
        EXPECT_EQ(p.at(x, 100), BLACK) << x;
        EXPECT_EQ(p.at(x, 98), WHITE) << x;
        EXPECT_EQ(p.at(x, 102), WHITE) << x;
    }
    CIRCLE("red", 100 - 1000000, 100, 2000000, 2000000, 1);
    p = pixels();
    EXPECT_EQ(p.at(100, 99), WHITE);
    EXPECT_EQ(p.at(100, 101), RED);
    EXPECT_EQ(p.at(0, SIZE - 1), RED);
    CIRCLE("red", -1000000000, -1000000000, 2000000000, 2000000000, 1);  // the whole canvas inside
    EXPECT_EQ(count(RED), SIZE * SIZE);
}

// X allows no coordinate beyond 32767: the pixmap stops there, and so does what is drawn.
TEST_F(Clipping, ACanvasLargerThanXAllowsIsClamped) {
    Widget window = WINDOW("wide", 100, 30);
    Widget canvas = CANVAS(70000, 10);
    ATTACH(window, canvas, 0, 0);
    gint width = 0, height = 0;
    gdk_drawable_get_size(static_cast<GdkDrawable*>(wex::wex_gui_properties.canvas), &width, &height);
    EXPECT_EQ(width, 32767);
    EXPECT_EQ(height, 10);
    SQUARE("red", 32000, 0, 100000, 10, 1);
    pump(100);
    EXPECT_EQ(colour_at(32766, 5), RED);
    EXPECT_STREQ(GETCOLOR$(40000, 5, 0), "#000000\n");  // beyond the pixmap: nothing to read
}
}  // namespace
