// strings.h: runtime strings (9-byte header), temporary-buffer pools, the return ring.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/errors.h"

// A runtime string points 9 bytes into a heap block: [length:4][capacity:4][flags:1][text...].
// Its address is odd; plain heap texts are even.  See strings.cpp.
struct t4k_header {
    int32_t length;
    int32_t capacity;
    uint8_t flags;
} __attribute__((packed));
static_assert(sizeof(t4k_header) == 9, "runtime string header is 9 bytes");

constexpr int T4K_HEADER = 9;
// The longest text a runtime string can hold: its length, and its capacity for the text and
// the terminator, are signed 32-bit header fields.
constexpr size_t T4K_MAX_LENGTH = INT32_MAX - 1;
constexpr uint8_t T4K_TEMPORARY = 0x01;  // flags bit 0: owned by a pool slot
constexpr uint8_t T4K_MEASURE = 0x80;    // flags bit 7: length must be measured

extern char EmptyString[1];

extern char *__t4k__ptrlow, *__t4k__ptrhgh;

constexpr int __t4k__sbuffer_size = 74;
extern char** __t4k__sbuffer;
extern int __t4k__sbuffer_ptr;
extern char* __t4k__sbuffer_main[__t4k__sbuffer_size];

constexpr int T4K_RING_SIZE = 32;
extern char* __t4k__rbuffer[T4K_RING_SIZE];
extern int __t4k__rbuffer_length[T4K_RING_SIZE];
extern int __t4k__rbuffer_ptr;

int __sbuf_malloc_handle(unsigned size);
void __sbuf_need_realloc(int index, unsigned size);
char* __rbuf_realloc(char* text, unsigned size);
char* __t4k_str_realloc(char* p, unsigned size);
char* __t4k_Copy_String(char* x, const char* y);
char* __t4k_Assign_String(char** x, const char* y);
char* __t4k__topstring(char* p);
// x = a copy of `text` as __t4k_Copy_String makes it, but with the text measured up to its
// terminator and never by a header: the one safe way to take a text that may point into the
// middle of another (the tail after a keyword, whatever pointer a program hands over).
char* t4k_copy_tail(char* x, const char* text);
unsigned __t4k__len(const char* p);
unsigned __t4k__buf(const char* p);
char* __t4k__strdup(const char* s);
char* __t4k__strndup(const char* s, size_t n);
int __t4k__strcmp(const char* a, const char* b);
int __t4k__strcasecmp(const char* a, const char* b);

// Release a string by the freeing rule: odd -> free(p - 9), even -> free(p), null -> nothing.
void __t4k__free(void* p);

// Header access for a runtime string (p must be odd and point 9 bytes into its block).
inline t4k_header* t4k_head(char* p) { return reinterpret_cast<t4k_header*>(p - T4K_HEADER); }
// The test is only sound for the start of a text: an odd pointer into the middle of any heap
// block (a runtime string's tail, a plain copy's tail) passes it too, and its "header" is then
// text or another block's bytes.  A pointer that may not start its text must never reach this
// test, nor any call that makes it (__t4k__len, __t4k__buf, the copies, the string functions):
// take such a text with t4k_copy_tail.
inline bool t4k_is_runtime(const char* p) {
    return (reinterpret_cast<uintptr_t>(p) & 1) && p > __t4k__ptrlow && p < __t4k__ptrhgh;
}

// The length of a text as the runtime counts it (the stored length of a runtime string,
// else measured), never cut to 32 bits.
inline size_t t4k_length(const char* p) {
    if (p == nullptr) return 0;
    if (t4k_is_runtime(p)) {
        const t4k_header* head = t4k_head(const_cast<char*>(p));
        if (!(head->flags & T4K_MEASURE)) return static_cast<uint32_t>(head->length);
    }
    return std::strlen(p);
}
// A text too long for any block the runtime can describe: stop, as for a failed allocation.
[[noreturn]] void t4k_cannot_claim();

// The next slot of the current pool, able to hold `size` bytes; its text is left as it was,
// for a caller that writes all of it.
char* t4k_next_slot(size_t size);
// A fresh temporary of `size` zeroed bytes in the current pool (the zeroing inline, for the
// fixed sizes callers ask); returns the string.
inline char* t4k_temporary(unsigned size) {
    char* text = t4k_next_slot(size);
    std::memset(text, 0, size_t{size} + 1);
    t4k_head(text)->length = 0;
    return text;
}
// Copy `len` bytes of `text` into a new temporary and set its length.
char* t4k_temporary_copy(const char* text, size_t len);
// The texts of `first` and `rest` (ended by a null) joined in a new temporary; `again` is a
// second list of the same texts.
char* t4k_temporary_join(const char* first, va_list rest, va_list again);
// The same join of `count` texts already measured (`lengths`); a null first text is empty.
char* t4k_temporary_join_measured(const char* const* texts, const size_t* lengths, int count);
// The length of a text passed to a join.  A literal's length is known where it is written
// (a text at a fixed address is never a runtime string, whose blocks come from the heap).
inline size_t t4k_part_length(const char* p) {
    if (__builtin_constant_p(p != nullptr) && p != nullptr && __builtin_constant_p(std::strlen(p))) return std::strlen(p);
    return t4k_length(p);
}
// Return a text through the 32-slot ring (null counts as empty); never null.
char* t4k_ring_return(const char* text);
// The ring slot most recently returned (empty text before the first).
const char* t4k_ring_head();

// Entering and leaving a function: the caller's pool, pool index and catch flag are saved,
// the function's own pool becomes current, the catch flag is cleared; all are put back on
// every return.  Every toolkit and game function opens with T4K_FUNCTION(its_name);
namespace t4k {
struct Frame {
    char** pool;
    int index;
    int catch_set;
    explicit Frame(char** own_pool) : pool(__t4k__sbuffer), index(__t4k__sbuffer_ptr), catch_set(__t4k__catch_set) {
        __t4k__sbuffer = own_pool;
        __t4k__catch_set = 0;
    }
    ~Frame() {
        __t4k__sbuffer = pool;
        __t4k__sbuffer_ptr = index;
        __t4k__catch_set = catch_set;
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
};
}  // namespace t4k

#define T4K_FUNCTION(name)                                              \
    static char* __t4k__sbuffer_##name[__t4k__sbuffer_size];            \
    t4k::Frame __t4k__frame(__t4k__sbuffer_##name)

// x = value, by the take-over rule (x must be a string variable).
#define T4K_ASSIGN(x, value) ((x) = __t4k_Assign_String(&(x), (value)))
