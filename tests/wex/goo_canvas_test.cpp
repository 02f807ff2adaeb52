// goo_canvas_test.cpp: the GooCanvas canvas on a real GooCanvas 1.0, built from its tarball and
// found by the toolkit's own numbered search (CTest puts it on LD_LIBRARY_PATH for this program
// only).  One table of drawing calls is drawn on a GTK canvas and on a GooCanvas side by side:
// the items it makes are read back through GObject, and the two canvases are compared on screen.
#include <dlfcn.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <unistd.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "support/toolkit.h"
#include "tests/wex/canvas_harness.h"
#include "wex/bindings.h"
#include "wex/library.h"

using namespace harness;

// What the library's own headers make of each function's type (support/goo_signatures.cpp).
std::vector<std::pair<std::string, std::string>> goo_library_signatures();

namespace {
constexpr Rgb WHITE{255, 255, 255}, RED{255, 0, 0}, MAGENTA{255, 0, 255};
constexpr int WIDTH = 240, HEIGHT = 200;

bool built() { return WEX_GOOCANVAS_DIR[0] != '\0'; }

// The real library, opened by the toolkit; the test asks it about the items through these.
template <class F> F library_function(const char* name) {
    void* library = dlopen("libgoocanvas.so.3", RTLD_LAZY | RTLD_NOLOAD);
    return library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
}
int children(void* item) { return library_function<int (*)(void*)>("goo_canvas_item_get_n_children")(item); }
void* child(void* item, int n) { return library_function<void* (*)(void*, int)>("goo_canvas_item_get_child")(item, n); }
GooCanvasBounds bounds_of(void* item) {
    GooCanvasBounds b{};
    library_function<void (*)(void*, GooCanvasBounds*)>("goo_canvas_item_get_bounds")(item, &b);
    return b;
}

// A property of a GObject as text, whatever its type: numbers "%g", colours "#RRGGBBAA", enums
// by their nick, a polyline's points "x,y x,y".
std::string property(void* object, const char* name) {
    GParamSpec* spec = g_object_class_find_property(G_OBJECT_GET_CLASS(object), name);
    if (!spec) return std::string("no property ") + name;
    GValue value = G_VALUE_INIT;
    g_value_init(&value, spec->value_type);
    g_object_get_property(G_OBJECT(object), name, &value);
    char text[256] = "";
    switch (G_TYPE_FUNDAMENTAL(spec->value_type)) {
        case G_TYPE_DOUBLE: std::snprintf(text, sizeof text, "%g", g_value_get_double(&value)); break;
        case G_TYPE_UINT: std::snprintf(text, sizeof text, "#%08X", g_value_get_uint(&value)); break;
        case G_TYPE_BOOLEAN: std::snprintf(text, sizeof text, "%s", g_value_get_boolean(&value) ? "yes" : "no"); break;
        case G_TYPE_STRING: std::snprintf(text, sizeof text, "%s", g_value_get_string(&value)); break;
        case G_TYPE_OBJECT: std::snprintf(text, sizeof text, "%p", g_value_get_object(&value)); break;
        case G_TYPE_ENUM: {
            auto* kind = static_cast<GEnumClass*>(g_type_class_ref(spec->value_type));
            std::snprintf(text, sizeof text, "%s", g_enum_get_value(kind, g_value_get_enum(&value))->value_nick);
            g_type_class_unref(kind);
            break;
        }
        case G_TYPE_BOXED: {  // GooCanvasPoints: coordinates, their number, a reference count
            struct Points {
                double* coords;
                int num_points;
                int ref_count;
            };
            auto* points = static_cast<const Points*>(g_value_get_boxed(&value));
            std::string list;
            for (int i = 0; points && i < points->num_points; ++i)
                list += (i ? " " : "") + std::to_string(int(points->coords[2 * i])) + "," +
                        std::to_string(int(points->coords[2 * i + 1]));
            std::snprintf(text, sizeof text, "%s", list.c_str());
            break;
        }
        default: std::snprintf(text, sizeof text, "type %s", g_type_name(spec->value_type));
    }
    g_value_unset(&value);
    return text;
}

// A picture file: 8 x 6 pixels, the left half red, the right half blue.
const std::string& picture_file() {
    static const std::string path = [] {
        GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 8, 6);
        guchar* bytes = gdk_pixbuf_get_pixels(pixbuf);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                guchar* q = bytes + y * gdk_pixbuf_get_rowstride(pixbuf) + x * 3;
                q[0] = x < 4 ? 255 : 0, q[1] = 0, q[2] = x < 4 ? 0 : 255;
            }
        std::string file = "/tmp/wex-goo-picture-" + std::to_string(getpid()) + ".png";
        gdk_pixbuf_save(pixbuf, file.c_str(), "png", nullptr, nullptr);
        g_object_unref(pixbuf);
        return file;
    }();
    return path;
}

