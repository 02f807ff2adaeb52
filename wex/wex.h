// wex.h: the WEX toolkit's public calls, one per widget kind; includes no GTK header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>
#include "runtime/runtime.h"

/* A program calls INIT once, builds its widgets with the constructors below, places them with
 * ATTACH, connects its functions with CALLBACK, KEYCALLBACK and TIMEOUT, and hands over to DISPLAY (the guide
 * is docs/wex.md).  Every constructor returns a Widget handle that stays good for the whole run.
 * A handle the toolkit did not make or REGISTER is ignored quietly: a call on it does nothing and
 * a read gives 0 or "" (CALLBACK, CALLBACKX, KEYCALLBACK and DRAW say what they do).  Texts may be literals,
 * runtime strings, pointers into the middle of other texts, or null, taken as "".  Sizes and
 * places are pixels scaled by the desktop's font size, or as they are after "NOSCALING". */

namespace wex {
using Widget = void*;              // opaque widget handle: a GTK object

namespace detail {
struct Arguments;  // a signal's arguments between its object and the data, as the toolkit holds them

// Each argument read as what the program function asks for; 0, "" or null where there is none
// (a function that asks for arguments, run by the timer).
long long argument_number(const Arguments* arguments, int index);
double argument_real(const Arguments* arguments, int index);
const char* argument_text(const Arguments* arguments, int index);
void* argument_pointer(const Arguments* arguments, int index);

// How a parameter takes a signal's argument: 'i' a whole number (an integer, enum or bool type),
// 'd' a floating-point number, 's' a text (const char*), 'p' a pointer (a text too); 0 for a type
// that no signal passes.
template <class T> constexpr char argument_code() {
    if constexpr (std::is_same_v<T, const char*>) return 's';
    else if constexpr (std::is_pointer_v<T>) return std::is_function_v<std::remove_pointer_t<T>> ? 0 : 'p';
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) return 'i';
    else if constexpr (std::is_floating_point_v<T>) return 'd';
    else return 0;
}

template <class T> T argument(const Arguments* arguments, int index) {
    constexpr char code = argument_code<T>();
    if constexpr (code == 's') return argument_text(arguments, index);
    else if constexpr (code == 'p') return static_cast<T>(argument_pointer(arguments, index));
    else if constexpr (code == 'd') return T(argument_real(arguments, index));
    else return T(argument_number(arguments, index));
}

// The codes of the parameters between the first (the object) and the last (the data).
template <class Parameters, class Middle> struct Codes;
template <class Parameters, size_t... I> struct Codes<Parameters, std::index_sequence<I...>> {
    static constexpr char text[] = {argument_code<std::tuple_element_t<I + 1, Parameters>>()..., '\0'};
};

// A function f(Widget object, arguments..., void* data) returning void or int: its signature
// codes, and its call with the arguments read as its parameters' types.
template <class R, class... P> struct TakesArguments {
    using Parameters = std::tuple<P...>;
    using Middle = std::make_index_sequence<sizeof...(P) - 2>;
    static constexpr const char* codes = Codes<Parameters, Middle>::text;

    static constexpr bool valid() {
        size_t known = 0;
        while (codes[known] != '\0') ++known;
        return known == sizeof...(P) - 2 && (std::is_void_v<R> || std::is_same_v<R, int>) &&
               std::is_same_v<std::tuple_element_t<0, Parameters>, void*> &&
               std::is_same_v<std::tuple_element_t<sizeof...(P) - 1, Parameters>, void*>;
    }
    template <size_t... I>
    static int call(void (*erased)(), void* object, const Arguments* arguments, void* data, std::index_sequence<I...>) {
        auto f = reinterpret_cast<R (*)(P...)>(erased);  // back to the type it was given with
        if constexpr (std::is_void_v<R>) {
            f(object, argument<std::tuple_element_t<I + 1, Parameters>>(arguments, int(I))..., data);
            return 0;
        } else {
            return f(object, argument<std::tuple_element_t<I + 1, Parameters>>(arguments, int(I))..., data);
        }
    }
    static int run(void (*erased)(), void* object, const Arguments* arguments, void* data) {
        return call(erased, object, arguments, data, Middle());
    }
};

template <class R, class... P> constexpr bool takes_arguments() {
    if constexpr (sizeof...(P) < 3) return false;
    else return TakesArguments<R, P...>::valid();
}

// Whether a function of that type makes a Callback, for a lambda that converts to it.
template <class R, class... P> constexpr bool accepted() {
    constexpr bool answer = std::is_void_v<R> || std::is_same_v<R, int>;
    using Shape = std::tuple<P...>;
    return takes_arguments<R, P...>() ||
           (answer && (std::is_same_v<Shape, std::tuple<>> || std::is_same_v<Shape, std::tuple<void*>> ||
                       std::is_same_v<Shape, std::tuple<void*, void*>>));
}
template <class R, class... P> std::bool_constant<accepted<R, P...>()> accepts(R (*)(P...));
std::false_type accepts(...);
}  // namespace detail

