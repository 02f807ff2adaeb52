// sketch.cpp: drawing with the pointer and the keyboard.  A click on the page puts the pen down
// or lifts it; while it is down, a timer draws a line to wherever the pointer has gone, and the
// arrow keys draw a step at a time.  Colour takes the next ink, Clear wipes the page, and a
// label tells where the pointer is.
#include <iterator>

#include "wex/wex.h"

constexpr int PAGE_WIDTH = 400, PAGE_HEIGHT = 300;
constexpr int COLUMN_X = 420, COLUMN_WIDTH = 90, ROW_HEIGHT = 30;
constexpr int FOLLOW_MS = 40;
constexpr int STEP = 10;  // pixels the pen moves for an arrow key
constexpr const char* INKS[] = {"black", "red", "blue", "green"};

Widget page, where_label, ink_label;
int ink = 0;
bool pen_down = false;
int last_x, last_y;        // the pen
int pointer_x, pointer_y;  // the pointer when the timer last looked

// The page's button-press handler.  The toolkit recorded the press's place, so MOUSE tells
// where the click was.
void press() {
    pen_down = !pen_down;
    last_x = pointer_x = MOUSE(0);
    last_y = pointer_y = MOUSE(1);
    if (pen_down) CIRCLE(INKS[ink], last_x - 3, last_y - 3, 7, 7, 1);
}

// Moves the pen to (x, y), kept on the page, drawing while it is down.
void pen_to(int x, int y) {
    x = x < 0 ? 0 : x >= PAGE_WIDTH ? PAGE_WIDTH - 1 : x;
    y = y < 0 ? 0 : y >= PAGE_HEIGHT ? PAGE_HEIGHT - 1 : y;
    if (pen_down) LINE(INKS[ink], last_x, last_y, x, y);
    last_x = x;
    last_y = y;
}

// The window's key function: an arrow moves the pen a step and goes no further (not to the
// focused button); any other key goes on.
int on_key(Widget, int key, void*) {
    struct Step { int key, dx, dy; };
    constexpr Step STEPS[] = {{WEX_KEY_LEFT, -STEP, 0}, {WEX_KEY_RIGHT, STEP, 0}, {WEX_KEY_UP, 0, -STEP},
                              {WEX_KEY_DOWN, 0, STEP}};
    for (const Step& s : STEPS)
        if (key == s.key) {
            pen_to(last_x + s.dx, last_y + s.dy);
            return 1;
        }
    return 0;
}

// The timer: runs every FOLLOW_MS for as long as it returns nonzero.
int follow() {
    T4K_FUNCTION(follow);  // its own pool for the texts it builds
    const int x = MOUSE(0), y = MOUSE(1);
    if (x < 0) {  // off the page: MOUSE reads -1, and the pen lifts
        pen_down = false;
        TEXT(where_label, "off the page");
        return 1;
    }
    TEXT(where_label, __t4k__concat(__t4k__str(x), ", ", __t4k__str(y), nullptr));
    if (x != pointer_x || y != pointer_y) pen_to(x, y);  // the pen follows the pointer's moves only
    pointer_x = x;
    pointer_y = y;
    return 1;
}

void next_ink() {
    T4K_FUNCTION(next_ink);
    ink = (ink + 1) % static_cast<int>(std::size(INKS));
    TEXT(ink_label, __t4k__concat("ink: <b>", INKS[ink], "</b>", nullptr));
}

void clear_page() {
    SQUARE("white", 0, 0, PAGE_WIDTH, PAGE_HEIGHT, 1);
}

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    INIT();
    WEXOPTIONS("NOSCALING");
    Widget window = WINDOW("Sketch", COLUMN_X + COLUMN_WIDTH + 10, PAGE_HEIGHT + 20);
    page = CANVAS(PAGE_WIDTH, PAGE_HEIGHT);  // white, and the current canvas from now on
    ATTACH(window, page, 10, 10);
    CALLBACK(page, press);
    KEYCALLBACK(window, on_key);

    where_label = MARK("off the page", COLUMN_WIDTH, ROW_HEIGHT);
    ATTACH(window, where_label, COLUMN_X, 10);
    ink_label = MARK("ink: <b>black</b>", COLUMN_WIDTH, ROW_HEIGHT);
    ATTACH(window, ink_label, COLUMN_X, 50);
    Widget colour = BUTTON("_Colour", COLUMN_WIDTH, ROW_HEIGHT);
    ATTACH(window, colour, COLUMN_X, 130);
    CALLBACK(colour, next_ink);
    Widget clear = BUTTON("C_lear", COLUMN_WIDTH, ROW_HEIGHT);
    ATTACH(window, clear, COLUMN_X, 170);
    CALLBACK(clear, clear_page);
    Widget quit = STOCK("gtk-quit", COLUMN_WIDTH, ROW_HEIGHT);
    ATTACH(window, quit, COLUMN_X, PAGE_HEIGHT + 10 - ROW_HEIGHT);
    CALLBACK(quit, QUIT);

    TIMEOUT(FOLLOW_MS, follow);
    DISPLAY();
}
