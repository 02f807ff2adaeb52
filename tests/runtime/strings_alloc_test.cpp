// String expressions make no heap allocation once the pools have grown (counted by an interposed allocator).
#include <gtest/gtest.h>

#include <cstddef>

#include "runtime/runtime.h"

// The sanitizers bring their own allocator, which this program must not replace.
#if defined(__SANITIZE_ADDRESS__)
#define T4K_COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define T4K_COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef T4K_COUNT_ALLOCATIONS
#define T4K_COUNT_ALLOCATIONS 1
#endif

namespace {
long allocations = 0;
bool counting = false;
}  // namespace

#if T4K_COUNT_ALLOCATIONS
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);

void* malloc(size_t size) {
    allocations += counting;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    allocations += counting;
    return __libc_calloc(count, size);
}
void* realloc(void* block, size_t size) {
    allocations += counting;
    return __libc_realloc(block, size);
}
}
#endif

namespace {

constexpr const char* unit = "alloc.vmt";

// One round of typical expressions: numbers to text, joining, cutting, trimming, searching,
// assignment into variables, and a ring result.
void expressions(int i, char*& label, char*& word) {
    T4K_FUNCTION(expressions);
    T4K_ASSIGN(label, __t4k__concat("<b>", __t4k__str(i % 500), "</b>", nullptr));
    T4K_ASSIGN(word, __t4k__mid(1, unit, "  robot flower ladybug  ", 3 + i % 7, 6));
    T4K_ASSIGN(word, __t4k__chop(__t4k__concat(word, " \t", nullptr), nullptr, 0));
    T4K_ASSIGN(label, __t4k__concat(__t4k__left(1, unit, label, 3), __t4k__right(1, unit, word, 2), nullptr));
    if (__t4k__instr(1, unit, label, "o", 0) > 0) T4K_ASSIGN(word, __t4k__str(i * 0.5));
    t4k_ring_return(label);
}

TEST(Allocation, StringExpressionsAllocateNothingOnceThePoolsHaveGrown) {
    if (!T4K_COUNT_ALLOCATIONS) GTEST_SKIP() << "allocator replaced by the sanitizers";
    T4K_FUNCTION(allocation_test);
    char* label = nullptr;
    char* word = nullptr;
    for (int i = 0; i < 2000; ++i) expressions(i, label, word);
    counting = true;
    for (int i = 0; i < 10000; ++i) expressions(i, label, word);
    counting = false;
    EXPECT_EQ(allocations, 0);
    // The counter does see allocations: a new variable must allocate its block.
    counting = true;
    char* fresh = nullptr;
    T4K_ASSIGN(fresh, "x");
    counting = false;
    EXPECT_EQ(allocations, 1);
    __t4k__free(fresh);
    __t4k__free(label);
    __t4k__free(word);
}

}  // namespace
