// runtime.h: the runtime support library, one include for programs and the toolkit.
#pragma once
// Said at once, rather than as the first C++17 construct below fails.
#if __cplusplus < 201703L
#error "the runtime and the WEX toolkit need C++17 or newer: compile with -std=c++17 (pkg-config --cflags wex gives it)"
#endif
#include "strings.h"
#include "text.h"
#include "errors.h"
#include "startup.h"
#include "hash.h"
#include "assoc.h"
