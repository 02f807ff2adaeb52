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
std::string platform_candidate(const LibraryEntry& library) {
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
    const LibraryEntry& library = wex_library_entry(id);
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
// Each library's locator.
using Locator = char* (*)();
#define WEX_LOCATOR(id, locator, ...) locator,
constexpr Locator LOCATORS[] = {WEX_LIBRARIES(WEX_LOCATOR)};
#undef WEX_LOCATOR
}  // namespace

LibraryFiles wex_locate_libraries() {
    T4K_FUNCTION(wex_locate_libraries);
    LibraryFiles files{};
    for (int i = 0; i < WEX_LIBRARY_COUNT; ++i)
        if (WEX_LIBRARY_ENTRIES[i].binding.kind != GroupKind::opengl) files.file[i] = LOCATORS[i]();
    return files;
}

char* wex_locate(Library library) { return LOCATORS[int(library)](); }

char* WEXLIB$(const char* name) {
    T4K_FUNCTION(WEXLIB$);
    for (int i = 0; i < WEX_LIBRARY_COUNT; ++i) {
        const char* wexlib = WEX_LIBRARY_ENTRIES[i].wexlib;
        if (name && wexlib && std::strcmp(wexlib, name) == 0) return LOCATORS[i]();
    }
    return t4k_ring_return("Unknown");
}
}  // namespace wex
