// hash_test.cpp: the hash table: hashing, capacities and growth, item order, swap, long runs, reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/hash.h"

namespace {

// A table of 8-byte items that is terminated when the test ends.
struct Table {
    __t4k__hashtable_t t;
    explicit Table(int initial_capacity, int item_size = 8) {
        __t4k__hashtable_init(&t, item_size, initial_capacity, nullptr);
    }
    ~Table() { __t4k__hashtable_term(&t); }

    void* insert(const std::string& key, int64_t value) {
        return __t4k__hashtable_insert(&t, strdup(key.c_str()), &value);
    }
    const int64_t* find(const std::string& key) const {
        return static_cast<const int64_t*>(__t4k__hashtable_find(&t, key.c_str()));
    }
    void remove(const std::string& key) { __t4k__hashtable_remove(&t, key.c_str()); }
    std::string key(int i) const { return reinterpret_cast<const char*>(__t4k__hashtable_keys(&t)[i]); }
    int64_t item(int i) const { return static_cast<const int64_t*>(__t4k__hashtable_items(&t))[i]; }
    int count() const { return __t4k__hashtable_count(&t); }
};

// Checks every link between slots and items, and each home's key count.
testing::AssertionResult consistent(const __t4k__hashtable_t& t) {
    const uint32_t mask = uint32_t(t.slot_capacity) - 1;
    std::vector<int> homes(size_t(t.slot_capacity), 0);
    int occupied = 0;
    for (int s = 0; s < t.slot_capacity; ++s) {
        const auto& slot = t.slots[s];
        if (!slot.key_hash) continue;
        ++occupied;
        ++homes[slot.key_hash & mask];
        if (slot.item_index < 0 || slot.item_index >= t.count || t.items_slot[slot.item_index] != s)
            return testing::AssertionFailure() << "slot " << s << " and its item disagree";
    }
    for (int s = 0; s < t.slot_capacity; ++s)
        if (t.slots[s].base_count != homes[size_t(s)])
            return testing::AssertionFailure() << "slot " << s << " counts " << t.slots[s].base_count
                                               << " keys at home, holds " << homes[size_t(s)];
    if (occupied != t.count) return testing::AssertionFailure() << occupied << " slots for " << t.count << " items";
    if (t.count > t.slot_capacity - t.slot_capacity / 3)
        return testing::AssertionFailure() << t.count << " items crowd " << t.slot_capacity << " slots";
    return testing::AssertionSuccess();
}

// Registry-shaped keys: decimal texts of heap-like addresses.
std::string address_key(int i) { return std::to_string(94000000000000LL + 48LL * i); }

TEST(HashFNV1a, MatchesReferenceValuesAndSignExtendsBytes) {
    EXPECT_EQ(__t4k__HashFNV1a(nullptr), 0u);
    EXPECT_EQ(__t4k__HashFNV1a(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(__t4k__HashFNV1a("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(__t4k__HashFNV1a("foobar"), 0x85944171f73967e8ull);
    // 0xE9 is XORed in as 0xFFFFFFFFFFFFFFE9, not as 0xE9.
    const uint64_t signed_byte = (0xcbf29ce484222325ull ^ 0xFFFFFFFFFFFFFFE9ull) * 0x100000001b3ull;
    EXPECT_EQ(__t4k__HashFNV1a("\xE9"), signed_byte);
}

TEST(HashTable, CapacitiesAndGrowthPoints) {
    Table unspecified(-1), odd(100);
    EXPECT_EQ(unspecified.t.item_capacity, 32);
    EXPECT_EQ(unspecified.t.slot_capacity, 64);
    EXPECT_EQ(odd.t.item_capacity, 128);
    EXPECT_EQ(odd.t.slot_capacity, 256);

    Table table(10240);
    EXPECT_EQ(table.t.slot_capacity, 32768);
    EXPECT_EQ(table.t.item_capacity, 16384);
    int n = 0;
    for (; n < 16384; ++n) table.insert(address_key(n), n);
    EXPECT_EQ(table.t.item_capacity, 16384);
    table.insert(address_key(n), n);
    EXPECT_EQ(table.t.item_capacity, 32768);
    ++n;
    for (; n < 21846; ++n) table.insert(address_key(n), n);
    EXPECT_EQ(table.t.slot_capacity, 32768);  // 21845 items were present at the last insertion
    table.insert(address_key(n), n);
    EXPECT_EQ(table.t.slot_capacity, 65536);
    ++n;
    EXPECT_TRUE(consistent(table.t));
    for (int i = 0; i < n; i += 7) ASSERT_EQ(*table.find(address_key(i)), i) << i;
}

TEST(HashTable, CapacityZeroHoldsOneItemThenGrowsBoth) {
    Table table(0);
    EXPECT_EQ(table.t.slot_capacity, 1);
    EXPECT_EQ(table.t.item_capacity, 1);
    table.insert("first", 1);
    EXPECT_EQ(table.find("other"), nullptr);  // the one slot is full: the home's count ends the search
    table.insert("second", 2);
    EXPECT_EQ(table.t.slot_capacity, 2);
    EXPECT_EQ(table.t.item_capacity, 2);
    EXPECT_EQ(*table.find("first"), 1);
    EXPECT_EQ(*table.find("second"), 2);
    // Items hold pointers in practice, so even a one-item area starts 8-byte aligned.
    Table single(1, 16);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(single.t.items_data) % 8, 0u);
}

TEST(HashTable, ItemsOfAnySizeSurviveGrowth) {
    Table narrow(1, 3);
    for (int i = 0; i < 300; ++i) {
        const char three[3] = {char(i), char(i >> 8), 'x'};
        __t4k__hashtable_insert(&narrow.t, strdup(address_key(i).c_str()), three);
    }
    for (int i = 0; i < 300; ++i) {
        const auto* three = static_cast<const char*>(__t4k__hashtable_find(&narrow.t, address_key(i).c_str()));
        ASSERT_NE(three, nullptr);
        EXPECT_EQ(std::string(three, 3), std::string({char(i), char(i >> 8), 'x'}));
    }
}

TEST(HashTable, KeysAreExactTextAndNullIsTheEmptyKey) {
    Table table(8);
    table.insert("Key", 1);
    table.insert("key", 2);
    table.insert("", 3);
    EXPECT_EQ(*table.find("Key"), 1);
    EXPECT_EQ(*table.find("key"), 2);
    EXPECT_EQ(table.find("KEY"), nullptr);
    EXPECT_EQ(table.find("key "), nullptr);
    // Lengths around the 16 bytes a lookup compares before it goes to the key text.
    const std::string sixteen = "0123456789abcdef";
    const std::string similar[] = {sixteen.substr(0, 3), sixteen.substr(0, 7), sixteen.substr(0, 15), sixteen,
                                   sixteen + "g", sixteen + "h", sixteen + "gh"};
    for (size_t i = 0; i < std::size(similar); ++i) table.insert(similar[i], int64_t(10 + i));
    for (size_t i = 0; i < std::size(similar); ++i) EXPECT_EQ(*table.find(similar[i]), int64_t(10 + i)) << similar[i];
    for (const std::string& absent : {sixteen.substr(0, 8), sixteen + "i", sixteen + "g" + "i", sixteen.substr(1)})
        EXPECT_EQ(table.find(absent), nullptr) << absent;
    ASSERT_NE(__t4k__hashtable_find(&table.t, nullptr), nullptr);
    EXPECT_EQ(*static_cast<int64_t*>(__t4k__hashtable_find(&table.t, nullptr)), 3);
    __t4k__hashtable_remove(&table.t, nullptr);
    EXPECT_EQ(table.find(""), nullptr);
}

// Its 32-bit slot hash would be 0, the mark of an empty slot (found by search, checked below).
constexpr const char* kZeroHashKey = "1850000288";

uint32_t unmapped_slot_hash(const char* key) {
    uint64_t h = __t4k__HashFNV1a(key);
    h = (~h) + (h << 18);
    h ^= h >> 31;
    h *= 21;
    h ^= h >> 11;
    h += h << 6;
    h ^= h >> 22;
    return uint32_t(h);
}

TEST(HashTable, KeyWhoseHashWouldBeZeroIsStored) {
    ASSERT_EQ(unmapped_slot_hash(kZeroHashKey), 0u);
    Table table(4);
    table.insert("neighbour", 1);
    table.insert(kZeroHashKey, 2);
    EXPECT_EQ(*table.find(kZeroHashKey), 2);
    EXPECT_TRUE(consistent(table.t));
    table.remove(kZeroHashKey);
    EXPECT_EQ(table.find(kZeroHashKey), nullptr);
    EXPECT_EQ(*table.find("neighbour"), 1);
}

TEST(HashTable, RemovalMovesTheLastItemIntoTheHole) {
    Table table(4);
    table.insert("first", 1);
    table.insert("second", 2);
    table.insert("third", 3);
    table.remove("first");
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.key(0), "third");
    EXPECT_EQ(table.item(0), 3);
    EXPECT_EQ(table.key(1), "second");
    EXPECT_EQ(table.item(1), 2);
    EXPECT_EQ(*table.find("third"), 3);
    EXPECT_EQ(table.find("first"), nullptr);

    table.remove("second");  // the last item goes without moving anything
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.key(0), "third");
    EXPECT_TRUE(consistent(table.t));
}

TEST(HashTable, SwapExchangesOrderAndKeepsLookups) {
    Table table(4);
    for (int i = 0; i < 5; ++i) table.insert(address_key(i), i);
    __t4k__hashtable_swap(&table.t, 1, 3);
    EXPECT_EQ(table.key(1), address_key(3));
    EXPECT_EQ(table.item(1), 3);
    EXPECT_EQ(table.key(3), address_key(1));
    EXPECT_EQ(table.item(3), 1);
    EXPECT_EQ(*table.find(address_key(1)), 1);
    EXPECT_EQ(*table.find(address_key(3)), 3);
    EXPECT_TRUE(consistent(table.t));

    // The slot links must follow the swap: removing a swapped key takes the right item out.
    table.remove(address_key(3));
    EXPECT_EQ(table.key(1), address_key(4));
    EXPECT_EQ(*table.find(address_key(1)), 1);
    EXPECT_TRUE(consistent(table.t));
}

TEST(HashTable, SwapWithItselfOrOutOfRangeChangesNothing) {
    Table table(4);
    for (int i = 0; i < 3; ++i) table.insert(address_key(i), i);
    for (auto [a, b] : {std::pair{1, 1}, {0, 3}, {3, 0}, {-1, 2}, {2, -1}}) {
        __t4k__hashtable_swap(&table.t, a, b);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(table.key(i), address_key(i)) << a << "," << b;
            EXPECT_EQ(table.item(i), i);
        }
    }
    EXPECT_TRUE(consistent(table.t));
}

// A long random run against std::unordered_map, with a small key space so that keys come and
// go many times and homes collide; the item order is modelled too.
TEST(HashTable, LongRandomRunAgreesWithAModel) {
    std::mt19937 rng(20261207);
    Table table(2);
    std::unordered_map<std::string, int64_t> model;
    std::vector<std::string> order;
    for (int step = 0; step < 200000; ++step) {
        const std::string key = address_key(int(rng() % 3000));
        const auto it = model.find(key);
        const unsigned op = rng() % 8;
        if (op < 4 && it == model.end()) {
            table.insert(key, step);
            model[key] = step;
            order.push_back(key);
        } else if (op < 6 && it != model.end()) {
            const size_t hole = size_t(std::find(order.begin(), order.end(), key) - order.begin());
            table.remove(key);
            model.erase(it);
            order[hole] = order.back();
            order.pop_back();
        } else if (op == 7 && step % 40000 == 39999) {  // a clear now and then, keys freed with it
            __t4k__hashtable_clear(&table.t);
            model.clear();
            order.clear();
        } else if (op == 6 && !order.empty()) {
            const int a = int(rng() % (order.size() + 1)), b = int(rng() % order.size());
            __t4k__hashtable_swap(&table.t, a, b);
            if (a < int(order.size())) std::swap(order[size_t(a)], order[size_t(b)]);
        } else {
            const int64_t* found = table.find(key);
            ASSERT_EQ(found != nullptr, it != model.end()) << "step " << step;
            ASSERT_EQ(found ? *found : -1, found ? it->second : -1) << "step " << step;
        }
        ASSERT_EQ(table.count(), int(model.size()));
        if (step % 5000 == 0) {
            ASSERT_TRUE(consistent(table.t)) << "step " << step;
            for (size_t i = 0; i < order.size(); ++i) {
                ASSERT_EQ(table.key(int(i)), order[i]);
                ASSERT_EQ(table.item(int(i)), model[order[i]]);
            }
        }
    }
    EXPECT_TRUE(consistent(table.t));
    for (int i = 0; i < 3000; ++i)
        EXPECT_EQ(table.find(address_key(i)) != nullptr, model.count(address_key(i)) == 1) << i;
}

// The report names the unit, line, function and expression, like any failed assertion.
std::string report(int line, const std::string& function, const std::string& expression) {
    std::string pattern = "vemto.hash:" + std::to_string(line) + ": " + function + ": Assertion `" + expression;
    std::string escaped;
    for (char c : pattern) {
        if (strchr(".[]{}()\\*+?^$|", c)) escaped += '\\';
        escaped += c;
    }
    return escaped;
}

TEST(HashTableDeathTest, InsertingAPresentOrRemovingAnAbsentKeyStops) {
    Table table(4);
    table.insert("present", 1);
    EXPECT_DEATH(table.insert("present", 2),
                 report(24, "__t4k__hashtable_insert", "hashtable_internal_find_slot( table, key) < 0"));
    EXPECT_DEATH(table.remove("absent"), report(30, "__t4k__hashtable_remove", "slot >= 0"));
}

// Above 2^29 items the slot count (1.5 times as many, rounded up to a power of two) is no int.
TEST(HashTableDeathTest, ACapacityWhoseSlotsAreNoIntIsRefused) {
    for (int capacity : {(1 << 29) + 1, (1 << 30) + 1, INT32_MAX}) {
        __t4k__hashtable_t table;
        EXPECT_DEATH(__t4k__hashtable_init(&table, 16, capacity, nullptr),
                     report(7, "__t4k__hashtable_init", "table->slots"))
            << capacity;
    }
}

}  // namespace