/* A program function that the toolkit calls when a widget's signal runs (CALLBACK, CALLBACKX), a
 * key is pressed (KEYCALLBACK) or its timer expires (TIMEOUT).  It takes nothing, or the data, or
 * the object whose signal ran and the data (the data CALLBACKX was given; null for CALLBACK and
 * for a timer, whose object is null too), and returns nothing or an int.  Or it asks for the
 * signal's own arguments between the object and the data, each as a whole number, a
 * floating-point number, a text or a pointer, as the signal passes it: a dialog's answer is
 * void f(Widget dialog, int response, void* data), a press (Widget, GdkEventButton*, void*), a key
 * (Widget window, int key, void*).  CALLBACK refuses a function whose arguments are not the
 * signal's; a type that no signal passes does not compile.  A lambda that captures nothing is
 * taken as the function it converts to.  The function is kept with its own type and called as
 * what it is.  What its int means: on a timer, 0 ends the timer; on a signal with a gboolean
 * result ("button-press-event" of a canvas or an image, such signals of external widgets, a key),
 * nonzero stops the signal's later handlers; elsewhere nothing.  A function that returns nothing
 * counts as returning 0. */
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
    template <class R, class... P, std::enable_if_t<detail::takes_arguments<R, P...>(), int> = 0>
    Callback(R (*f)(P...)) noexcept
        : shape_(f ? ARGUMENTS : NONE),
          arguments_{reinterpret_cast<void (*)()>(f), detail::TakesArguments<R, P...>::run,
                     detail::TakesArguments<R, P...>::codes} {}
    template <class Lambda, std::enable_if_t<std::is_class_v<Lambda> &&
                                                 decltype(detail::accepts(+std::declval<Lambda>()))::value,
                                             int> = 0>
    Callback(Lambda lambda) noexcept : Callback(+lambda) {}

    constexpr explicit operator bool() const noexcept { return shape_ != NONE; }
    // The codes of the signal's arguments the function asks for (see detail::argument_code);
    // "" for one that asks for none.
    const char* argument_codes() const noexcept { return shape_ == ARGUMENTS ? arguments_.codes : ""; }
    // Calls the function through the type it was given with; 0 for one that returns nothing.
    int operator()(Widget widget, void* data) const { return (*this)(widget, nullptr, data); }
    int operator()(Widget widget, const detail::Arguments* arguments, void* data) const;

