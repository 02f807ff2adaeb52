// locate.cpp: the library locators, their search order, and WEXLIB$.
#include <dlfcn.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include "wex/library.h"
#include "wex/properties.h"
#include "wex/wex.h"

namespace wex {
namespace {
// When a candidate is replaced by the numbered name: most locators keep a candidate that names
// a Darwin or Cygwin file; the GL ones know only Darwin files; GooCanvas always renumbers.
enum class Renumber { unless_dylib_or_dll, unless_dylib, always };

// Where a library's file is looked for (the search of its entry in wex/libraries.h).
struct Search {
    const char* darwin_first;   // null: no Darwin candidate
    const char* darwin_second;  // taken when the first does not exist; null: no existence test
    const char* cygwin;         // null: Cygwin searches the numbered names too
    Renumber renumber;
    const char* stem;           // numbered names: the stem followed by 0 to 49
    const char* missing;        // message before exiting; null for an optional library
};
#define WEX_SEARCH(darwin_first, darwin_second, cygwin, renumber, stem, missing) \
    {darwin_first, darwin_second, cygwin, Renumber::renumber, stem, missing},
#define WEX_LIBRARY_SEARCH(id, locator, probe, functions, binding, wexlib, search) WEX_SEARCH search
constexpr Search SEARCHES[] = {WEX_LIBRARIES(WEX_LIBRARY_SEARCH)};
#undef WEX_LIBRARY_SEARCH
#undef WEX_SEARCH

constexpr int WEX_NUMBERED_NAMES = 50;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != text.npos; }

bool renumbers(Renumber rule, std::string_view candidate) {
    switch (rule) {
    case Renumber::unless_dylib_or_dll: return !contains(candidate, "dylib") && !contains(candidate, "dll");
    case Renumber::unless_dylib: return !contains(candidate, "dylib");
    case Renumber::always: return true;
    }
    return true;
}

// The platform's own candidate: a Darwin path (the second when the first file is absent) or
// the Cygwin name; empty elsewhere, which leaves the numbered names.
std::string platform_candidate(const Search& library) {
    const char* os = __t4k__os(__LINE__, WEX_UNIT);
    std::string_view system = os ? os : "";
    if (library.darwin_first && contains(system, "Darwin")) {
        if (library.darwin_second && access(library.darwin_first, F_OK) != 0) return library.darwin_second;
        return library.darwin_first;
    }
    if (library.cygwin && contains(system, "CYGWIN")) return library.cygwin;
    return "";
}

// Fifty attempts.  A platform candidate that is kept is simply tried fifty times; every failed
// attempt leaves ERROR at 3 and says nothing.  An optional library's name that the loader
// certainly cannot find fails without asking dlopen, which would take long to say so.
char* locate(Library id) {
    const Search& library = SEARCHES[int(id)];
    const bool checked = !library.missing && wex_library_search_ready();
    std::string candidate = platform_candidate(library);
    for (int nr = 0; nr < WEX_NUMBERED_NAMES; ++nr) {
        if (renumbers(library.renumber, candidate)) candidate = library.stem + std::to_string(nr);
        if (checked && !wex_library_may_be_found(candidate.c_str())) {
            ERROR = 3;
            continue;
        }
        if (void* handle = dlopen(candidate.c_str(), RTLD_LAZY)) {
            wex_bind_probe(id, handle);
            return t4k_ring_return(candidate.c_str());
        }
        ERROR = 3;
    }
    if (library.missing) {
        std::printf("%s\n", library.missing);
        std::fflush(stdout);
        std::exit(0);
    }
    return t4k_ring_return(WEX_NOTFOUND);
}
}  // namespace

#define WEX_DEFINE_LOCATOR(id, locator, ...) \
    char* locator() {                        \
        T4K_FUNCTION(locator);               \
        return locate(Library::id);          \
    }
WEX_LIBRARIES(WEX_DEFINE_LOCATOR)
#undef WEX_DEFINE_LOCATOR

namespace {
// Each library's locator, and the name WEXLIB$ knows it by (null: none).
struct Locator {
    char* (*run)();
    const char* wexlib;
};
#define WEX_LOCATOR(id, locator, probe, functions, binding, wexlib, ...) {locator, wexlib},
constexpr Locator LOCATORS[] = {WEX_LIBRARIES(WEX_LOCATOR)};
#undef WEX_LOCATOR
}  // namespace

LibraryFiles wex_locate_libraries() {
    T4K_FUNCTION(wex_locate_libraries);
    LibraryFiles files{};
    for (int i = 0; i < WEX_LIBRARY_COUNT; ++i)
        if (WEX_GROUP_RULES[i].kind != GroupKind::opengl) files.file[i] = LOCATORS[i].run();
    return files;
}

char* wex_locate(Library library) { return LOCATORS[int(library)].run(); }

char* WEXLIB$(const char* name) {
    T4K_FUNCTION(WEXLIB$);
    for (const Locator& locator : LOCATORS)
        if (name && locator.wexlib && std::strcmp(locator.wexlib, name) == 0) return locator.run();
    return t4k_ring_return("Unknown");
}
}  // namespace wex
