// Runtime strings: block layout, growth, pools, the take-over exchange, the ring, comparisons.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>

#include <cstring>
#include <string>

#include "runtime/runtime.h"
#include "tests/runtime/child.h"

namespace {

bool odd(const void* p) { return reinterpret_cast<uintptr_t>(p) & 1; }
uint8_t flags_of(char* p) { return t4k_head(p)->flags; }
int capacity_of(char* p) { return t4k_head(p)->capacity; }
int length_of(char* p) { return t4k_head(p)->length; }

TEST(RuntimeString, CopyGrowsToTwiceTheSizeAndKeepsTheBlockWhileItFits) {
    char* x = nullptr;
    x = __t4k_Copy_String(x, "0123456789");
    ASSERT_TRUE(odd(x));
    EXPECT_TRUE(t4k_is_runtime(x));
    EXPECT_EQ(capacity_of(x), 21);
    EXPECT_EQ(length_of(x), 10);
    EXPECT_EQ(flags_of(x), 0);
    char* same = __t4k_Copy_String(x, "01234567890123456789");
    EXPECT_EQ(same, x);
    EXPECT_STREQ(same, "01234567890123456789");
    x = __t4k_Copy_String(same, "012345678901234567890");
    EXPECT_EQ(capacity_of(x), 43);
    EXPECT_EQ(__t4k__len(x), 21u);
    EXPECT_EQ(__t4k_Copy_String(x, nullptr), nullptr);  // releases the block
    EXPECT_EQ(__t4k_Copy_String(nullptr, nullptr), nullptr);
}

TEST(RuntimeString, CopyIntoAPlainHeapTextTurnsItIntoARuntimeString) {
    char* x = __t4k__strdup("abc");
    x = __t4k_Copy_String(x, "a longer text");
    EXPECT_TRUE(odd(x));
    EXPECT_STREQ(x, "a longer text");
    EXPECT_EQ(__t4k__len(x), 13u);
    __t4k__free(x);
}

TEST(RuntimeString, LengthIsReadFromTheHeaderUnlessMeasuringIsAsked) {
    char* x = __t4k_Copy_String(nullptr, "hello");
    t4k_head(x)->length = 2;  // the header is trusted, the text is not measured
    EXPECT_EQ(__t4k__len(x), 2u);
    t4k_head(x)->flags |= T4K_MEASURE;
    EXPECT_EQ(__t4k__len(x), 5u);
    EXPECT_EQ(__t4k__buf(x), 11u);
    __t4k__free(x);

    char plain[] = "plain text";
    EXPECT_EQ(__t4k__len(plain), 10u);
    EXPECT_EQ(__t4k__buf(plain), 11u);
    EXPECT_EQ(__t4k__len(nullptr), 0u);
    EXPECT_EQ(__t4k__buf(nullptr), 0u);
    EXPECT_FALSE(odd(EmptyString));
    EXPECT_FALSE(t4k_is_runtime(EmptyString));
}

TEST(RuntimeString, TopstringMovesAPlainTextBehindAHeader) {
    char* p = __t4k__topstring(__t4k__strdup("moved"));
    ASSERT_TRUE(odd(p));
    EXPECT_STREQ(p, "moved");
    EXPECT_EQ(length_of(p), 5);
    EXPECT_EQ(capacity_of(p), 6);
    EXPECT_EQ(flags_of(p), 0);
    EXPECT_EQ(__t4k__topstring(p), p);
    __t4k__free(p);

    char* empty = __t4k__topstring(nullptr);
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(__t4k__len(empty), 0u);
    __t4k__free(empty);
}

// Each test runs in its own function pool, as toolkit and game functions do.
TEST(Pool, SlotGrowsToTwiceTheSizeAndKeepsItsTextWhenResized) {
    T4K_FUNCTION(slot_growth);
    int index = __sbuf_malloc_handle(10);
    char* slot = __t4k__sbuffer[index];
    EXPECT_EQ(capacity_of(slot), 21);
    EXPECT_EQ(flags_of(slot), T4K_TEMPORARY);
    std::memcpy(slot, "keep", 5);
    __sbuf_need_realloc(index, 20);
    EXPECT_EQ(__t4k__sbuffer[index], slot);
    __sbuf_need_realloc(index, 21);
    EXPECT_EQ(capacity_of(__t4k__sbuffer[index]), 43);
    EXPECT_STREQ(__t4k__sbuffer[index], "keep");
}

TEST(Pool, ATemporaryLastsUntil74MoreAreMadeInTheSameFunction) {
    T4K_FUNCTION(pool_wrap);
    char* first = __t4k__str(1);
    for (int i = 0; i < __t4k__sbuffer_size - 1; ++i) __t4k__str(1000 + i);
    EXPECT_STREQ(first, "1");
    char* reused = __t4k__str(42);
    EXPECT_EQ(reused, first);
    EXPECT_STREQ(first, "42");
}

char* made_in_callee = nullptr;
char** callee_pool = nullptr;
int callee_catch = -1;

void callee() {
    T4K_FUNCTION(callee);
    callee_pool = __t4k__sbuffer;
    callee_catch = __t4k__catch_set;
    for (int i = 0; i < 10; ++i) made_in_callee = __t4k__str(i);
}

TEST(Pool, AFunctionUsesItsOwnPoolAndRestoresTheCallersState) {
    T4K_FUNCTION(caller);
    char** own = __t4k__sbuffer;
    char* mine = __t4k__str(7);
    int index = __t4k__sbuffer_ptr;
    __t4k__catch_set = 1;
    callee();
    EXPECT_NE(callee_pool, own);
    EXPECT_EQ(callee_catch, 0);
    EXPECT_EQ(__t4k__sbuffer, own);
    EXPECT_EQ(__t4k__sbuffer_ptr, index);
    EXPECT_EQ(__t4k__catch_set, 1);
    __t4k__catch_set = 0;
    EXPECT_STREQ(mine, "7");
    EXPECT_STREQ(made_in_callee, "9");
}

TEST(Assign, ATemporaryIsTakenOverAndTheOldBlockGoesToTheSlot) {
    T4K_FUNCTION(assign_exchange);
    char* x = __t4k_Copy_String(nullptr, "old value");
    char* old = x;
    char* temporary = __t4k__concat("new ", "value", nullptr);
    int slot = __t4k__sbuffer_ptr;
    T4K_ASSIGN(x, temporary);
    EXPECT_EQ(x, temporary);
    EXPECT_STREQ(x, "new value");
    EXPECT_EQ(flags_of(x) & T4K_TEMPORARY, 0);
    EXPECT_EQ(__t4k__sbuffer[slot], old);
    EXPECT_EQ(flags_of(old) & T4K_TEMPORARY, T4K_TEMPORARY);
    // The slot reuses the old block; the variable is not touched by later temporaries.
    for (int i = 0; i < 2 * __t4k__sbuffer_size; ++i) __t4k__concat("filler ", "text", nullptr);
    EXPECT_STREQ(x, "new value");
    __t4k__free(x);
}

TEST(Assign, ANullVariableOrAPlainTextIsCopied) {
    T4K_FUNCTION(assign_copy);
    char* x = nullptr;
    char* temporary = __t4k__str(12345);
    T4K_ASSIGN(x, temporary);
    EXPECT_NE(x, temporary);
    EXPECT_STREQ(x, "12345");
    char* before = x;
    T4K_ASSIGN(x, "literal");
    EXPECT_EQ(x, before);
    EXPECT_STREQ(x, "literal");
    T4K_ASSIGN(x, nullptr);
    EXPECT_EQ(x, nullptr);
}

TEST(Assign, AnOlderTemporaryIsCopiedSoThePoolNeverSharesABlockWithAVariable) {
    T4K_FUNCTION(assign_older);
    char* x = __t4k_Copy_String(nullptr, "x");
    char* older = __t4k__str(1);
    __t4k__str(2);
    T4K_ASSIGN(x, older);
    EXPECT_NE(x, older);
    for (int i = 0; i < __t4k__sbuffer_size; ++i) __t4k__str(3);
    EXPECT_STREQ(x, "1");
    __t4k__free(x);
}

TEST(Ring, ResultsGoRoundThirtyTwoSlotsStartingAtSlotOne) {
    ASSERT_EQ(__t4k__rbuffer_ptr, 0);  // nothing in this program used the ring before
    char* first = t4k_ring_return("first");
    EXPECT_EQ(__t4k__rbuffer_ptr, 1);
    EXPECT_EQ(__t4k__rbuffer[1], first);
    EXPECT_EQ(__t4k__rbuffer_length[1], 24);  // four times the size asked
    EXPECT_STREQ(t4k_ring_head(), "first");
    for (int i = 0; i < T4K_RING_SIZE - 1; ++i) t4k_ring_return("other");
    EXPECT_STREQ(first, "first");
    EXPECT_STREQ(t4k_ring_return(nullptr), "");
    EXPECT_EQ(__t4k__rbuffer_ptr, 1);
    EXPECT_STREQ(first, "");
    std::string longer(100, 'y');
    EXPECT_EQ(t4k_ring_return(longer.c_str()), longer);
    EXPECT_EQ(__t4k__rbuffer_length[__t4k__rbuffer_ptr], 404);
}

TEST(PlainText, StrndupCopiesAtMostNBytesAndPads) {
    char* copy = __t4k__strndup("abcdef", 3);
    EXPECT_STREQ(copy, "abc");
    free(copy);
    copy = __t4k__strndup("ab", 5);
    EXPECT_EQ(std::memcmp(copy, "ab\0\0\0\0", 6), 0);
    free(copy);
    EXPECT_EQ(__t4k__strndup(nullptr, 3), nullptr);
    EXPECT_EQ(__t4k__strndup("x", SIZE_MAX), nullptr);
    EXPECT_EQ(__t4k__strdup(nullptr), nullptr);
}

TEST(PlainText, ComparisonsTreatNullDifferently) {
    struct Case {
        const char *a, *b;
        int plain, ignoring_case;
    };
    const Case cases[] = {
        {nullptr, nullptr, 0, 0}, {nullptr, "", 0, -1}, {"", nullptr, 0, 1},
        {"abc", "abd", -1, -1},   {"ABC", "abc", -1, 0}, {"b", "A", 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(__t4k__strcmp(c.a, c.b), c.plain) << (c.a ? c.a : "null") << " " << (c.b ? c.b : "null");
        EXPECT_EQ(__t4k__strcasecmp(c.a, c.b), c.ignoring_case);
    }
}

// Texts longer than the header's signed 32-bit length stop the program (the ABORT trap, as
// for a failed allocation) before anything is written.  The long texts are real but cost
// nothing: untouched mappings, and a runtime string whose block is never written.
TEST(RuntimeString, ATextLongerThanTheHeaderAllowsStopsTheProgram) {
    const std::string abort_line = "ERROR: signal ABORT received";
    auto copied = t4k_test::run_in_child([] {
        t4k_install_signal_traps();
        const size_t four_gib = size_t{1} << 32;
        void* text = mmap(nullptr, four_gib + 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (text == MAP_FAILED) std::_Exit(99);
        t4k_temporary_copy(static_cast<const char*>(text), four_gib + 16);
    });
    EXPECT_EQ(copied.status, SIGABRT);
    EXPECT_EQ(copied.err.rfind(abort_line, 0), 0u) << copied.err;

    auto joined = t4k_test::run_in_child([] {
        t4k_install_signal_traps();
        const unsigned half = 3u << 28;  // 768 MiB: the block holds twice that
        char* x = __t4k_str_realloc(nullptr, half);
        t4k_head(x)->length = int32_t(2 * half);
        x[2 * half] = '\0';
        std::printf("%u", __t4k__len(__t4k__concat(x, x, nullptr)));
    });
    EXPECT_EQ(joined.status, SIGABRT) << joined.out;
    EXPECT_EQ(joined.err.rfind(abort_line, 0), 0u) << joined.err;
}

}  // namespace