private:
    enum Shape : unsigned char {
        NONE, PLAIN, ANSWERS, DATA, DATA_ANSWERS, WIDGET_DATA, WIDGET_DATA_ANSWERS, ARGUMENTS
    };
    struct TakingArguments {
        void (*function)();  // of the type `run` casts it back to
        int (*run)(void (*function)(), Widget, const detail::Arguments*, void*);
        const char* codes;
    };
    Shape shape_ = NONE;
    union {  // the member that shape_ names
        void (*plain_)();
        int (*answers_)();
        void (*data_)(void*);
        int (*data_answers_)(void*);
        void (*widget_data_)(Widget, void*);
        int (*widget_data_answers_)(Widget, void*);
        TakingArguments arguments_;
    };
};

extern Widget WIDGET;                  // the last constructor's widget (on a GooCanvas: the last item drawn)
extern int WEX_WIDGET_SHOW;            // constructors show what they make while nonzero (option WIDGET_SHOW)
extern int WEX_CANVAS_TYPE;            // the next CANVAS's kind: 0 GTK, 1 OpenGL, 2 GooCanvas (option CANVAS)
extern double WEX_FONT_SIZE_FACTOR;    // sizes and places are scaled by both factors:
extern double WEX_XFT_SIZE_FACTOR;     // the desktop font's and the screen resolution's
extern double WEX_DEFAULT_XFT_SIZE;    // the base resolution of BASEXFTDPI, 96
extern char* wex_Goocanvas$;           // the GooCanvas file INIT opened, or "notfound"

// --- Start-up, options and the main loop ---

// Finds GTK 2 and its family on the system, binds them and sets the toolkit up: the first toolkit
// call, after T4K_START.  A missing library prints one line ("Gtk library not found!") and exits 0.
void INIT();

// Applies one option, such as "NOSCALING" or "CANVAS GOO" (the list is in docs/wex.md); an option
// it does not know prints "WEXOPTION '<option>' not recognized!" and changes nothing.
void WEXOPTIONS(const char* option);

// Runs the main loop, where callbacks and the timer run; never returns (the program ends by QUIT
// or by closing a window).
void DISPLAY();

// Handles every pending event, repaints included, then shows what was drawn on an OpenGL canvas:
// lets the screen catch up in the middle of a long callback.  A request X refused since the last
// SYNC (an image beyond its means) prints "WARNING: X refused a request (error N)! Going on without
// it."; an X error never ends the program.
void SYNC();

// Ends the program with status 0; serves as a button's callback as it is.
[[noreturn]] void QUIT();

// The screen's width (n = 0) or height (n = 1) in pixels; 0 for any other n.
int SCREENSIZE(int n);

// Searches again for one library, "gtk", "gdk", "glib", "gobject", "pango", "glarea", "glext" or
// "goo", and returns the file it opened, "notfound" or, for another name, "Unknown" (a temporary text).
char* WEXLIB$(const char* name);

// --- Registry ---

// Brings in a GTK widget the program made itself, as kind "external": CALLBACK connects signal$ on
// s_widget, ATTACH puts children into attach, FONT and FOCUS act on font and focus (null: the widget
// itself); the sizes are for ATTACH.  A null widget: nothing.
void REGISTER(Widget widget, int xsize, int ysize, const char* signal$, Widget s_widget, Widget attach,
              Widget font, Widget focus);

// Gives a REGISTERed widget the function GRAB$ (kind 1, const char* f(Widget)), TEXT (2, void
// f(Widget, const char*)), GET (3, int f(Widget)) or SET (4, void f(Widget, int)) calls for it; other
// kinds are ignored.  Without one, that call does nothing, or reads "" or 0.
void METHOD(Widget widget, int kind, t4k_fn function);

// --- Windows, containers and placement ---

// A top-level window with that title and size, centred and not resizable (resizable in a TABLE
// layout); closing it ends the program with status 0.  Returns its handle.  A window (and a dialog)
// stops at 8192 pixels a side, whatever its widgets; a larger size prints "WARNING: Window size too
// large! Keeping it within 8192 x 8192 pixels."
Widget WINDOW(const char* title, int xsize, int ysize);

