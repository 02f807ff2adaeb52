// strings.cpp: runtime strings, the temporary-buffer pools, the return ring, copy/assign/compare.
#include "runtime/strings.h"

#include <strings.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
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

void* grow(void* block, size_t size) {
    void* p = std::realloc(block, size);
    if (p == nullptr) t4k_cannot_claim();
    return p;
}

void* zeroed(size_t size) {
    void* p = std::calloc(1, size);
    if (p == nullptr) t4k_cannot_claim();
    return p;
}

// Widen the address range so that it covers a block made or moved to `block`.
void note_block(char* block) {
    uintptr_t b = reinterpret_cast<uintptr_t>(block);
    if (b < reinterpret_cast<uintptr_t>(__t4k__ptrlow)) __t4k__ptrlow = reinterpret_cast<char*>(b - 1);
    if (b > reinterpret_cast<uintptr_t>(__t4k__ptrhgh)) __t4k__ptrhgh = reinterpret_cast<char*>(b + 10);
}

bool is_odd(const void* p) { return reinterpret_cast<uintptr_t>(p) & 1; }

/* Blocks grow to twice the asked size plus the terminator, so that texts of similar length
   keep reusing the same block.  Beyond a gigabyte twice the size no longer fits the header's
   capacity field, and the capacity stops at the largest it can hold. */
size_t doubled_capacity(size_t size) {
    if (size > T4K_MAX_LENGTH) t4k_cannot_claim();
    return std::min<size_t>(2 * size + 1, INT32_MAX);
}

size_t doubled_block(size_t size) { return doubled_capacity(size) + T4K_HEADER; }

char* header_block(char* block, size_t size, uint8_t flags) {
    note_block(block);
    auto* head = reinterpret_cast<t4k_header*>(block);
    head->capacity = static_cast<int32_t>(doubled_capacity(size));
    head->flags = flags;
    return block + T4K_HEADER;
}

/* Pool slots.  A slot always holds a block the pool made (or a variable's block taken in
   exchange, which is a runtime string too), so its capacity is read from the header. */
size_t slot_capacity(const char* slot) {
    return slot ? static_cast<uint32_t>(t4k_head(const_cast<char*>(slot))->capacity) : 0;
}

// The capacity a slot has after it is asked to hold `size` bytes.
size_t grown_capacity(size_t capacity, size_t size) { return capacity > size ? capacity : doubled_capacity(size); }

// Give slot `index` a block of `capacity`, keeping the text (an empty slot gets a zeroed block).
void resize_slot(int index, size_t capacity) {
    char* slot = __t4k__sbuffer[index];
    void* block = slot ? grow(slot - T4K_HEADER, capacity + T4K_HEADER) : zeroed(capacity + T4K_HEADER);
    note_block(static_cast<char*>(block));
    auto* head = static_cast<t4k_header*>(block);
    head->capacity = static_cast<int32_t>(capacity);
    head->flags = T4K_TEMPORARY;
    __t4k__sbuffer[index] = static_cast<char*>(block) + T4K_HEADER;
}

// The slot after the last one used, in turn, wrapping after the last.
int advance_slot() {
    int index = __t4k__sbuffer_ptr + 1;
    if (index >= __t4k__sbuffer_size) index = 0;
    __t4k__sbuffer_ptr = index;
    return index;
}

// Make slot `index` able to hold `size` bytes.
[[gnu::always_inline]] inline void reserve_slot(int index, size_t size) {
    const size_t capacity = slot_capacity(__t4k__sbuffer[index]);
    const size_t reached = grown_capacity(capacity, size);
    if (reached != capacity) resize_slot(index, reached);
}

// The next slot, able to hold `size` bytes.  Its first `size` bytes are not zeroed: the
// callers write every one of them.
[[gnu::always_inline]] inline char* next_slot(size_t size) {
    const int index = advance_slot();
    reserve_slot(index, size);
    return __t4k__sbuffer[index];
}

/* Most texts are a few bytes long, and a call to memcpy costs more than copying them: up to
   32 bytes go as two overlapping words (or a byte or three), longer texts through memcpy. */
template <size_t width>
void copy_ends(char* out, const char* in, size_t n) {
    char first[width], last[width];
    std::memcpy(first, in, width);
    std::memcpy(last, in + n - width, width);
    std::memcpy(out, first, width);
    std::memcpy(out + n - width, last, width);
}

[[gnu::always_inline]] inline void copy_text(char* out, const char* in, size_t n) {
    if (n < 4) {
        if (n == 0) return;
        out[0] = in[0];
        out[n / 2] = in[n / 2];
        out[n - 1] = in[n - 1];
    } else if (n < 8) {
        copy_ends<4>(out, in, n);
    } else if (n < 16) {
        copy_ends<8>(out, in, n);
    } else if (n <= 32) {
        copy_ends<16>(out, in, n);
    } else {
        std::memcpy(out, in, n);
    }
}

char* set_length(char* text, size_t length) {
    text[length] = '\0';
    t4k_head(text)->length = static_cast<int32_t>(length);
    return text;
}

int sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

/* A length the header cannot hold, or a block the heap cannot give, leaves nothing sound to
   write into: the program stops through the ABORT trap (exit status 6, the number of "Unable
   to claim memory.") rather than cut the length or write through a null block. */
void t4k_cannot_claim() { std::abort(); }

void __t4k__free(void* p) {
    if (p == nullptr) return;
    std::free(is_odd(p) ? static_cast<char*>(p) - T4K_HEADER : p);
}

void __sbuf_need_realloc(int index, unsigned size) { reserve_slot(index, size); }

