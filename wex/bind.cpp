// bind.cpp: binding each library's group of functions, and the locators' probes, by name.
#include <dlfcn.h>
#include <link.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <array>
#include <iterator>
#include "runtime/runtime.h"
#include "wex/bindings.h"
#include "wex/library.h"
#include "wex/properties.h"

namespace wex {
namespace {
// One function pointer and the symbol it is bound to.
struct Binding {
    void** pointer;
    const char* name;
};
// Each library's group: its functions, then its probe, which the locator binds.
#define WEX_BINDING(name) {reinterpret_cast<void**>(&name), #name},
#define WEX_GROUP_BINDINGS(id, locator, probe, functions, ...) \
    const Binding id##_bindings[] = {functions(WEX_BINDING) WEX_BINDING(probe)};
WEX_LIBRARIES(WEX_GROUP_BINDINGS)
#undef WEX_GROUP_BINDINGS
#undef WEX_BINDING

/* One group: its rule, its bindings and the handle of its file, opened on the group's first
 * binding and kept for the life of the process.  An optional group binds its probe again with
 * its functions: a library that lacks any of them is treated as absent, probe included. */
struct Group {
    const GroupRule& rule;
    const Binding* bindings;  // the functions, then the probe
    size_t functions;
    void* handle;
    bool bound;
    const Binding& probe() const { return bindings[functions]; }
};
#define WEX_GROUP(id, ...) \
    Group{wex_group_rule(Library::id), id##_bindings, std::size(id##_bindings) - 1, nullptr, false},
Group groups[] = {WEX_LIBRARIES(WEX_GROUP)};
#undef WEX_GROUP

Group& group_of(Library library) { return groups[int(library)]; }

// The libraries whose groups bind, in binding order: the orders of the rules count 1, 2, 3 ...
constexpr int GROUP_COUNT = [] {
    int count = 0;
    for (const LibraryEntry& library : WEX_LIBRARY_ENTRIES) count += library.binding.order > 0;
    return count;
}();
constexpr std::array<Library, GROUP_COUNT> BINDING_ORDER = [] {
    std::array<Library, GROUP_COUNT> order{};
    for (int i = 0; i < WEX_LIBRARY_COUNT; ++i)
        if (const int n = WEX_LIBRARY_ENTRIES[i].binding.order; n > 0) order[n - 1] = Library(i);
    return order;
}();
static_assert([] {
    for (int n = 1; n <= GROUP_COUNT; ++n)
        if (wex_group_rule(BINDING_ORDER[n - 1]).order != n) return false;
    return true;
}(), "each group has its own place in the binding order, and the places count from 1 without gaps");

// A function that a core library lacks is a runtime error naming the symbol and the file the
// loader opened, which is what a user can look at (there is no source line to name).
void missing(const char* symbol, const char* file) {
    link_map* map = nullptr;
    void* handle = dlopen(file, RTLD_LAZY | RTLD_NOLOAD);
    if (handle && dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name)
        file = map->l_name;
    __t4k__raise_function(symbol, 0, file, 4);
}

// The core libraries' probes, which their locators bound from the files they found.
void check_core_probes(const LibraryFiles& files) {
    for (int i = 0; i < WEX_LIBRARY_COUNT; ++i)
        if (groups[i].rule.kind == GroupKind::core && !*groups[i].probe().pointer)
            missing(groups[i].probe().name, files.file[i]);
}

void* find_symbol(void* handle, const Binding& binding) { return *binding.pointer = dlsym(handle, binding.name); }

void bind_core(Group& group, const char* file) {
    if (!group.handle) group.handle = wex_open_group(file);
    for (size_t i = 0; i < group.functions; ++i)
        if (!find_symbol(group.handle, group.bindings[i])) missing(group.bindings[i].name, file);
    group.bound = true;
}

void unbind(Group& group) {
    for (size_t i = 0; i <= group.functions; ++i) *group.bindings[i].pointer = nullptr;
    group.bound = false;
}

// An optional group binds whole or not at all; false when its library is absent or lacks one.
bool bind_optional(Group& group, const char* file) {
    if (std::strcmp(file, WEX_NOTFOUND) == 0) {
        unbind(group);
        return false;
    }
    if (!group.handle) group.handle = wex_open_group(file);
    for (size_t i = 0; i <= group.functions; ++i) {
        if (!find_symbol(group.handle, group.bindings[i])) {
            unbind(group);
            return false;
        }
    }
    group.bound = true;
    return true;
}

void set_gl_library(const char* name) {
    wex_gui_properties.gl_library = __t4k_Copy_String(wex_gui_properties.gl_library, name);
}

bool gl_widgets_bound() {
    for (const Group& group : groups)
        if (group.rule.gl_library && group.bound) return true;
    return false;
}

// The OpenGL group, needed only with a GL widget library: without all of its functions no GL
// canvas can draw, and the GL widget libraries count as absent too.
void bind_opengl(Library library) {
    if (!gl_widgets_bound()) return;
    const char* gl = wex_locate(library);
    ERROR = 0;  // like the first locators' failed candidates, OpenGL's must not outlive INIT
    if (bind_optional(group_of(library), gl)) return;
    for (Group& group : groups)
        if (group.rule.gl_library) unbind(group);
    set_gl_library("NONE");
}

void bind(Library library, const LibraryFiles& files) {
    Group& group = group_of(library);
    switch (group.rule.kind) {
    case GroupKind::core: bind_core(group, files[library]); break;
    case GroupKind::optional:
        if (bind_optional(group, files[library]) && group.rule.gl_library) set_gl_library(group.rule.gl_library);
        break;
    case GroupKind::opengl: bind_opengl(library); break;
    }
}
}  // namespace

void* wex_open_group(const char* file) {
    T4K_FUNCTION(wex_open_group);
    void* handle = dlopen(file, RTLD_LAZY);
    if (!handle) {
        std::printf("%s\n", ERR$(3));
        std::fflush(stdout);
        std::exit(0);
    }
    return handle;
}

void wex_bind_probe(Library library, void* handle) { find_symbol(handle, group_of(library).probe()); }

void wex_bind_libraries(const LibraryFiles& files) {
    T4K_FUNCTION(wex_bind_libraries);
    check_core_probes(files);
    for (Library library : BINDING_ORDER) bind(library, files);
}

bool wex_group_bound(Library library) { return group_of(library).bound; }

bool wex_gl_usable(bool glarea) {
    return wex_group_bound(Library::gl) && wex_group_bound(glarea ? Library::glarea : Library::glext);
}
}  // namespace wex
