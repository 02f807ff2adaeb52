// init_probe.cpp: a program linked like the games that starts the toolkit, gives it the options
// on its command line, and reports what it found, for the tests that hide libraries from it,
// change its desktop settings, or read its NEEDED entries.
#include <cstdio>
#include "wex/properties.h"
#include "wex/wex.h"

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    INIT();
    std::printf("started with %s, error %d, font factor %g\n", wex::wex_gui_properties.gl_library, ERROR,
                wex::WEX_FONT_SIZE_FACTOR);
    for (int i = 1; i < argc; ++i) {
        WEXOPTIONS(argv[i]);
        std::printf("canvas %d with %s\n", WEX_CANVAS_TYPE, wex::wex_gui_properties.gl_library);
    }
    return 0;
}