/* The drawing calls, each with the item it makes on a GooCanvas and that item's properties.
 * They overlap on purpose: later items cover earlier ones on both kinds of canvas, and the text
 * without a background lies on the green rectangle, where a box behind it would show.  A circle
 * with a radius of 0 would stop GooCanvas painting every item after it, were it shown. */
struct Property {
    const char* name;
    std::string value;
};
struct DrawCase {
    const char* call;
    void (*draw)();
    const char* item;
    std::vector<Property> properties;
};
const std::vector<DrawCase>& cases() {
    static const std::vector<DrawCase> table = {
        {"black fill", [] { SQUARE("black", 0, 0, WIDTH, HEIGHT, 1); }, "GooCanvasRect",
         {{"x", "0"}, {"y", "0"}, {"width", "240"}, {"height", "200"},
          {"stroke-color-rgba", "#000000FF"}, {"fill-color-rgba", "#000000FF"}}},
        {"circle too small to show", [] { CIRCLE("red", 150, 150, 1, 3, 1); }, "GooCanvasEllipse",
         {{"center-x", "150"}, {"center-y", "151"}, {"radius-x", "0"}, {"radius-y", "1"}, {"visibility", "invisible"}}},
        {"filled circle, odd width", [] { CIRCLE("#FF0000", 20, 30, 41, 30, 1); }, "GooCanvasEllipse",
         {{"center-x", "40"}, {"center-y", "45"}, {"radius-x", "20"}, {"radius-y", "15"},
          {"stroke-color-rgba", "#FF0000FF"}, {"fill-color-rgba", "#FF0000FF"}}},
        {"open circle", [] { CIRCLE("yellow", 100, 20, 40, 40, 0); }, "GooCanvasEllipse",
         {{"center-x", "120"}, {"center-y", "40"}, {"radius-x", "20"}, {"radius-y", "20"},
          {"stroke-color-rgba", "#FFFF00FF"}, {"fill-color-rgba", "#00000000"}, {"line-width", "1"}}},
        {"filled square", [] { SQUARE("#00FF00", 150, 30, 60, 50, 1); }, "GooCanvasRect",
         {{"x", "150"}, {"y", "30"}, {"width", "60"}, {"height", "50"},
          {"stroke-color-rgba", "#00FF00FF"}, {"fill-color-rgba", "#00FF00FF"}}},
        {"open square", [] { SQUARE("orange", 20, 100, 60, 50, 0); }, "GooCanvasRect",
         {{"x", "20"}, {"y", "100"}, {"width", "60"}, {"height", "50"},
          {"stroke-color-rgba", "#FFA500FF"}, {"fill-color-rgba", "#00000000"}, {"line-width", "1"}}},
        {"line", [] { LINE("#4040FF", 5, 190, 230, 110); }, "GooCanvasPolyline",
         {{"points", "5,190 230,110"}, {"stroke-color-rgba", "#4040FFFF"}, {"line-width", "1"}}},
        {"pixel", [] { PIXEL("white", 7, 8); }, "GooCanvasPolyline",
         {{"points", "7,8 8,9"}, {"stroke-color-rgba", "#FFFFFFFF"}, {"line-width", "1"}}},
        {"text on a background", [] { OUT("<b>Score 12</b>", "yellow", "#0000FF", 100, 90); }, "GooCanvasText",
         {{"text", "<b>Score 12</b>"}, {"use-markup", "yes"}, {"x", "100"}, {"y", "90"}, {"width", "-1"},
          {"anchor", "center"}, {"fill-color-rgba", "#FFFF00FF"}, {"line-width", "1"}}},
        {"text without background", [] { OUT("<big>GO</big>", "white", "", 160, 40); }, "GooCanvasText",
         {{"text", "<big>GO</big>"}, {"x", "160"}, {"y", "40"}, {"fill-color-rgba", "#FFFFFFFF"}}},
        {"picture clipped", [] { PICTURE(picture_file().c_str(), 200, 150, 6, 3); }, "GooCanvasImage",
         {{"x", "200"}, {"y", "150"}, {"width", "6"}, {"height", "3"}}},
        {"picture larger than its file", [] { PICTURE(picture_file().c_str(), 210, 170, 50, 50); }, "GooCanvasImage",
         {{"x", "210"}, {"y", "170"}, {"width", "50"}, {"height", "50"}}},
    };
    return table;
}

