// wex.h: the WEX toolkit's public calls, one per widget kind; includes no GTK header.
#pragma once
#include <cstddef>
#include <cstdint>
#include "runtime/runtime.h"

namespace wex {
using Widget = void*;              // opaque widget handle: a GTK object

/* A program function that the toolkit calls when a widget's signal runs (CALLBACK, CALLBACKX)
 * or its timer expires (TIMEOUT).  It takes nothing, or the data, or the object whose signal ran
 * and the data (the data CALLBACKX was given; null for CALLBACK and for a timer, whose object is
 * null too), and returns nothing or an int.  It is kept with its own type and called as what it
 * is.  What its int means: on a timer, 0 ends the timer; on a signal with a gboolean result
 * ("button-press-event" of a canvas or an image, and such signals of external widgets), nonzero
 * stops the signal's later handlers; elsewhere nothing.  A function that returns nothing counts
 * as returning 0. */
class Callback {
public:
    constexpr Callback() noexcept : plain_(nullptr) {}
    constexpr Callback(std::nullptr_t) noexcept : plain_(nullptr) {}
    constexpr Callback(void (*f)()) noexcept : shape_(f ? PLAIN : NONE), plain_(f) {}
    constexpr Callback(int (*f)()) noexcept : shape_(f ? ANSWERS : NONE), answers_(f) {}
    constexpr Callback(void (*f)(void*)) noexcept : shape_(f ? DATA : NONE), data_(f) {}
    constexpr Callback(int (*f)(void*)) noexcept : shape_(f ? DATA_ANSWERS : NONE), data_answers_(f) {}
    constexpr Callback(void (*f)(Widget, void*)) noexcept : shape_(f ? WIDGET_DATA : NONE), widget_data_(f) {}
    constexpr Callback(int (*f)(Widget, void*)) noexcept
        : shape_(f ? WIDGET_DATA_ANSWERS : NONE), widget_data_answers_(f) {}

