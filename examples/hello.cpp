// hello.cpp: a window with a label and two buttons: one changes the label, one ends the program.
#include "wex/wex.h"

Widget greeting;

void say_hello() {
    TEXT(greeting, "<b>Hello, world!</b>");
}

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    INIT();
    WEXOPTIONS("NOSCALING");  // sizes and places in pixels, whatever the desktop's font
    Widget window = WINDOW("Hello", 300, 110);
    greeting = MARK("Press <i>Hello</i>.", 280, 30);
    ATTACH(window, greeting, 10, 10);
    Widget hello = BUTTON("_Hello", 135, 40);
    ATTACH(window, hello, 10, 60);
    CALLBACK(hello, say_hello);
    Widget quit = STOCK("gtk-quit", 135, 40);
    ATTACH(window, quit, 155, 60);
    CALLBACK(quit, QUIT);
    DISPLAY();
}
