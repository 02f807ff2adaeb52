// assoc_test.cpp: the associative arrays: joined keys, add and look up, delete, key lists, comparators.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/assoc.h"
#include "runtime/strings.h"

T4K_ASSOC_DECLARE(int, test_sizes);
T4K_ASSOC_DECLARE(str, test_names$);
T4K_ASSOC_DECLARE(fn, test_handlers);
T4K_ASSOC_DEFINE(int, test_sizes);
T4K_ASSOC_DEFINE(str, test_names$);
T4K_ASSOC_DEFINE(fn, test_handlers);

namespace {

void handler_a() {}
void handler_b() {}

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

TEST_F(Assoc, EntryAndTableKeepTheirOwnKeyCopies) {
    char key[] = "94558003376512";
    auto* entry = __t4k__test_sizes__add_secure_(1, key, nullptr);
    const char* table_key = reinterpret_cast<const char*>(__t4k__hashtable_keys(&__t4k__test_sizes_table_)[0]);
    EXPECT_NE(entry->key, key);
    EXPECT_NE(table_key, key);
    EXPECT_NE(entry->key, table_key);
    entry->value = 9;
    key[0] = '0';  // the caller's buffer changes; the entry does not
    EXPECT_EQ(_test_sizes_("94558003376512", nullptr), 9);
    EXPECT_STREQ(entry->key, "94558003376512");
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
    const char* name = _test_names$_("nothing", nullptr);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "");
    for (auto* table : tables()) EXPECT_EQ(__t4k__hashtable_count(table), 0);

    __t4k__test_names$__add_secure_(1, "made", nullptr);  // a new string entry reads as ""
    ASSERT_NE(_test_names$_("made", nullptr), nullptr);
    EXPECT_STREQ(_test_names$_("made", nullptr), "");

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

TEST_F(Assoc, FunctionPointersRoundTrip) {
    __t4k__test_handlers__add_secure_(1, "a", nullptr)->value = handler_a;
    __t4k__test_handlers__add_secure_(1, "b", nullptr)->value = handler_b;
    EXPECT_EQ(_test_handlers_("a", nullptr), handler_a);
    EXPECT_EQ(_test_handlers_("b", nullptr), handler_b);
}

TEST_F(Assoc, KeyListFollowsItemOrderAndTheDelimiter) {
    EXPECT_EQ(keys(nullptr), "");
    EXPECT_EQ(keys(","), "");
    for (const char* key : {"x", "y", "z"}) __t4k__test_sizes__add_secure_(1, key, nullptr);
    EXPECT_EQ(keys(nullptr), "x y z");
    __t4k__test_sizes__delete_("y", nullptr);
    EXPECT_EQ(keys(nullptr), "x z");
    EXPECT_EQ(keys(","), "x,z");
    EXPECT_EQ(keys(""), "xz");
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

TEST_F(Assoc, KeyListIsATemporaryWithItsLength) {
    for (const char* key : {"94558003376512", "94558003376560"}) __t4k__test_sizes__add_secure_(1, key, nullptr);
    char* list = __t4k__test_sizes_obtain_(nullptr, nullptr);
    ASSERT_EQ(reinterpret_cast<uintptr_t>(list) & 1, 1u);
    EXPECT_EQ(t4k_head(list)->flags & T4K_TEMPORARY, T4K_TEMPORARY);
    EXPECT_EQ(__t4k__len(list), strlen("94558003376512 94558003376560"));
    EXPECT_STREQ(list, "94558003376512 94558003376560");
}

TEST_F(Assoc, IntegerComparatorsOrderBySignedValue) {
    std::vector<t4k_assoc_int> entries{{nullptr, 5}, {nullptr, -3}, {nullptr, INTPTR_MAX}, {nullptr, 0}};
    qsort(entries.data(), entries.size(), sizeof(t4k_assoc_int), __t4k__test_sizes_sort);
    EXPECT_EQ(entries[0].value, -3);
    EXPECT_EQ(entries[3].value, INTPTR_MAX);
    qsort(entries.data(), entries.size(), sizeof(t4k_assoc_int), __t4k__test_sizes_sort_down);
    EXPECT_EQ(entries[0].value, INTPTR_MAX);
    EXPECT_EQ(entries[3].value, -3);

    const t4k_assoc_int low{nullptr, -1}, high{nullptr, 1};
    EXPECT_EQ(__t4k__test_sizes_sort(&low, &high), -1);
    EXPECT_EQ(__t4k__test_sizes_sort(&high, &low), 1);
    EXPECT_EQ(__t4k__test_sizes_sort(&low, &low), 0);
    EXPECT_EQ(__t4k__test_sizes_sort_down(&low, &high), 1);
}

TEST_F(Assoc, PointerComparatorsOrderByUnsignedAddress) {
    const t4k_assoc_fn low{nullptr, reinterpret_cast<t4k_fn>(uintptr_t{0x10})};
    const t4k_assoc_fn high{nullptr, reinterpret_cast<t4k_fn>(~uintptr_t{0})};  // negative if signed
    EXPECT_EQ(__t4k__test_handlers_sort(&low, &high), -1);
    EXPECT_EQ(__t4k__test_handlers_sort(&high, &low), 1);
    EXPECT_EQ(__t4k__test_handlers_sort(&high, &high), 0);
    EXPECT_EQ(__t4k__test_handlers_sort_down(&low, &high), 1);
}

TEST_F(Assoc, StringComparatorsPlaceNullLastAscendingAndFirstDescending) {
    char apple[] = "apple", pear[] = "pear";
    const t4k_assoc_str a{nullptr, apple}, p{nullptr, pear}, none{nullptr, nullptr};
    EXPECT_LT(__t4k__test_names$_sort(&a, &p), 0);
    EXPECT_GT(__t4k__test_names$_sort(&p, &a), 0);
    EXPECT_EQ(__t4k__test_names$_sort(&a, &a), 0);
    EXPECT_EQ(__t4k__test_names$_sort(&none, &a), 1);
    EXPECT_EQ(__t4k__test_names$_sort(&a, &none), -1);
    EXPECT_EQ(__t4k__test_names$_sort(&none, &none), 0);

    EXPECT_GT(__t4k__test_names$_sort_down(&a, &p), 0);
    EXPECT_EQ(__t4k__test_names$_sort_down(&none, &a), -1);
    EXPECT_EQ(__t4k__test_names$_sort_down(&a, &none), 1);
    EXPECT_EQ(__t4k__test_names$_sort_down(&none, &none), 0);
}

}  // namespace