// A notebook with one page whose tab shows the title; ATTACH(notebook, ...) places on the page shown,
// TEXT(notebook, title) adds a page.  Returns its handle; the size is for ATTACH.
Widget NOTEBOOK(const char* title, int xsize, int ysize);

// A frame without a label (TEXT gives it one), for decoration: the widgets it seems to hold are
// attached to its parent.  Returns its handle.
Widget FRAME(int xsize, int ysize);

// Puts the widget into the parent (a window, or a notebook's page shown) at (x, y) with its
// constructor's size, in cells in a TABLE layout; with parent 0 moves a window on the screen.  An
// unknown handle, a parent without a container or a widget already placed: nothing.
void ATTACH(Widget parent, Widget widget, int x, int y);

// Shows the widget and all it holds; opens a dialog.  Unknown handle: nothing.
void SHOW(Widget widget);

// Hides the widget.  Unknown handle: nothing.
void HIDE(Widget widget);

// Sets the widget's font from a Pango font description such as "Sans Bold 12" (a size outside 1 to
// 1000 warns and keeps the font).  Unknown handle, or a kind with no font: nothing.
void FONT(Widget widget, const char* description);

// Keeps the text of a label (MARK) or a button within the size it was made with: wherever it would
// not fit at the widget's font, it shows at the largest smaller size that fits (in 64ths of the
// font's size), now and after every new text or font.  Any other handle: nothing.
void FIT(Widget widget);

// Greys the widget out: it takes no input.  Unknown handle: nothing.
void DISABLE(Widget widget);

// Lets a disabled widget take input again.  Unknown handle: nothing.
void ENABLE(Widget widget);

// Lets the widget take the keyboard focus and gives it the focus.  Unknown handle: nothing.
void FOCUS(Widget widget);

// Keeps the widget from taking the keyboard focus; the focus stays where it is.  Unknown handle: nothing.
void UNFOCUS(Widget widget);

// Names the widget to the accessibility layer: its accessible name and description, which a screen
// reader speaks (a canvas's name, and what its picture shows).  Unknown handle: nothing.
void DESCRIBE(Widget widget, const char* name, const char* description);

// --- Widget constructors ---
// Each returns the new widget's handle, also left in WIDGET, and shows the widget unless the option
// "WIDGET_SHOW 0" is in force; xsize and ysize are the size ATTACH gives it.  "CALLBACK:" names the
// event a function connected with CALLBACK runs on.

// A push button; an underscore before a letter of the text makes Alt and that letter press it.
// CALLBACK: a click.
Widget BUTTON(const char* text, int xsize, int ysize);

// One of GTK's stock buttons, such as "gtk-new", "gtk-quit" or "gtk-ok", with its own label and
// icon.  CALLBACK: a click.
Widget STOCK(const char* stock_id, int xsize, int ysize);

// A button that stays pressed until pressed again; GET and SET its state (1 pressed).  CALLBACK: a click.
Widget TOGGLE(const char* text, int xsize, int ysize);

// A check box with a label; GET and SET its state (1 ticked).  CALLBACK: a click.
Widget CHECK(const char* text, int xsize, int ysize);

// A radio button in the group of `group` (a RADIO), or in a new group when `group` is 0 or no radio
// button; GET and SET its state.  CALLBACK: a click.
Widget RADIO(const char* text, int xsize, int ysize, Widget group);

// A one-line text entry holding the text.  CALLBACK: Enter.
Widget ENTRY(const char* text, int xsize, int ysize);

// An entry holding the runtime's latest returned text (the last GRAB$, say), not the text given.
Widget WEXENTRY(const char* text, int xsize, int ysize);

// An entry that hides what is typed; SET 1 shows it.  CALLBACK: Enter.
Widget PASSWORD(int xsize, int ysize);

// A label showing Pango markup ("<b>25</b>"); GRAB$ reads it without the markup.  Takes no CALLBACK.
Widget MARK(const char* markup, int xsize, int ysize);

