// assoc.h: typed associative arrays (integer, function pointer, string) over the hash table.
#pragma once
#include <cstdarg>
#include <cstdint>
#include "hash.h"

// Entries are 16 bytes: the key pointer and a pointer-wide value.
using t4k_fn = void (*)();
struct t4k_assoc_int { char* key; intptr_t value; };
struct t4k_assoc_fn { char* key; t4k_fn value; };
struct t4k_assoc_str { char* key; char* value; };
static_assert(sizeof(t4k_assoc_int) == 16 && sizeof(t4k_assoc_fn) == 16 && sizeof(t4k_assoc_str) == 16,
              "associative-array entries are 16 bytes");
constexpr int T4K_ASSOC_ITEM = 16;

using t4k_assoc_value_int = intptr_t;
using t4k_assoc_value_fn = t4k_fn;
using t4k_assoc_value_str = char*;

extern char* __t4k__option_delim;  // default key-list delimiter: one blank

// The shared engine; every array's six operations call these with its own table.
void* t4k_assoc_add(__t4k__hashtable_t* table, int create, const char* first, va_list rest);
void* t4k_assoc_find(__t4k__hashtable_t* table, const char* first, va_list rest);
void t4k_assoc_delete(__t4k__hashtable_t* table, bool string_values, const char* first, va_list rest);
char* t4k_assoc_obtain(__t4k__hashtable_t* table, const char* delim);
int t4k_assoc_compare_int(const void* a, const void* b);
int t4k_assoc_compare_fn(const void* a, const void* b);
int t4k_assoc_compare_str(const void* a, const void* b);

// T4K_ASSOC_DECLARE(kind, name) in a header and T4K_ASSOC_DEFINE(kind, name) in one source,
// kind being int, fn or str, give the array `name` its table __t4k__<name>_table_ and
//   __t4k__<name>__add_secure_(create, key parts..., nullptr) -> entry or null
//   _<name>_(key parts..., nullptr)                          -> value (0, null or "")
//   __t4k__<name>__delete_(key parts..., nullptr)
//   __t4k__<name>_obtain_(ignored, delimiter or null)       -> temporary key list
//   __t4k__<name>_sort(a, b), __t4k__<name>_sort_down(a, b)  -> comparators on entries
#define T4K_ASSOC_DECLARE(kind, name)                                                   \
    extern __t4k__hashtable_t __t4k__##name##_table_;                                   \
    t4k_assoc_##kind* __t4k__##name##__add_secure_(int create, const char* key, ...);   \
    t4k_assoc_value_##kind _##name##_(const char* key, ...);                            \
    void __t4k__##name##__delete_(const char* key, ...);                                \
    char* __t4k__##name##_obtain_(const void* ignored, const char* delim);              \
    int __t4k__##name##_sort(const void* a, const void* b);                             \
    int __t4k__##name##_sort_down(const void* a, const void* b)

// Reading a value: 0 or null for an absent entry; a string array reads absent and null as "".
inline intptr_t t4k_assoc_read(const t4k_assoc_int* entry) { return entry ? entry->value : 0; }
inline t4k_fn t4k_assoc_read(const t4k_assoc_fn* entry) { return entry ? entry->value : nullptr; }
char* t4k_assoc_read(const t4k_assoc_str* entry);

#define T4K_ASSOC_DEFINE(kind, name)                                                         \
    __t4k__hashtable_t __t4k__##name##_table_;                                               \
    t4k_assoc_##kind* __t4k__##name##__add_secure_(int create, const char* key, ...) {       \
        va_list rest;                                                                        \
        va_start(rest, key);                                                                 \
        void* entry = t4k_assoc_add(&__t4k__##name##_table_, create, key, rest);             \
        va_end(rest);                                                                        \
        return static_cast<t4k_assoc_##kind*>(entry);                                        \
    }                                                                                        \
    t4k_assoc_value_##kind _##name##_(const char* key, ...) {                                \
        va_list rest;                                                                        \
        va_start(rest, key);                                                                 \
        void* entry = t4k_assoc_find(&__t4k__##name##_table_, key, rest);                    \
        va_end(rest);                                                                        \
        return t4k_assoc_read(static_cast<const t4k_assoc_##kind*>(entry));                  \
    }                                                                                        \
    void __t4k__##name##__delete_(const char* key, ...) {                                    \
        va_list rest;                                                                        \
        va_start(rest, key);                                                                 \
        t4k_assoc_delete(&__t4k__##name##_table_, T4K_ASSOC_STRINGS_##kind, key, rest);      \
        va_end(rest);                                                                        \
    }                                                                                        \
    char* __t4k__##name##_obtain_(const void*, const char* delim) {                          \
        return t4k_assoc_obtain(&__t4k__##name##_table_, delim);                             \
    }                                                                                        \
    int __t4k__##name##_sort(const void* a, const void* b) {                                 \
        return t4k_assoc_compare_##kind(a, b);                                               \
    }                                                                                        \
    int __t4k__##name##_sort_down(const void* a, const void* b) {                            \
        return t4k_assoc_compare_##kind(b, a);                                               \
    }

// Whether an array's values are runtime strings that its entries own.
#define T4K_ASSOC_STRINGS_int false
#define T4K_ASSOC_STRINGS_fn false
#define T4K_ASSOC_STRINGS_str true
