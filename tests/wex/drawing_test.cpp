// drawing_test.cpp: what each drawing call leaves in the GTK canvas's pixmap, pixel for pixel.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
constexpr Rgb WHITE{255, 255, 255}, BLACK{0, 0, 0}, RED{255, 0, 0}, BLUE{0, 0, 255}, YELLOW{255, 255, 0};

// The pixels of one colour: how many, and the box that holds them.
struct Extent {
    int count = 0;
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
};
Extent extent(const Pixels& p, Rgb colour) {
    Extent e;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) == colour) {
                ++e.count;
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
                e.top = std::min(e.top, y);
                e.bottom = std::max(e.bottom, y);
            }
    return e;
}

// The box of the pixels is exactly (left, top) to (right, bottom), both corners included.
void expect_box(const Extent& e, int left, int top, int right, int bottom) {
    EXPECT_EQ(e.left, left);
    EXPECT_EQ(e.top, top);
    EXPECT_EQ(e.right, right);
    EXPECT_EQ(e.bottom, bottom);
}

class Drawing : public ::testing::Test {
protected:
    static constexpr int SIZE = 100;
    static void SetUpTestSuite() { start_toolkit(); }
    // Each test draws on a canvas of its own.
    void SetUp() override {
        CANVAS(SIZE, SIZE);
        pixmap = wex::wex_gui_properties.canvas;
    }
    Pixels pixels() const { return read_drawable(pixmap, SIZE, SIZE); }
    void* pixmap = nullptr;
};

TEST_F(Drawing, FilledSquareCoversExactlyItsBox) {
    SQUARE("black", 10, 20, 30, 40, 1);
    Extent e = extent(pixels(), BLACK);
    EXPECT_EQ(e.count, 30 * 40);
    expect_box(e, 10, 20, 39, 59);
}

TEST_F(Drawing, OutlineSquareIsOnePixelWiderAndTaller) {
    SQUARE("black", 10, 10, 20, 30, 0);
    Pixels p = pixels();
    Extent e = extent(p, BLACK);
    expect_box(e, 10, 10, 30, 40);
    EXPECT_EQ(e.count, 2 * 20 + 2 * 30);  // the border only
    EXPECT_EQ(p.at(20, 25), WHITE);
}

TEST_F(Drawing, FilledCircleIsInscribedInItsBox) {
    CIRCLE("red", 10, 10, 20, 20, 1);
    Pixels p = pixels();
    Extent e = extent(p, RED);
    EXPECT_GE(e.left, 10);
    EXPECT_GE(e.top, 10);
    EXPECT_LE(e.right, 29);
    EXPECT_LE(e.bottom, 29);
    EXPECT_NEAR(e.count, M_PI * 10 * 10, 30);
    EXPECT_EQ(p.at(20, 20), RED);
    EXPECT_EQ(p.at(10, 10), WHITE);  // the box's corners stay outside
    EXPECT_EQ(p.at(29, 29), WHITE);
    EXPECT_EQ(p.at(11, 20), RED);  // edges are reached
    EXPECT_EQ(p.at(20, 28), RED);
}

TEST_F(Drawing, ACircleOneWiderReachesOneFurther) {
    CIRCLE("red", 10, 10, 21, 20, 1);
    Extent e = extent(pixels(), RED);
    EXPECT_EQ(e.right, 30);  // GDK takes the full width; no halving on this canvas
}

TEST_F(Drawing, OutlineCircleIsARing) {
    CIRCLE("#0000FF", 40, 40, 40, 40, 0);
    Pixels p = pixels();
    Extent e = extent(p, BLUE);
    expect_box(e, 40, 40, 80, 80);
    EXPECT_EQ(p.at(60, 60), WHITE);
    EXPECT_NEAR(e.count, M_PI * 40, 40);
}

TEST_F(Drawing, LinesIncludeBothEnds) {
    LINE("#0000FF", 0, 0, 10, 10);
    LINE("red", 20, 50, 69, 50);
    Pixels p = pixels();
    Extent diagonal = extent(p, BLUE);
    EXPECT_EQ(diagonal.count, 11);
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(p.at(i, i), BLUE) << i;
    Extent across = extent(p, RED);
    EXPECT_EQ(across.count, 50);
    expect_box(across, 20, 50, 69, 50);
}

TEST_F(Drawing, PixelSetsOnePoint) {
    PIXEL("#00FF00", 42, 17);
    Pixels p = pixels();
    Extent e = extent(p, Rgb{0, 255, 0});
    EXPECT_EQ(e.count, 1);
    EXPECT_EQ(e.left, 42);
    EXPECT_EQ(e.top, 17);
    EXPECT_EQ(colour_at(42, 17), (Rgb{0, 255, 0}));
}

TEST_F(Drawing, ColourNamesAndHexFormsBothWork) {
    static const struct {
        const char* text;
        Rgb rgb;
    } colours[] = {{"white", WHITE}, {"black", BLACK}, {"yellow", YELLOW}, {"orange", {255, 165, 0}},
                   {"#cccccc", {204, 204, 204}}, {"#ff0000", RED}, {"#0A0B0C", {10, 11, 12}}};
    int x = 0;
    for (const auto& c : colours) {
        PIXEL(c.text, x, 0);
        EXPECT_EQ(colour_at(x, 0), c.rgb) << c.text;
        ++x;
    }
}

