// assoc_test.cpp: the associative arrays: joined keys, add and look up, delete, key lists, comparators.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/assoc.h"
#include "runtime/strings.h"
#include "tests/runtime/child.h"

T4K_ASSOC_DECLARE(int, test_sizes);
T4K_ASSOC_DECLARE(str, test_names$);
T4K_ASSOC_DECLARE(fn, test_handlers);
T4K_ASSOC_DEFINE(int, test_sizes);
T4K_ASSOC_DEFINE(str, test_names$);
T4K_ASSOC_DEFINE(fn, test_handlers);

namespace {

void handler_a() {}

// Every test starts with the three tables as the toolkit makes them and ends by deleting
// every entry through the arrays' own delete, so that the leak checker sees the lot freed.
class Assoc : public testing::Test {
protected:
    void SetUp() override {
        for (auto* table : tables()) __t4k__hashtable_init(table, T4K_ASSOC_ITEM, 10240, nullptr);
    }
    void TearDown() override {
        empty(&__t4k__test_sizes_table_, __t4k__test_sizes__delete_);
        empty(&__t4k__test_names$_table_, __t4k__test_names$__delete_);
        empty(&__t4k__test_handlers_table_, __t4k__test_handlers__delete_);
        for (auto* table : tables()) __t4k__hashtable_term(table);
    }