int __sbuf_malloc_handle(unsigned size) {
    char* text = next_slot(size);
    std::memset(text, 0, size);
    t4k_head(text)->length = 0;
    return __t4k__sbuffer_ptr;
}

char* t4k_next_slot(size_t size) { return next_slot(size); }

char* t4k_temporary_copy(const char* text, size_t len) {
    if (len > T4K_MAX_LENGTH) t4k_cannot_claim();
    char* out = next_slot(len);
    copy_text(out, text, len);
    return set_length(out, len);
}

/* Joining grows the temporary part by part: first to the first text's length, then to the
   running length plus each further text's length plus 1.  All texts are measured first, and
   the capacity that growth would reach is worked out before one resize, so the slot ends as
   part-by-part growth leaves it, and a total too long for the header is refused before
   anything is written. */
namespace {

// The capacity that growing from `capacity` for each text in turn reaches; `total` is the
// joined length.
size_t joined_capacity(size_t capacity, const size_t* lengths, int count, size_t& total) {
    if (lengths[0] > T4K_MAX_LENGTH) t4k_cannot_claim();
    size_t reached = grown_capacity(capacity, lengths[0]);
    total = lengths[0];
    for (int i = 1; i < count; ++i) {
        if (lengths[i] >= T4K_MAX_LENGTH - total) t4k_cannot_claim();
        total += lengths[i];
        reached = grown_capacity(reached, total + 1);
    }
    return reached;
}

// The next slot, grown to `reached` (when it is not already of that capacity).
char* next_slot_of_capacity(size_t reached, size_t capacity, int index) {
    if (reached != capacity) resize_slot(index, reached);
    return __t4k__sbuffer[index];
}

size_t copy_parts(char* out, size_t at, const char* const* texts, const size_t* lengths, int count) {
    for (int i = 0; i < count; ++i) {
        copy_text(out + at, texts[i], lengths[i]);
        at += lengths[i];
    }
    return at;
}

}  // namespace

char* t4k_temporary_join_measured(const char* const* texts, const size_t* lengths, int count) {
    const int index = advance_slot();
    const size_t capacity = slot_capacity(__t4k__sbuffer[index]);
    size_t total;
    const size_t reached = joined_capacity(capacity, lengths, count, total);
    char* out = next_slot_of_capacity(reached, capacity, index);
    copy_parts(out, 0, texts, lengths, count);
    return set_length(out, total);
}

/* From an argument list the first few texts are kept with their lengths, so that plain texts
   are measured once; the rest are read again through the second list. */
char* t4k_temporary_join(const char* first, va_list rest, va_list again) {
    constexpr int kept = 8;
    const char* texts[kept + 1] = {first};
    size_t lengths[kept + 1] = {t4k_length(first)};

    if (lengths[0] > T4K_MAX_LENGTH) t4k_cannot_claim();
    const int index = advance_slot();
    const size_t capacity = slot_capacity(__t4k__sbuffer[index]);
    size_t reached = grown_capacity(capacity, lengths[0]);
    size_t total = lengths[0];
    int parts = 1;
    for (const char* part; (part = va_arg(rest, const char*)) != nullptr; ++parts) {
        const size_t length = t4k_length(part);
        if (length >= T4K_MAX_LENGTH - total) t4k_cannot_claim();
        if (parts <= kept) texts[parts] = part, lengths[parts] = length;
        total += length;
        reached = grown_capacity(reached, total + 1);
    }
    char* out = next_slot_of_capacity(reached, capacity, index);
    size_t at = copy_parts(out, 0, texts, lengths, std::min(parts, kept + 1));
    for (int i = 1; parts > kept + 1 && i < parts; ++i) {
        const char* part = va_arg(again, const char*);
        if (i <= kept) continue;  // copied above
        const size_t length = t4k_length(part);
        copy_text(out + at, part, length);
        at += length;
    }
    return set_length(out, total);
}

char* __rbuf_realloc(char* text, unsigned size) {
    if (static_cast<unsigned>(__t4k__rbuffer_length[__t4k__rbuffer_ptr]) >= size) return text;
    if (size > INT_MAX) t4k_cannot_claim();
    const size_t slot_size = std::min<size_t>(4 * size_t{size}, INT_MAX);
    __t4k__rbuffer_length[__t4k__rbuffer_ptr] = static_cast<int>(slot_size);
    return static_cast<char*>(grow(text, slot_size));
}

char* t4k_ring_return(const char* text) {
    if (text == nullptr) text = "";
    size_t len = std::strlen(text);
    if (len >= INT_MAX) t4k_cannot_claim();
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
    size_t size = t4k_length(y);
    if (size > T4K_MAX_LENGTH) t4k_cannot_claim();
    x = __t4k_str_realloc(x, static_cast<unsigned>(size));
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
        char* exchanged = is_odd(old) ? old : __t4k__topstring(old);
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
    if (n > T4K_MAX_LENGTH) t4k_cannot_claim();
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

// No unsigned count is right for a text of 4 GiB or more, so none is given.
unsigned __t4k__len(const char* p) {
    size_t length = t4k_length(p);
    if (length > UINT_MAX) t4k_cannot_claim();
    return static_cast<unsigned>(length);
}

unsigned __t4k__buf(const char* p) {
    if (p == nullptr) return 0;
    if (t4k_is_runtime(p)) return static_cast<unsigned>(t4k_head(const_cast<char*>(p))->capacity);
    size_t length = std::strlen(p);
    if (length >= UINT_MAX) t4k_cannot_claim();
    return static_cast<unsigned>(length + 1);
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

