// bindings.cpp: the bound function pointers themselves, null until INIT binds them.
#include "wex/bindings.h"

namespace wex {
#define WEX_DEFINE_POINTER(name) decltype(&::name) name = nullptr;
#define WEX_DEFINE_LIBRARY(id, locator, probe, functions, ...) WEX_DEFINE_POINTER(probe) functions(WEX_DEFINE_POINTER)
WEX_LIBRARIES(WEX_DEFINE_LIBRARY)
#undef WEX_DEFINE_LIBRARY
#undef WEX_DEFINE_POINTER
}  // namespace wex