// A text that is no colour changes nothing: the record keeps the colour parsed before it,
// also when the same bad text comes twice or a good colour comes between.
TEST_F(Drawing, NotAColourKeepsThePreviousColour) {
    PIXEL("red", 1, 1);
    PIXEL("no such colour", 2, 1);
    PIXEL("no such colour", 3, 1);
    PIXEL("", 4, 1);
    PIXEL(nullptr, 5, 1);
    PIXEL("blue", 6, 1);
    PIXEL("no such colour", 7, 1);
    SQUARE("#12", 8, 1, 2, 2, 1);
    EXPECT_EQ(colour_at(1, 1), RED);
    EXPECT_EQ(colour_at(2, 1), RED);
    EXPECT_EQ(colour_at(3, 1), RED);
    EXPECT_EQ(colour_at(4, 1), RED);
    EXPECT_EQ(colour_at(5, 1), RED);
    EXPECT_EQ(colour_at(6, 1), BLUE);
    EXPECT_EQ(colour_at(7, 1), BLUE);
    EXPECT_EQ(colour_at(9, 2), BLUE);
}

// Each canvas has its own colour record: a colour parsed into one is not taken for the other's.
TEST_F(Drawing, ColourRecordsBelongToTheirCanvas) {
    Widget mine = WEX_GET_HANDLE(void, wex_widget_ebox, pixmap);
    Widget other = CANVAS(10, 10);
    PIXEL("blue", 0, 0);
    DRAW(mine);
    PIXEL("red", 0, 0);
    DRAW(other);
    PIXEL("red", 1, 1);
    PIXEL("junk", 2, 2);
    EXPECT_EQ(colour_at(1, 1), RED);
    EXPECT_EQ(colour_at(2, 2), RED);
    DRAW(mine);
    EXPECT_EQ(colour_at(0, 0), RED);
}

TEST_F(Drawing, GetcolorWithAlphaFlagReadsEightDigits) {
    PIXEL("#123456", 5, 5);
    EXPECT_STREQ(GETCOLOR$(5, 5, 0), "#123456\n");
    EXPECT_STREQ(GETCOLOR$(5, 5, 1), "#123456FF\n");
}

// With an empty background the text's box keeps what was under it; only glyph pixels change.
TEST_F(Drawing, TextWithoutBackgroundLeavesThePixelsAround) {
    SQUARE("red", 0, 0, SIZE, SIZE, 1);
    OUT("<b>WM</b>", "yellow", "", 10, 10);
    Pixels p = pixels();
    Extent glyphs = extent(p, YELLOW);
    EXPECT_GT(glyphs.count, 20);
    EXPECT_GE(glyphs.left, 10);
    EXPECT_GE(glyphs.top, 10);
    // Only red, yellow and their blends (red 255, green between, blue 0) appear.
    for (const Rgb& c : p.rgb) ASSERT_TRUE(c.r == 255 && c.b == 0) << c;
    EXPECT_EQ(p.at(10, 10), RED);
}

TEST_F(Drawing, TextWithBackgroundPaintsItsBoxFromTheCorner) {
    SQUARE("red", 0, 0, SIZE, SIZE, 1);
    OUT("<b>WM</b>", "yellow", "#0000FF", 10, 10);
    Pixels p = pixels();
    Extent back = extent(p, BLUE);
    EXPECT_EQ(back.left, 10);
    EXPECT_EQ(back.top, 10);
    EXPECT_GT(back.right, 20);
    EXPECT_GT(back.bottom, 18);
    EXPECT_GT(extent(p, YELLOW).count, 20);
    EXPECT_EQ(p.at(9, 10), RED);
    EXPECT_EQ(p.at(10, 9), RED);
}

// A picture file the test writes: 8 x 6 pixels, the left half red, the right half blue.
std::string write_picture() {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 8, 6);
    guchar* bytes = gdk_pixbuf_get_pixels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            guchar* q = bytes + y * stride + x * 3;
            q[0] = x < 4 ? 255 : 0;
            q[1] = 0;
            q[2] = x < 4 ? 0 : 255;
        }
    std::string path = "/tmp/wex-picture-" + std::to_string(getpid()) + ".png";
    EXPECT_TRUE(gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, nullptr));
    g_object_unref(pixbuf);
    return path;
}

TEST_F(Drawing, PictureIsClippedToTheGivenSizeNotScaled) {
    std::string file = write_picture();
    PICTURE(file.c_str(), 50, 60, 6, 3);
    Pixels p = pixels();
    Extent red = extent(p, RED), blue = extent(p, BLUE);
    EXPECT_EQ(red.count, 4 * 3);
    EXPECT_EQ(red.left, 50);
    EXPECT_EQ(red.top, 60);
    EXPECT_EQ(red.bottom, 62);
    EXPECT_EQ(blue.count, 2 * 3);
    EXPECT_EQ(blue.left, 54);
    EXPECT_EQ(blue.right, 55);
    unlink(file.c_str());
}

TEST_F(Drawing, PictureLargerThanTheFileDrawsTheWholeFile) {
    std::string file = write_picture();
    PICTURE(file.c_str(), 0, 0, 50, 50);
    Pixels p = pixels();
    EXPECT_EQ(extent(p, RED).count, 4 * 6);
    EXPECT_EQ(extent(p, BLUE).count, 4 * 6);
    unlink(file.c_str());
}

TEST_F(Drawing, PictureThatCannotBeLoadedDrawsNothing) {
    PICTURE("/nonexistent/picture.png", 0, 0, 10, 10);
    PICTURE(nullptr, 0, 0, 10, 10);
    EXPECT_EQ(extent(pixels(), WHITE).count, SIZE * SIZE);
}
}  // namespace
