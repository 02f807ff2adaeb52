// init_probe.cpp: a program linked like the games that starts the toolkit and reports what it
// found, for the tests that hide libraries from it or read its NEEDED entries.
#include <cstdio>
#include "wex/properties.h"
#include "wex/wex.h"

int main(int argc, char** argv) {
    T4K_START(argc, argv);
    INIT();
    std::printf("started with %s, error %d\n", wex::wex_gui_properties.gl_library, ERROR);
    return 0;
}
