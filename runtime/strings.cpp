// strings.cpp: runtime strings, the temporary-buffer pools, the return ring, copy/assign/compare.
#include "runtime/strings.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "runtime/errors.h"

alignas(2) char EmptyString[1];

char* __t4k__ptrlow = reinterpret_cast<char*>(UINTPTR_MAX);
char* __t4k__ptrhgh = nullptr;

char* __t4k__sbuffer_main[__t4k__sbuffer_size];
char** __t4k__sbuffer = __t4k__sbuffer_main;
int __t4k__sbuffer_ptr = -1;

char* __t4k__rbuffer[T4K_RING_SIZE];
int __t4k__rbuffer_length[T4K_RING_SIZE];
int __t4k__rbuffer_ptr = 0;

namespace {

// The allocator is not expected to fail; if it does, stop through the ABORT trap rather
// than write through a null block.
void* grow(void* block, size_t size) {
    void* p = std::realloc(block, size);
    if (p == nullptr) std::abort();
    return p;
}

void* zeroed(size_t size) {
    void* p = std::calloc(1, size);
    if (p == nullptr) std::abort();
    return p;
}

// Widen the address range so that it covers a block made or moved to `block`.
void note_block(char* block) {
    uintptr_t b = reinterpret_cast<uintptr_t>(block);
    if (b < reinterpret_cast<uintptr_t>(__t4k__ptrlow)) __t4k__ptrlow = reinterpret_cast<char*>(b - 1);
    if (b > reinterpret_cast<uintptr_t>(__t4k__ptrhgh)) __t4k__ptrhgh = reinterpret_cast<char*>(b + 10);
}

bool is_odd(const void* p) { return reinterpret_cast<uintptr_t>(p) & 1; }

// Blocks grow to twice the asked size plus the header and the terminator, so that texts
// of similar length keep reusing the same block.
size_t doubled_block(unsigned size) { return 2 * size_t{size} + T4K_HEADER + 1; }

char* header_block(char* block, unsigned size, uint8_t flags) {
    note_block(block);
    auto* head = reinterpret_cast<t4k_header*>(block);
    head->capacity = static_cast<int32_t>(2 * size_t{size} + 1);
    head->flags = flags;
    return block + T4K_HEADER;
}

int sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

void __t4k__free(void* p) {
    if (p == nullptr) return;
    std::free(is_odd(p) ? static_cast<char*>(p) - T4K_HEADER : p);
}

void __sbuf_need_realloc(int index, unsigned size) {
    char* slot = __t4k__sbuffer[index];
    if (slot != nullptr && __t4k__buf(slot) > size) return;
    char* block = slot ? static_cast<char*>(grow(slot - T4K_HEADER, doubled_block(size)))
                       : static_cast<char*>(zeroed(doubled_block(size)));
    __t4k__sbuffer[index] = header_block(block, size, T4K_TEMPORARY);
}

int __sbuf_malloc_handle(unsigned size) {
    int index = __t4k__sbuffer_ptr + 1;
    if (index >= __t4k__sbuffer_size) index = 0;
    __t4k__sbuffer_ptr = index;
    __sbuf_need_realloc(index, size);
    char* text = __t4k__sbuffer[index];
    std::memset(text, 0, size);
    t4k_head(text)->length = 0;
    return index;
}

char* t4k_temporary(unsigned size) {
    char* text = __t4k__sbuffer[__sbuf_malloc_handle(size)];
    text[size] = '\0';
    return text;
}

char* t4k_temporary_copy(const char* text, size_t len) {
    char* out = t4k_temporary(static_cast<unsigned>(len));
    if (len) std::memcpy(out, text, len);
    t4k_head(out)->length = static_cast<int32_t>(len);
    return out;
}

char* __rbuf_realloc(char* text, unsigned size) {
    if (static_cast<unsigned>(__t4k__rbuffer_length[__t4k__rbuffer_ptr]) >= size) return text;
    __t4k__rbuffer_length[__t4k__rbuffer_ptr] = static_cast<int>(4 * size);
    return static_cast<char*>(grow(text, 4 * size_t{size}));
}

char* t4k_ring_return(const char* text) {
    if (text == nullptr) text = "";
    size_t len = std::strlen(text);
    __t4k__rbuffer_ptr = (__t4k__rbuffer_ptr + 1) % T4K_RING_SIZE;
    char*& slot = __t4k__rbuffer[__t4k__rbuffer_ptr];
    slot = __rbuf_realloc(slot, static_cast<unsigned>(len + 1));
    std::memmove(slot, text, len + 1);
    return slot;
}

const char* t4k_ring_head() {
    const char* slot = __t4k__rbuffer[__t4k__rbuffer_ptr];
    return slot ? slot : "";
}

char* __t4k_str_realloc(char* p, unsigned size) {
    if (p != nullptr && __t4k__buf(p) > size) return p;
    char* block = p == nullptr ? nullptr : is_odd(p) ? p - T4K_HEADER : p;
    block = static_cast<char*>(grow(block, doubled_block(size)));
    return header_block(block, size, 0);
}

char* __t4k_Copy_String(char* x, const char* y) {
    if (y == nullptr) {
        __t4k__free(x);
        return nullptr;
    }
    if (x == y) return x;
    unsigned size = __t4k__len(y);
    x = __t4k_str_realloc(x, size);
    std::memmove(x, y, size);
    if (is_odd(x)) t4k_head(x)->length = static_cast<int32_t>(size);
    x[size] = '\0';
    return x;
}

// A tail inside x itself is safe: it is shorter than x's capacity, so x is not moved.
char* t4k_copy_tail(char* x, const char* text) {
    if (text == nullptr) {
        __t4k__free(x);
        return nullptr;
    }
    size_t size = std::strlen(text);
    x = __t4k_str_realloc(x, static_cast<unsigned>(size));
    std::memmove(x, text, size);
    if (is_odd(x)) t4k_head(x)->length = static_cast<int32_t>(size);
    x[size] = '\0';
    return x;
}

/* Assigning the temporary that the last string function has just made swaps blocks
   instead of copying: the variable takes the slot's block and the slot gets the
   variable's old block to reuse.  The swap is only sound for the temporary that sits in
   the current slot; any other temporary (one made in another function's pool, or an
   older one) is copied, so that no pool keeps a block that a variable now owns. */
char* __t4k_Assign_String(char** x, const char* y) {
    bool in_current_slot = __t4k__sbuffer_ptr >= 0 && __t4k__sbuffer[__t4k__sbuffer_ptr] == y;
    if (y != nullptr && *x != nullptr && in_current_slot && t4k_is_runtime(y) &&
        (t4k_head(const_cast<char*>(y))->flags & T4K_TEMPORARY)) {
        char* old = *x;
        *x = const_cast<char*>(y);
        t4k_head(*x)->flags &= static_cast<uint8_t>(~T4K_TEMPORARY);
        char* exchanged = __t4k__topstring(old);
        t4k_head(exchanged)->flags |= T4K_TEMPORARY;
        __t4k__sbuffer[__t4k__sbuffer_ptr] = exchanged;
        return *x;
    }
    *x = __t4k_Copy_String(*x, y);
    return *x;
}

char* __t4k__topstring(char* p) {
    if (is_odd(p)) return p;
    size_t n = p ? std::strlen(p) : 0;
    char* block = static_cast<char*>(grow(p, n + T4K_HEADER + 1));
    std::memmove(block + T4K_HEADER, block, n);
    block[T4K_HEADER + n] = '\0';
    note_block(block);
    auto* head = reinterpret_cast<t4k_header*>(block);
    head->length = static_cast<int32_t>(n);
    head->capacity = static_cast<int32_t>(n + 1);
    head->flags = 0;
    return block + T4K_HEADER;
}

unsigned __t4k__len(const char* p) {
    if (p == nullptr) return 0;
    if (t4k_is_runtime(p)) {
        const t4k_header* head = t4k_head(const_cast<char*>(p));
        if (!(head->flags & T4K_MEASURE)) return static_cast<unsigned>(head->length);
    }
    return static_cast<unsigned>(std::strlen(p));
}

unsigned __t4k__buf(const char* p) {
    if (p == nullptr) return 0;
    if (t4k_is_runtime(p)) return static_cast<unsigned>(t4k_head(const_cast<char*>(p))->capacity);
    return static_cast<unsigned>(std::strlen(p) + 1);
}

char* __t4k__strdup(const char* s) {
    if (s == nullptr) return nullptr;
    char* copy = ::strdup(s);
    if (copy == nullptr) std::abort();
    return copy;
}

char* __t4k__strndup(const char* s, size_t n) {
    if (s == nullptr || n == SIZE_MAX) return nullptr;
    char* copy = static_cast<char*>(std::calloc(1, n + 1));
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, s, strnlen(s, n));
    return copy;
}

int __t4k__strcmp(const char* a, const char* b) {
    return sign(std::strcmp(a ? a : "", b ? b : ""));
}

int __t4k__strcasecmp(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return (a != nullptr) - (b != nullptr);
    return sign(::strcasecmp(a, b));
}

namespace t4k {

Frame::Frame(char** own_pool) : pool(__t4k__sbuffer), index(__t4k__sbuffer_ptr), catch_set(__t4k__catch_set) {
    __t4k__sbuffer = own_pool;
    __t4k__catch_set = 0;
}

Frame::~Frame() {
    __t4k__sbuffer = pool;
    __t4k__sbuffer_ptr = index;
    __t4k__catch_set = catch_set;
}

}  // namespace t4k
