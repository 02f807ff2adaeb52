// init_child_toolkit.cpp: a program linked like the games (no GUI library), for the start-up
// benchmark.  "start": report after the runtime's start-up; "locate": after locating and
// binding the libraries; "init": after INIT; "registry": locate and bind, then time the
// creation of the registry's 24 tables and the memory it adds.
#include <cstring>

#include "bench/start_report.h"
#include "wex/library.h"
#include "wex/registry.h"
#include "wex/wex.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const char* mode = argv[1];
    T4K_START(1, argv);
    if (std::strcmp(mode, "init") == 0) {
        INIT();
    } else if (std::strcmp(mode, "locate") == 0) {
        wex::wex_bind_libraries(wex::wex_locate_libraries());
    } else if (std::strcmp(mode, "registry") == 0) {
        wex::wex_bind_libraries(wex::wex_locate_libraries());
        const long before_kib = bench::resident_kib();
        const double start = bench::monotonic_seconds();
        wex::wex_registry_init();
        const double took = bench::monotonic_seconds() - start;
        bench::report_and_exit(argv[2], took, bench::resident_kib() - before_kib);
    }
    bench::report_and_exit(argv[2]);
}
