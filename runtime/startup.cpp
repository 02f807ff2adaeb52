// startup.cpp: the start-up sequence, the program name, ARGUMENT$ and the start time.
#include "runtime/startup.h"

#include <sys/time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "runtime/strings.h"

char* __t4k__me_var$ = nullptr;
char* ARGUMENT$ = nullptr;
int __t4k__arglen = 0;
struct timeval __t4k__tm;
long __t4k__elapsed_secs = 0, __t4k__elapsed_usecs = 0;
void* __t4k__typestack = nullptr;
char** __t4k__stringstack = nullptr;
const char VERSION$[6] = T4K_VERSION;

namespace {

constexpr std::string_view version_mismatch =
    "System error: this Vemto binary was compiled with a previous Vemto archive and therefore may "
    "not function correctly.\n"
    "Recompile your program using the '-a' flag.\n";

bool needs_quotes(std::string_view argument) { return argument.find_first_of(" \t") != std::string_view::npos; }

// ARGUMENT$: the arguments joined by single blanks, those holding a blank or a tab in quotes.
void build_argument_string(int argc, char** argv) {
    __t4k__arglen = 1;
    for (int i = 0; i < argc; ++i) {
        std::string_view argument = argv[i];
        __t4k__arglen += static_cast<int>(argument.size()) + (needs_quotes(argument) ? 3 : 1);
    }
    ARGUMENT$ = static_cast<char*>(std::calloc(1, static_cast<size_t>(__t4k__arglen)));
    if (ARGUMENT$ == nullptr) std::abort();
    char* out = ARGUMENT$;
    for (int i = 0; i < argc; ++i) {
        std::string_view argument = argv[i];
        bool quoted = needs_quotes(argument);
        if (quoted) *out++ = '"';
        out = std::copy(argument.begin(), argument.end(), out);
        if (quoted) *out++ = '"';
        if (i + 1 < argc) *out++ = ' ';
    }
}

// The part after the last slash, trailing slashes disregarded.
std::string_view base_name(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    size_t slash = path.rfind('/');
    return slash == std::string_view::npos || path.size() == 1 ? path : path.substr(slash + 1);
}

void set_up_work_stacks() {
    __t4k__typestack = std::calloc(1, 4);
    __t4k__stringstack = static_cast<char**>(std::calloc(1, sizeof(char*)));
    if (__t4k__typestack == nullptr || __t4k__stringstack == nullptr) std::abort();
    __t4k__stringstack[0] = __t4k__strdup("");
}

void read_start_time() {
    gettimeofday(&__t4k__tm, nullptr);
    __t4k__elapsed_secs = __t4k__tm.tv_sec;
    __t4k__elapsed_usecs = __t4k__tm.tv_usec;
}

}  // namespace

void __t4k__version(const char* text) {
    if (text != nullptr && std::strcmp(text, VERSION$) == 0) return;
    std::fwrite(version_mismatch.data(), 1, version_mismatch.size(), stdout);
    std::exit(1);
}

void __t4k__startup(const char* version, int argc, char** argv) {
    __t4k__version(version);
    if (argc < 0 || argv == nullptr) argc = 0;
    if (argc > 0) __t4k__me_var$ = __t4k__strdup(argv[0]);
    if (argc == 2 && std::strcmp(argv[1], "-vemto") == 0) {
        std::fprintf(stderr, "Converted by %s.\n", "Vemto executable " T4K_VERSION);
        std::exit(1);
    }
    build_argument_string(argc, argv);
    srandom(static_cast<unsigned>(time(nullptr)));
    set_up_work_stacks();
    read_start_time();
    t4k_install_signal_traps();
    if (base_name(__t4k__me_var$ ? __t4k__me_var$ : "") == "wex") {
        std::fputs("This is the WEX include file.\n", stdout);
        std::fflush(stdout);
    }
}