// A drop-down list holding the text as its one item, chosen; TEXT appends an item, TEXT("") removes
// the last; GET and SET the chosen index.  CALLBACK: another choice.
Widget COMBO(const char* text, int xsize, int ysize);

// A horizontal line, xsize long.  Takes no CALLBACK.
Widget HSEPARATOR(int xsize);

// A vertical line, ysize long.  Takes no CALLBACK.
Widget VSEPARATOR(int ysize);

// A multi-line text field, scrolled; TEXT appends ("" clears), GRAB$ reads it all, GET counts its
// lines.  CALLBACK: typed text (not CALLBACKX).
Widget EDIT(int xsize, int ysize);

// A one-column list, scrolled; TEXT appends a row ("" clears), GRAB$ and GET read the selected row
// (-1 for none), SET selects one.  CALLBACK: another selection.
Widget LIST(int xsize, int ysize);

// A message dialog, hidden until SHOW; type 0 info, 1 warning, 2 question, 3 error, 4 other; buttons
// 0 none, 1 OK, 2 Close, 3 Cancel, 4 Yes and No, 5 OK and Cancel, 6 Yes, No and Cancel (another
// number: none).  CALLBACK: an answer (see
// WEX_RESPONSE_OK and the rest below).
Widget MSGDIALOG(const char* markup, int xsize, int ysize, int type, int buttons);

// A file chooser, hidden until SHOW; action 0 open, 1 save, 2 choose a folder, 3 make one; `button`
// names the accepting button.  GRAB$: the files chosen, blank-separated; "" once the dialog was
// answered otherwise than by that button, until it is shown again.  CALLBACK: an answer
// (WEX_RESPONSE_ACCEPT for the accepting button).
Widget FILEDIALOG(const char* title, const char* button, int xsize, int ysize, int action);

// A dialog's answer, the response a function of the shape void f(Widget dialog, int response,
// void* data) gets: the button pressed, or WEX_RESPONSE_DISMISSED for Escape or the window's close
// button (which also hide the dialog; after a button it stays open until the program hides it).
constexpr int WEX_RESPONSE_ACCEPT = -3, WEX_RESPONSE_DISMISSED = -4, WEX_RESPONSE_OK = -5,
              WEX_RESPONSE_CANCEL = -6, WEX_RESPONSE_CLOSE = -7, WEX_RESPONSE_YES = -8, WEX_RESPONSE_NO = -9;

// A number field with arrows from minimum to maximum in steps (bounds put in order, a step of 0 is
// 1); GET and SET its value, GET rounding it to a whole number.  CALLBACK: a new value.
Widget SPIN(int xsize, int ysize, double minimum, double maximum, double step);

// A horizontal slider, with a range as SPIN's; GET and SET its value.  CALLBACK: a new value.
Widget HSLIDER(int xsize, int ysize, double minimum, double maximum, double step);

// A vertical slider, its minimum at the top (see INVERT), with a range as SPIN's.  CALLBACK: a new value.
Widget VSLIDER(int xsize, int ysize, double minimum, double maximum, double step);

// Turns a slider's scale round (a vertical one then fills from the bottom, as a gauge); its values
// stay.  Any other handle: nothing.
void INVERT(Widget slider);

// Gives a slider the range from minimum to maximum, put in order as the constructors do; its value
// is kept within it.  Any other handle: nothing.
void RANGE(Widget slider, double minimum, double maximum);

// Shows an image file; TEXT shows another, GRAB$ names it.  CALLBACK: a press of a mouse button.
Widget IMAGE(const char* file, int xsize, int ysize);

// The clipboard (or the selection the option "CLIPBOARD n" chose): TEXT sets its text, GRAB$ reads it.
// Not a widget: it is not attached.
Widget CLIPBOARD();

// A progress bar showing the text; SET and GET its fill in percent, 0 to 100.
Widget PROGRESSBAR(const char* text, int xsize, int ysize);

// --- Generic property access ---