// The text's background rectangle: under the text, at its corner, of its size.
void expect_text_background(void* root, int text_index, const char* colour_rgba) {
    void* text = child(root, text_index);
    void* back = child(root, text_index - 1);
    ASSERT_STREQ(G_OBJECT_TYPE_NAME(back), "GooCanvasRect");
    const GooCanvasBounds t = bounds_of(text);
    EXPECT_NEAR(t.x1, 100, 1);  // the text's corner lands on the point given
    EXPECT_NEAR(t.y1, 90, 1);
    EXPECT_EQ(property(back, "x"), "100");
    EXPECT_EQ(property(back, "y"), "90");
    EXPECT_NEAR(std::stod(property(back, "width")), t.x2 - t.x1, 0.001);
    EXPECT_NEAR(std::stod(property(back, "height")), t.y2 - t.y1, 0.001);
    EXPECT_EQ(property(back, "fill-color-rgba"), colour_rgba);
    EXPECT_EQ(property(back, "stroke-color-rgba"), colour_rgba);
}

class GooCanvas : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!built()) return;
        start_toolkit();
        window = WINDOW("goo", 2 * WIDTH + 30, HEIGHT + 20);
        // The GooCanvas first: drawing on it after the option has changed must still make items.
        WEXOPTIONS("CANVAS GOO");
        goo = CANVAS(WIDTH, HEIGHT);
        goo_drawable = wex::wex_gui_properties.canvas;
        WEXOPTIONS("CANVAS GTK");
        gtk = CANVAS(WIDTH, HEIGHT);
        ATTACH(window, gtk, 10, 10);
        ATTACH(window, goo, WIDTH + 20, 10);
        CALLBACK(goo, on_press);
        pump_until([] { return GTK_WIDGET_MAPPED(static_cast<GtkWidget*>(goo)); });
        pump(100);
    }
    void SetUp() override {
        if (!built()) GTEST_SKIP() << "GooCanvas 1.0 was not built: " << WEX_GOOCANVAS_ABSENT;
        ASSERT_STRNE(wex::wex_Goocanvas$, "notfound")
            << "libgoocanvas.so.3 is not on LD_LIBRARY_PATH; run through CTest or add " << WEX_GOOCANVAS_DIR;
    }
    static Pixels screen(Widget canvas) {
        int x = 0, y = 0;
        screen_origin(canvas, &x, &y);
        return read_screen(x, y, WIDTH, HEIGHT);
    }
    static void on_press() { ++presses; }
    static Widget window, gtk, goo;
    static void* goo_drawable;
    static int presses;
};
Widget GooCanvas::window, GooCanvas::gtk, GooCanvas::goo;
void* GooCanvas::goo_drawable;
int GooCanvas::presses;