    static std::vector<__t4k__hashtable_t*> tables() {
        return {&__t4k__test_sizes_table_, &__t4k__test_names$_table_, &__t4k__test_handlers_table_};
    }
    // Deletes by the entry's own key text, which the delete itself frees.
    static void empty(__t4k__hashtable_t* table, void (*erase)(const char*, ...)) {
        while (int count = __t4k__hashtable_count(table)) {
            const auto* last = static_cast<const t4k_assoc_int*>(__t4k__hashtable_items(table)) + count - 1;
            erase(last->key, nullptr);
            ASSERT_EQ(__t4k__hashtable_count(table), count - 1);
        }
    }
    static void put_name(const char* key, const char* value) {
        auto* entry = __t4k__test_names$__add_secure_(1, key, nullptr);
        entry->value = __t4k_Copy_String(entry->value, value);
    }
    static std::string keys(const char* delim) { return __t4k__test_sizes_obtain_(nullptr, delim); }
};

TEST_F(Assoc, KeyPartsAreJoinedWithOneBlank) {
    __t4k__test_sizes__add_secure_(1, "3", "4", nullptr)->value = 34;
    EXPECT_EQ(_test_sizes_("3 4", nullptr), 34);
    EXPECT_EQ(_test_sizes_("3", "4", nullptr), 34);
    EXPECT_EQ(_test_sizes_("34", nullptr), 0);
    EXPECT_EQ(_test_sizes_("3", nullptr), 0);

    __t4k__test_sizes__add_secure_(1, "a", "b", "c", nullptr)->value = 3;
    EXPECT_EQ(_test_sizes_("a b c", nullptr), 3);
    EXPECT_EQ(_test_sizes_("a b", "c", nullptr), 3);
    EXPECT_EQ(keys(","), "3 4,a b c");

    __t4k__test_sizes__delete_("a", "b c", nullptr);
    EXPECT_EQ(_test_sizes_("a b c", nullptr), 0);
    EXPECT_EQ(__t4k__hashtable_count(&__t4k__test_sizes_table_), 1);
}

TEST_F(Assoc, AddReturnsTheSameEntryAndCreatesOnlyWhenAsked) {
    auto* first = __t4k__test_sizes__add_secure_(1, "94558003376512", nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->value, 0);
    EXPECT_STREQ(first->key, "94558003376512");
    first->value = -7;
    EXPECT_EQ(__t4k__test_sizes__add_secure_(1, "94558003376512", nullptr), first);
    EXPECT_EQ(__t4k__test_sizes__add_secure_(0, "94558003376512", nullptr), first);
    EXPECT_EQ(_test_sizes_("94558003376512", nullptr), -7);

    EXPECT_EQ(__t4k__test_sizes__add_secure_(0, "missing", nullptr), nullptr);
    EXPECT_EQ(__t4k__test_sizes__add_secure_(2, "missing", nullptr), nullptr);
    EXPECT_EQ(__t4k__hashtable_count(&__t4k__test_sizes_table_), 1);
}

TEST_F(Assoc, EmptyTextIsAKeyOfItsOwn) {
    __t4k__test_sizes__add_secure_(1, "", nullptr)->value = 5;
    __t4k__test_sizes__add_secure_(1, " ", nullptr)->value = 6;
    EXPECT_EQ(_test_sizes_("", nullptr), 5);
    EXPECT_EQ(_test_sizes_(" ", nullptr), 6);
    EXPECT_EQ(__t4k__hashtable_count(&__t4k__test_sizes_table_), 2);
    // Two empty parts join to one blank.
    EXPECT_EQ(_test_sizes_("", "", nullptr), 6);
}

TEST_F(Assoc, AbsentLookupsGiveTheEmptyValueAndCreateNothing) {
    EXPECT_EQ(_test_sizes_("nothing", nullptr), 0);
    EXPECT_EQ(_test_handlers_("nothing", nullptr), nullptr);
    __t4k__test_handlers__add_secure_(1, "a", nullptr)->value = handler_a;
    EXPECT_EQ(_test_handlers_("a", nullptr), handler_a);
    EXPECT_EQ(_test_handlers_("b", nullptr), nullptr);
    const char* name = _test_names$_("nothing", nullptr);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(__t4k__hashtable_count(&__t4k__test_sizes_table_), 0);
    EXPECT_EQ(__t4k__hashtable_count(&__t4k__test_names$_table_), 0);
    EXPECT_EQ(__t4k__hashtable_count(&__t4k__test_handlers_table_), 1);

    __t4k__test_sizes__delete_("nothing", nullptr);
    EXPECT_EQ(__t4k__hashtable_count(&__t4k__test_sizes_table_), 0);
}

TEST_F(Assoc, StringValuesAreOwnedAndGoWithTheEntry) {
    put_name("94558003376512", "window");
    const char* stored = _test_names$_("94558003376512", nullptr);
    EXPECT_STREQ(stored, "window");
    put_name("94558003376512", "button");
    EXPECT_STREQ(_test_names$_("94558003376512", nullptr), "button");

    __t4k__test_names$__delete_("94558003376512", nullptr);
    EXPECT_STREQ(_test_names$_("94558003376512", nullptr), "");
    auto* again = __t4k__test_names$__add_secure_(1, "94558003376512", nullptr);
    EXPECT_EQ(again->value, nullptr);
    EXPECT_STREQ(_test_names$_("94558003376512", nullptr), "");
}

TEST_F(Assoc, KeyListFollowsItemOrderAndTheDelimiter) {
    EXPECT_EQ(keys(nullptr), "");
    EXPECT_EQ(keys(","), "");
    for (const char* key : {"x", "y", "z"}) __t4k__test_sizes__add_secure_(1, key, nullptr);
    const char* list = __t4k__test_sizes_obtain_(nullptr, nullptr);
    EXPECT_STREQ(list, "x y z");
    EXPECT_EQ(__t4k__len(list), 5u);  // a temporary with its length stored
    __t4k__test_sizes__delete_("y", nullptr);
    EXPECT_EQ(keys(nullptr), "x z");
    EXPECT_EQ(keys(","), "x,z");
    EXPECT_EQ(keys(" -- "), "x -- z");

    char* saved = __t4k__option_delim;
    char bar[] = "|";
    __t4k__option_delim = bar;
    EXPECT_EQ(keys(nullptr), "x|z");
    __t4k__option_delim = saved;

    __t4k__test_sizes__delete_("x", nullptr);  // the last entry, z, moves to the front
    __t4k__test_sizes__add_secure_(1, "w", nullptr);
    EXPECT_EQ(keys(nullptr), "z w");
}

// Ascending orders integers as signed and pointers as unsigned; strings put null values last,
// and descending reverses each order, null strings first.
TEST_F(Assoc, ComparatorsOrderValuesOfEachKind) {
    std::vector<t4k_assoc_int> numbers{{nullptr, 5}, {nullptr, -3}, {nullptr, INTPTR_MAX}, {nullptr, 0}};
    qsort(numbers.data(), numbers.size(), sizeof(t4k_assoc_int), __t4k__test_sizes_sort);
    EXPECT_EQ(numbers[0].value, -3);
    EXPECT_EQ(numbers[1].value, 0);
    EXPECT_EQ(numbers[3].value, INTPTR_MAX);
    qsort(numbers.data(), numbers.size(), sizeof(t4k_assoc_int), __t4k__test_sizes_sort_down);
    EXPECT_EQ(numbers[0].value, INTPTR_MAX);
    EXPECT_EQ(numbers[3].value, -3);
    EXPECT_EQ(__t4k__test_sizes_sort(&numbers[1], &numbers[1]), 0);
    EXPECT_EQ(__t4k__test_sizes_sort(&numbers[3], &numbers[0]), -1);

    const t4k_assoc_fn low{nullptr, reinterpret_cast<t4k_fn>(uintptr_t{0x10})};
    const t4k_assoc_fn high{nullptr, reinterpret_cast<t4k_fn>(~uintptr_t{0})};  // negative if signed
    EXPECT_EQ(__t4k__test_handlers_sort(&low, &high), -1);
    EXPECT_EQ(__t4k__test_handlers_sort(&high, &high), 0);
    EXPECT_EQ(__t4k__test_handlers_sort_down(&low, &high), 1);

    char apple[] = "apple", pear[] = "pear";
    std::vector<t4k_assoc_str> texts{{nullptr, pear}, {nullptr, nullptr}, {nullptr, apple}};
    qsort(texts.data(), texts.size(), sizeof(t4k_assoc_str), __t4k__test_names$_sort);
    EXPECT_EQ(texts[0].value, apple);
    EXPECT_EQ(texts[1].value, pear);
    EXPECT_EQ(texts[2].value, nullptr);
    qsort(texts.data(), texts.size(), sizeof(t4k_assoc_str), __t4k__test_names$_sort_down);
    EXPECT_EQ(texts[0].value, nullptr);
    EXPECT_EQ(texts[1].value, pear);
    EXPECT_EQ(texts[2].value, apple);
    EXPECT_EQ(__t4k__test_names$_sort(&texts[0], &texts[0]), 0);
}

// The sanitizers reserve more address space than any limit this test could set.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

// A key copy that the heap refuses (here: under an address-space limit that leaves no room
// for a 64 MiB key) stops with the assertion report instead of becoming the empty key.
TEST_F(Assoc, AKeyCopyTheHeapRefusesStopsWithTheReport) {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not work under the sanitizers";
    auto child = t4k_test::run_in_child([] {
        std::string key(64 << 20, 'k');
        long pages = 0;
        FILE* statm = std::fopen("/proc/self/statm", "r");
        if (!statm || std::fscanf(statm, "%ld", &pages) != 1) std::abort();
        std::fclose(statm);
        const rlim_t room = rlim_t(pages) * 4096 + (16 << 20);
        const rlimit limit{room, room};
        setrlimit(RLIMIT_AS, &limit);
        __t4k__test_sizes__add_secure_(1, key.c_str(), nullptr);
        std::printf("count %d", __t4k__hashtable_count(&__t4k__test_sizes_table_));
    });
    EXPECT_EQ(child.status, 128 + SIGABRT) << child.out;
    EXPECT_NE(child.err.find("vemto.assoc:"), std::string::npos) << child.err;
    EXPECT_NE(child.err.find("t4k_assoc_add: Assertion `copy' failed."), std::string::npos) << child.err;
}

}  // namespace