// Sets the widget's main text: a label's markup, a window's title, an entry's text; appends to
// combos, lists and edits (docs/wex.md has every kind).  Unknown handle or a kind without: nothing.
void TEXT(Widget widget, const char* text);

// Reads the widget's main text; "" for an unknown handle or a kind without one.  The text stays good
// for 32 further such results; never null.
char* GRAB$(Widget widget);

// Sets the widget's number: a toggle's state, a slider's value, a combo's or list's choice, a
// progress bar's percent, 1 for a full-screen window.  Unknown handle or a kind without: nothing.
void SET(Widget widget, int value);

// Reads the widget's number, as SET sets it; 0 for an unknown handle or a kind without one.
int GET(Widget widget);

// The file name that one entry of a FILEDIALOG's GRAB$ stands for, ready for fopen: each "%XY"
// becomes the byte XY ("my%20file.txt" is "my file.txt").  The entry ends at its first blank, so
// a pointer to any entry of GRAB$'s text will do; a leading "file://" is dropped.  An escape
// without two hexadecimal digits, one for a zero byte or a slash ("%00", "%2F"), a URI naming a
// host, an empty entry or null give "".  A temporary text.
char* FILENAME$(const char* entry);

// The text with '&', '<', '>', '"' and '\'' written as markup entities ("&amp;", ...) and each
// byte that is no UTF-8 replaced by U+FFFD, so that it shows as it is in a MARK, a MSGDIALOG or
// OUT, also inside markup of the program's own ("<b>" + ESCAPE$(name) + "</b>").  Null is "".  A
// temporary text.
char* ESCAPE$(const char* text);

// --- Canvas and drawing ---

// A white canvas of width by height pixels (never scaled), of the kind WEX_CANVAS_TYPE names; it
// becomes the current canvas.  Returns its handle.  CALLBACK: a press of a mouse button.
Widget CANVAS(int width, int height);

// Makes the canvas current; returns what it draws on.  For a handle that is no canvas: null, and
// drawing does nothing until the next CANVAS or DRAW.
Widget DRAW(Widget canvas);

// An ellipse in the box of width by height from (x, y) in canvas pixels, filled when fill is
// nonzero.  Colours are texts: "red", "#ff8000".  No current canvas: nothing, as for every drawing call.
void CIRCLE(const char* colour, int x, int y, int width, int height, int fill);

// A rectangle from (x, y): filled, width by height pixels; as an outline one pixel more each way.
void SQUARE(const char* colour, int x, int y, int width, int height, int fill);

// A line from (x1, y1) to (x2, y2), both ends drawn.
void LINE(const char* colour, int x1, int y1, int x2, int y2);

// One pixel.
void PIXEL(const char* colour, int x, int y);

// Markup text with its top-left corner at (x, y), in the foreground colour on the background one;
// a background of "" leaves what is behind the glyphs.
void OUT(const char* text, const char* foreground, const char* background, int x, int y);

// The top-left width by height of an image file at (x, y), unscaled (a negative size takes the
// picture's own); a file that cannot be read draws nothing.
void PICTURE(const char* file, int x, int y, int width, int height);

// The colour at (x, y) of the current canvas as "#RRGGBB" and a newline, "#RRGGBBAA" when alpha is
// nonzero; zeros outside the canvas or with none.  A temporary text.
char* GETCOLOR$(int x, int y, int alpha);

// --- Events, callbacks and timers ---

// Connects the function to the widget's one event (see each constructor); it gets no data.  A second
// CALLBACK adds another.  A widget without an event, an unknown handle, or a function asking for
// arguments the event does not have prints "WARNING: Cannot setup callback for wex_widget!" and
// exits with status 0; a null function: nothing.
void CALLBACK(Widget widget, Callback function);

// As CALLBACK, the function getting `data` (see Callback); an EDIT, a widget without an event or an
// unknown handle prints "WARNING: Cannot setup callback for widget!" and exits with status 0.
void CALLBACKX(Widget widget, Callback function, intptr_t data);