TEST_F(GooCanvas, FoundByTheNumberedSearchAndBound) {
    EXPECT_STREQ(wex::wex_Goocanvas$, "libgoocanvas.so.3");
    EXPECT_STREQ(WEXLIB$("goo"), "libgoocanvas.so.3");
#define WEX_EXPECT_FROM_LIBRARY(name) \
    EXPECT_EQ(reinterpret_cast<void*>(wex::name), library_function<void*>(#name)) << #name;
    WEX_EXPECT_FROM_LIBRARY(goo_canvas_new)
    WEX_GOO_FUNCTIONS(WEX_EXPECT_FROM_LIBRARY)
    // WEXLIB$ binds the probe again from the file it opens.
    wex::goo_canvas_new = nullptr;
    EXPECT_STREQ(WEXLIB$("goo"), "libgoocanvas.so.3");
    WEX_EXPECT_FROM_LIBRARY(goo_canvas_new)
#undef WEX_EXPECT_FROM_LIBRARY
    wex_test::StdoutCapture out;
    WEXOPTIONS("CANVAS GOO");
    EXPECT_EQ(WEX_CANVAS_TYPE, 2);
    WEXOPTIONS("CANVAS GTK");
    EXPECT_EQ(out.text(), "");
}

// The declarations the toolkit binds through are the library's own, type for type.
TEST_F(GooCanvas, DeclarationsMatchTheLibraryHeaders) {
    const auto library = goo_library_signatures();
    ASSERT_FALSE(library.empty());
    for (const auto& [name, signature] : library) {
        std::string ours;
#define WEX_SIGNATURE(f) \
    if (name == #f) ours = typeid(decltype(wex::f)).name();
        WEX_SIGNATURE(goo_canvas_new)
        WEX_GOO_FUNCTIONS(WEX_SIGNATURE)
#undef WEX_SIGNATURE
        EXPECT_EQ(ours, signature) << name;
    }
}

TEST_F(GooCanvas, RegistersTheCanvasAsItsOwnDrawable) {
    auto* canvas = WEX_GET_HANDLE(GtkWidget, wex_widget_image, goo);
    EXPECT_EQ(canvas, goo_drawable);
    EXPECT_STREQ(G_OBJECT_TYPE_NAME(canvas), "GooCanvas");
    EXPECT_EQ(gtk_bin_get_child(GTK_BIN(goo)), canvas);
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_pix, canvas), canvas);
    EXPECT_EQ(WEX_GET_HANDLE(void, wex_widget_ebox, canvas), goo);
    EXPECT_TRUE(HAS_ENTRY(wex_widget_color, canvas));
    EXPECT_EQ(WEX_GET(wex_widget_color, canvas), 0);
    EXPECT_FALSE(HAS_ENTRY(wex_widget_context, canvas));
    EXPECT_EQ(WEX_GET(wex_widget_xsize, goo), WIDTH);
    EXPECT_EQ(WEX_GET(wex_widget_signal, goo), 4);
    EXPECT_STREQ(WEX_GET(wex_widget_type$, goo), "canvas");
    double right = 0, bottom = 0;
    g_object_get(canvas, "x2", &right, "y2", &bottom, nullptr);
    EXPECT_EQ(right, WIDTH);
    EXPECT_EQ(bottom, HEIGHT);
}

/* Each call makes its item, with the properties given, in WIDGET; the items stay.  Then the same
 * calls on the GTK canvas, and the two compared on screen where it matters: inside the shapes.
 * GooCanvas draws through cairo with antialiasing, GDK without, and their edges differ by a
 * pixel or so; a pixel counts as inside when every pixel within two of it has its colour on the
 * GTK canvas, and there the GooCanvas must show exactly the same colour. */
TEST_F(GooCanvas, EachCallMakesItsItemAndBothKindsLookTheSame) {
    DRAW(goo);
    std::vector<void*> items;
    for (const DrawCase& c : cases()) {
        void* before = WIDGET;
        c.draw();
        ASSERT_NE(WIDGET, before) << c.call;
        ASSERT_STREQ(G_OBJECT_TYPE_NAME(WIDGET), c.item) << c.call;
        for (const Property& p : c.properties) EXPECT_EQ(property(WIDGET, p.name), p.value) << c.call << ": " << p.name;
        items.push_back(WIDGET);
    }
    void* root = nullptr;
    g_object_get(items.front(), "parent", &root, nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(children(root), int(items.size()) + 1);  // and the text's background rectangle
    for (void* item : items) {
        void* parent = nullptr;
        g_object_get(item, "parent", &parent, nullptr);
        EXPECT_EQ(parent, root);
        g_object_unref(parent);
    }
    expect_text_background(root, 9, "#0000FFFF");
    EXPECT_EQ(child(root, 10), items[9]);  // no rectangle under the text without background
    EXPECT_EQ(child(root, 7), items[7]);
    g_object_unref(root);

    DRAW(gtk);
    for (const DrawCase& c : cases()) c.draw();
    pump(300);
    const Pixels left = screen(gtk), right = screen(goo);
    ASSERT_EQ(left.width, WIDTH);
    ASSERT_EQ(right.width, WIDTH);

    int inside = 0, differing = 0;
    for (int y = 2; y < HEIGHT - 2; ++y)
        for (int x = 2; x < WIDTH - 2; ++x) {
            bool uniform = true;
            for (int dy = -2; dy <= 2 && uniform; ++dy)
                for (int dx = -2; dx <= 2 && uniform; ++dx) uniform = left.at(x + dx, y + dy) == left.at(x, y);
            if (!uniform) continue;
            ++inside;
            if (!(right.at(x, y) == left.at(x, y))) {
                ADD_FAILURE_AT(__FILE__, __LINE__) << x << "," << y << ": GTK " << left.at(x, y) << ", GooCanvas "
                                                   << right.at(x, y);
                if (++differing > 10) return;
            }
        }
    EXPECT_GT(inside, WIDTH * HEIGHT * 3 / 4);
}

TEST_F(GooCanvas, PointerReadsCanvasPixelsAndAClickRunsTheCallbackOnce) {
    int x = 0, y = 0;
    screen_origin(goo, &x, &y);
    const std::pair<int, int> points[] = {{33, 44}, {175, 55}, {WIDTH - 1, HEIGHT - 1}};  // off and on items
    for (const auto& point : points) {
        // A move to where the pointer already is sends no motion: step next to the point first.
        xdo({"mousemove", std::to_string(x + point.first - 1), std::to_string(y + point.second - 1)});
        xdo({"mousemove", std::to_string(x + point.first), std::to_string(y + point.second)});
        ASSERT_TRUE(pump_until([&] { return MOUSE(0) == point.first && MOUSE(1) == point.second; }))
            << MOUSE(0) << "," << MOUSE(1);
        EXPECT_EQ(MOUSE(4), reinterpret_cast<intptr_t>(goo));
        presses = 0;
        xdo({"click", "1"});
        pump_until([] { return presses > 0 && MOUSE(2) == -1; });
        pump(100);
        EXPECT_EQ(presses, 1) << point.first << "," << point.second;
    }
    xdo({"mousemove", "0", "0"});
    EXPECT_TRUE(pump_until([] { return MOUSE(0) == -1; }));
}

// GETCOLOR$ reads what the items make of a pixel at once, before any repaint, and also on a
// canvas that is in no window.
TEST_F(GooCanvas, GetcolorReadsTheItemsAtOnce) {
    DRAW(goo);
    SQUARE("#123456", 60, 160, 10, 10, 1);
    EXPECT_STREQ(GETCOLOR$(65, 165, 0), "#123456\n");
    EXPECT_STREQ(GETCOLOR$(65, 165, 1), "#123456FF\n");
    EXPECT_STREQ(GETCOLOR$(WIDTH, 0, 0), "#000000\n");  // outside the canvas
    WEXOPTIONS("CANVAS GOO");
    Widget loose = CANVAS(40, 30);
    WEXOPTIONS("CANVAS GTK");
    EXPECT_STREQ(GETCOLOR$(0, 0, 0), "#FFFFFF\n");
    CIRCLE("red", 0, 0, 40, 30, 1);
    EXPECT_EQ(colour_at(20, 15), RED);
    EXPECT_EQ(colour_at(0, 0), WHITE);
    OUT("<b>x</b>", "black", "#FF00FF", 25, 0);
    EXPECT_EQ(colour_at(25, 0), MAGENTA);
    EXPECT_EQ(DRAW(loose), wex::wex_gui_properties.canvas);
    DRAW(goo);
}

// SYNC lets the canvas paint what was drawn: before it the screen has not changed.  With GL
// canvases chosen for the next canvas, SYNC still swaps no buffers of a GooCanvas.
TEST_F(GooCanvas, SyncShowsTheNewItems) {
    DRAW(goo);
    pump(100);
    SQUARE("#FF00FF", 3, 150, 12, 12, 1);
    EXPECT_NE(screen(goo).at(8, 155), MAGENTA);
    SYNC();
    EXPECT_EQ(screen(goo).at(8, 155), MAGENTA);
    WEXOPTIONS("CANVAS GLAREA");
    ASSERT_EQ(WEX_CANVAS_TYPE, 1);
    SYNC();
    WEXOPTIONS("CANVAS GTK");
}

TEST_F(GooCanvas, APictureThatCannotBeLoadedMakesNoItem) {
    DRAW(goo);
    SQUARE("red", 0, 0, 1, 1, 1);
    void* last = WIDGET;
    PICTURE("/nonexistent/picture.png", 0, 0, 10, 10);
    PICTURE(nullptr, 0, 0, 10, 10);
    EXPECT_EQ(WIDGET, last);
}
}  // namespace