    constexpr explicit operator bool() const noexcept { return shape_ != NONE; }
    // Calls the function through the type it was given with; 0 for one that returns nothing.
    int operator()(Widget widget, void* data) const;

private:
    enum Shape : unsigned char { NONE, PLAIN, ANSWERS, DATA, DATA_ANSWERS, WIDGET_DATA, WIDGET_DATA_ANSWERS };
    Shape shape_ = NONE;
    union {  // the member that shape_ names
        void (*plain_)();
        int (*answers_)();
        void (*data_)(void*);
        int (*data_answers_)(void*);
        void (*widget_data_)(Widget, void*);
        int (*widget_data_answers_)(Widget, void*);
    };
};

extern Widget WIDGET;              // the widget the last constructor made
extern int WEX_WIDGET_SHOW;        // constructors show what they make while nonzero
extern int WEX_CANVAS_TYPE;        // 0 GTK pixmap canvas, 1 OpenGL, 2 GooCanvas
extern double WEX_FONT_SIZE_FACTOR;
extern double WEX_XFT_SIZE_FACTOR;
extern double WEX_DEFAULT_XFT_SIZE;
extern char* wex_Goocanvas$;

// Start-up, options and the main loop
void INIT();
void WEXOPTIONS(const char* option);
void DISPLAY();
void SYNC();
[[noreturn]] void QUIT();
int SCREENSIZE(int n);
char* WEXLIB$(const char* name);

// Registry
void REGISTER(Widget widget, int xsize, int ysize, const char* signal$, Widget s_widget, Widget attach,
              Widget font, Widget focus);
void METHOD(Widget widget, int kind, t4k_fn function);

// Windows, containers and placement
Widget WINDOW(const char* title, int xsize, int ysize);
Widget NOTEBOOK(const char* title, int xsize, int ysize);
Widget FRAME(int xsize, int ysize);
void ATTACH(Widget parent, Widget widget, int x, int y);
void SHOW(Widget widget);
void HIDE(Widget widget);
void FONT(Widget widget, const char* description);
void DISABLE(Widget widget);
void ENABLE(Widget widget);
void FOCUS(Widget widget);
void UNFOCUS(Widget widget);

// Widget constructors
Widget BUTTON(const char* text, int xsize, int ysize);
Widget STOCK(const char* stock_id, int xsize, int ysize);
Widget TOGGLE(const char* text, int xsize, int ysize);
Widget CHECK(const char* text, int xsize, int ysize);
Widget RADIO(const char* text, int xsize, int ysize, Widget group);
Widget ENTRY(const char* text, int xsize, int ysize);
Widget WEXENTRY(const char* text, int xsize, int ysize);
Widget PASSWORD(int xsize, int ysize);
Widget MARK(const char* markup, int xsize, int ysize);
Widget COMBO(const char* text, int xsize, int ysize);
Widget HSEPARATOR(int xsize);
Widget VSEPARATOR(int ysize);
Widget EDIT(int xsize, int ysize);
Widget LIST(int xsize, int ysize);
Widget MSGDIALOG(const char* markup, int xsize, int ysize, int type, int buttons);
Widget FILEDIALOG(const char* title, const char* button, int xsize, int ysize, int action);
Widget SPIN(int xsize, int ysize, double minimum, double maximum, double step);
Widget HSLIDER(int xsize, int ysize, double minimum, double maximum, double step);
Widget VSLIDER(int xsize, int ysize, double minimum, double maximum, double step);
void INVERT(Widget slider);
Widget IMAGE(const char* file, int xsize, int ysize);
Widget CLIPBOARD();
Widget PROGRESSBAR(const char* text, int xsize, int ysize);

// Generic property access
void TEXT(Widget widget, const char* text);
char* GRAB$(Widget widget);
void SET(Widget widget, int value);
int GET(Widget widget);

// Canvas and drawing
Widget CANVAS(int width, int height);
Widget DRAW(Widget canvas);
void CIRCLE(const char* colour, int x, int y, int width, int height, int fill);
void SQUARE(const char* colour, int x, int y, int width, int height, int fill);
void LINE(const char* colour, int x1, int y1, int x2, int y2);
void PIXEL(const char* colour, int x, int y);
void OUT(const char* text, const char* foreground, const char* background, int x, int y);
void PICTURE(const char* file, int x, int y, int width, int height);
char* GETCOLOR$(int x, int y, int alpha);

// Events, callbacks and timers
void CALLBACK(Widget widget, Callback function);
void CALLBACKX(Widget widget, Callback function, intptr_t data);
void TIMEOUT(int milliseconds, Callback function);
int KEY();
void RESETKEY();
intptr_t MOUSE(int what);
}  // namespace wex

using wex::Widget;
using wex::WIDGET;
using wex::WEX_WIDGET_SHOW;
using wex::WEX_CANVAS_TYPE;
using wex::INIT; using wex::WEXOPTIONS; using wex::DISPLAY; using wex::SYNC; using wex::QUIT;
using wex::SCREENSIZE; using wex::WEXLIB$; using wex::REGISTER; using wex::METHOD;
using wex::WINDOW; using wex::NOTEBOOK; using wex::FRAME; using wex::ATTACH; using wex::SHOW;
using wex::HIDE; using wex::FONT; using wex::DISABLE; using wex::ENABLE; using wex::FOCUS;
using wex::UNFOCUS; using wex::BUTTON; using wex::STOCK; using wex::TOGGLE; using wex::CHECK;
using wex::RADIO; using wex::ENTRY; using wex::WEXENTRY; using wex::PASSWORD; using wex::MARK;
using wex::COMBO; using wex::HSEPARATOR; using wex::VSEPARATOR; using wex::EDIT; using wex::LIST;
using wex::MSGDIALOG; using wex::FILEDIALOG; using wex::SPIN; using wex::HSLIDER; using wex::VSLIDER;
using wex::INVERT;
using wex::IMAGE; using wex::CLIPBOARD; using wex::PROGRESSBAR; using wex::TEXT; using wex::GRAB$;
using wex::SET; using wex::GET; using wex::CANVAS; using wex::DRAW; using wex::CIRCLE; using wex::SQUARE;
using wex::LINE; using wex::PIXEL; using wex::OUT; using wex::PICTURE; using wex::GETCOLOR$;
using wex::CALLBACK; using wex::CALLBACKX; using wex::TIMEOUT; using wex::KEY; using wex::RESETKEY;
using wex::MOUSE;