// Runs the function after the delay in milliseconds, and again every period until it returns 0 (or
// nothing); replaces the timer set before, as there is one at a time.  A null function stops it.
void TIMEOUT(int milliseconds, Callback function);

// Runs the function for each key pressed while the window, or a dialog of the program, has the
// focus, with the window (or dialog) and the key's GDK value: int f(Widget window, int key, void*
// data), data null; or any Callback shape, reading KEY() and KEYSTATE(), which already hold the key.
// A function that returns nonzero has handled the key, which then goes no further (not to the
// focused widget, not to a button's mnemonic), nor to the later functions.  Several may be
// connected; a handle that is no window prints "WARNING: Cannot setup callback for wex_widget!"
// and exits with status 0; a null function: nothing.
void KEYCALLBACK(Widget window, Callback function);

// The GDK key value of the last key pressed in any of the program's windows or dialogs (97 for a,
// and see WEX_KEY_LEFT and the rest below); 0 for none.
int KEY();

// The modifiers held at the last key press, as GDK's mask bits: test it with WEX_SHIFT_MASK,
// WEX_CONTROL_MASK and WEX_ALT_MASK.  0 before any key.
int KEYSTATE();

// Sets KEY() back to 0.
void RESETKEY();

// Key values (GDK's) that KEY() and a key callback see; a letter or digit is its own character.
constexpr int WEX_KEY_SPACE = 0x20, WEX_KEY_RETURN = 0xff0d, WEX_KEY_ESCAPE = 0xff1b, WEX_KEY_HOME = 0xff50,
              WEX_KEY_LEFT = 0xff51, WEX_KEY_UP = 0xff52, WEX_KEY_RIGHT = 0xff53, WEX_KEY_DOWN = 0xff54,
              WEX_KEY_PAGE_UP = 0xff55, WEX_KEY_PAGE_DOWN = 0xff56, WEX_KEY_END = 0xff57;
// The keypad: Enter, the arrows and corners that 4, 8, 6, 2, 7, 9, 1 and 3 are without Num Lock,
// and its digits with it (WEX_KEY_KP_0 + n).
constexpr int WEX_KEY_KP_ENTER = 0xff8d, WEX_KEY_KP_HOME = 0xff95, WEX_KEY_KP_LEFT = 0xff96, WEX_KEY_KP_UP = 0xff97,
              WEX_KEY_KP_RIGHT = 0xff98, WEX_KEY_KP_DOWN = 0xff99, WEX_KEY_KP_PAGE_UP = 0xff9a,
              WEX_KEY_KP_PAGE_DOWN = 0xff9b, WEX_KEY_KP_END = 0xff9c, WEX_KEY_KP_0 = 0xffb0, WEX_KEY_KP_1 = 0xffb1,
              WEX_KEY_KP_2 = 0xffb2, WEX_KEY_KP_3 = 0xffb3, WEX_KEY_KP_4 = 0xffb4, WEX_KEY_KP_5 = 0xffb5,
              WEX_KEY_KP_6 = 0xffb6, WEX_KEY_KP_7 = 0xffb7, WEX_KEY_KP_8 = 0xffb8, WEX_KEY_KP_9 = 0xffb9;
// KEYSTATE()'s bits for Shift, Control and Alt.
constexpr int WEX_SHIFT_MASK = 1, WEX_CONTROL_MASK = 4, WEX_ALT_MASK = 8;

// The pointer over a canvas as last recorded, on motion and on a press (before the press's
// functions run), by `what`: 0 x and 1 y in canvas pixels (-1 once it left), 2 the button pressed
// (-1 once released), 3 the last scroll (0 up, 1 down, 2 left, 3 right, else -1), 4 the canvas's
// handle; any other `what`: 0.
intptr_t MOUSE(int what);
}  // namespace wex

