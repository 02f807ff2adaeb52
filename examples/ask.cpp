// ask.cpp: a program that asks and acts on the answer.  Open chooses a file (Open or Cancel),
// starting at the file named on the command line if any, and opens it; Quit asks "Save
// changes?": Yes saves and ends, No ends, Cancel (or Escape, or closing the question) goes back.
// Each answer is also written to standard output.
#include <cstdio>

#include "wex/wex.h"

Widget status, chooser, question;

void tell(const char* what, const char* detail = "") {
    T4K_FUNCTION(tell);
    std::printf("%s%s\n", what, detail);
    std::fflush(stdout);
    TEXT(status, __t4k__concat(what, detail, nullptr));
}

// A dialog stays open after a button: the program hides it once it has the answer.
void on_file(Widget dialog, int response, void*) {
    HIDE(dialog);
    if (response != WEX_RESPONSE_ACCEPT) return tell("nothing opened");
    const char* name = FILENAME$(GRAB$(dialog));  // GRAB$ gives a URI path: a blank reads %20
    std::FILE* file = std::fopen(name, "r");
    tell(file ? "opened " : "cannot open ", name);
    if (file) std::fclose(file);
}

void on_question(Widget dialog, int response, void*) {
    HIDE(dialog);
    switch (response) {
    case WEX_RESPONSE_YES: tell("saved"); QUIT();
    case WEX_RESPONSE_NO: tell("not saved"); QUIT();
    default: tell("still here");  // Cancel, Escape or the window's close button
    }
}

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    INIT();
    WEXOPTIONS("NOSCALING");
    Widget window = WINDOW("Ask", 320, 100);
    status = MARK("Nothing opened yet", 300, 30);
    ATTACH(window, status, 10, 10);
    Widget open = BUTTON("_Open...", 140, 30);
    ATTACH(window, open, 10, 60);
    Widget quit = BUTTON("_Quit", 140, 30);
    ATTACH(window, quit, 170, 60);

    chooser = FILEDIALOG("Open a file", "gtk-open", 500, 400, 0);
    if (argc > 1) TEXT(chooser, argv[1]);
    CALLBACK(chooser, on_file);
    question = MSGDIALOG("Save changes?", 300, 100, 2, 6);
    CALLBACK(question, on_question);
    CALLBACK(open, [] { SHOW(chooser); });
    CALLBACK(quit, [] { SHOW(question); });
    DISPLAY();
}