using wex::Widget;
using wex::WIDGET;
using wex::WEX_WIDGET_SHOW;
using wex::WEX_CANVAS_TYPE;
using wex::INIT; using wex::WEXOPTIONS; using wex::DISPLAY; using wex::SYNC; using wex::QUIT;
using wex::SCREENSIZE; using wex::WEXLIB$; using wex::REGISTER; using wex::METHOD;
using wex::WINDOW; using wex::NOTEBOOK; using wex::FRAME; using wex::ATTACH; using wex::SHOW;
using wex::HIDE; using wex::FONT; using wex::FIT; using wex::DISABLE; using wex::ENABLE; using wex::FOCUS;
using wex::UNFOCUS; using wex::DESCRIBE; using wex::BUTTON; using wex::STOCK; using wex::TOGGLE; using wex::CHECK;
using wex::RADIO; using wex::ENTRY; using wex::WEXENTRY; using wex::PASSWORD; using wex::MARK;
using wex::COMBO; using wex::HSEPARATOR; using wex::VSEPARATOR; using wex::EDIT; using wex::LIST;
using wex::MSGDIALOG; using wex::FILEDIALOG; using wex::SPIN; using wex::HSLIDER; using wex::VSLIDER;
using wex::INVERT; using wex::RANGE;
using wex::IMAGE; using wex::CLIPBOARD; using wex::PROGRESSBAR; using wex::TEXT; using wex::GRAB$;
using wex::SET; using wex::GET; using wex::FILENAME$; using wex::ESCAPE$; using wex::CANVAS; using wex::DRAW;
using wex::CIRCLE; using wex::SQUARE;
using wex::LINE; using wex::PIXEL; using wex::OUT; using wex::PICTURE; using wex::GETCOLOR$;
using wex::CALLBACK; using wex::CALLBACKX; using wex::TIMEOUT; using wex::KEYCALLBACK; using wex::KEY;
using wex::KEYSTATE; using wex::RESETKEY; using wex::MOUSE;
using wex::WEX_KEY_SPACE; using wex::WEX_KEY_RETURN; using wex::WEX_KEY_ESCAPE; using wex::WEX_KEY_HOME;
using wex::WEX_KEY_LEFT; using wex::WEX_KEY_UP; using wex::WEX_KEY_RIGHT; using wex::WEX_KEY_DOWN;
using wex::WEX_KEY_PAGE_UP; using wex::WEX_KEY_PAGE_DOWN; using wex::WEX_KEY_END; using wex::WEX_KEY_KP_ENTER;
using wex::WEX_KEY_KP_HOME; using wex::WEX_KEY_KP_LEFT; using wex::WEX_KEY_KP_UP; using wex::WEX_KEY_KP_RIGHT;
using wex::WEX_KEY_KP_DOWN; using wex::WEX_KEY_KP_PAGE_UP; using wex::WEX_KEY_KP_PAGE_DOWN; using wex::WEX_KEY_KP_END;
using wex::WEX_KEY_KP_0; using wex::WEX_KEY_KP_1; using wex::WEX_KEY_KP_2; using wex::WEX_KEY_KP_3;
using wex::WEX_KEY_KP_4; using wex::WEX_KEY_KP_5; using wex::WEX_KEY_KP_6; using wex::WEX_KEY_KP_7;
using wex::WEX_KEY_KP_8; using wex::WEX_KEY_KP_9; using wex::WEX_SHIFT_MASK; using wex::WEX_CONTROL_MASK;
using wex::WEX_ALT_MASK; using wex::WEX_RESPONSE_ACCEPT; using wex::WEX_RESPONSE_DISMISSED; using wex::WEX_RESPONSE_OK;
using wex::WEX_RESPONSE_CANCEL; using wex::WEX_RESPONSE_CLOSE; using wex::WEX_RESPONSE_YES; using wex::WEX_RESPONSE_NO;
