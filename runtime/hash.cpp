// hash.cpp: the hash table: FNV-1a keys, linear probing over power-of-two slots, dense items.
#include "hash.h"

#include <cstdlib>
#include <cstring>

// The C library's assertion report; <assert.h> leaves it undeclared in NDEBUG builds, but the
// table's checks stay on in every build.
extern "C" [[noreturn]] void __assert_fail(const char* assertion, const char* file, unsigned line,
                                           const char* function) noexcept;

/*
 * Layout.  The slot array maps a key's 32-bit hash to an item index; the items themselves
 * live densely, in insertion order, in one block of four parallel areas: key cells (8 bytes),
 * slot indices (4 bytes), the items (item_size bytes), and one spare item for swapping.
 * Keeping items dense makes counting and listing a walk over `count` entries; removal fills
 * the hole with the last item, so the order is insertion order changed only by removals and
 * swaps.
 *
 * Probing.  A key's home is hash & mask.  Every slot counts in base_count how many stored
 * keys have it as their home, wherever probing put them, so a search stops as soon as it
 * has seen that many keys of its home: a miss costs the home's own keys, not a walk to the
 * next empty slot, and slots emptied by removal need no tombstones.
 */

namespace {

// Where a broken precondition or a failed allocation is reported: the unit, line, function
// and expression are those this unit has always printed, so reports stay comparable.
struct AssertSite {
    unsigned line;
    const char* function;
    const char* expression;
};
constexpr const char* kUnit = "vemto.hash";
constexpr AssertSite kInitSlots{7, "__t4k__hashtable_init", "table->slots"};
constexpr AssertSite kInitItems{8, "__t4k__hashtable_init", "table->items_key"};
constexpr AssertSite kExpandSlots{17, "hashtable_internal_expand_slots", "table->slots"};
constexpr AssertSite kExpandItems{21, "hashtable_internal_expand_items", "new_items_key"};
constexpr AssertSite kInsertAbsent{24, "__t4k__hashtable_insert",
                                   "hashtable_internal_find_slot( table, key) < 0"};
constexpr AssertSite kInsertSlot{27, "__t4k__hashtable_insert",
                                 "!table->slots[ slot ].key_hash && ( hash & (uint32_t) slot_mask ) "
                                 "== (uint32_t) base_slot"};
constexpr AssertSite kInsertHash{28, "__t4k__hashtable_insert", "hash"};
constexpr AssertSite kRemovePresent{30, "__t4k__hashtable_remove", "slot >= 0"};
constexpr AssertSite kRemoveHash{31, "__t4k__hashtable_remove", "hash"};

inline void check(bool ok, const AssertSite& site) {
    if (__builtin_expect(!ok, 0)) __assert_fail(site.expression, kUnit, site.line, site.function);
}

/* Capacities are ints.  The largest item capacity a table can start with is 2^29: its slot
   array, rounded up from one and a half times as many, has 2^30 slots, and 2^31 would not be
   an int.  Growth doubles, so neither capacity may grow past 2^30.  A request beyond these
   is reported like the allocation it could never get. */
constexpr int kMaxInitialCapacity = 1 << 29;
constexpr int kMaxCapacity = 1 << 30;

constexpr uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

// 0 marks an empty slot, so a key whose hash comes out as 0 is given this one instead.
constexpr uint32_t kZeroHashStandIn = 0x9e3779b9u;

using Slot = __t4k__hashtable_internal_slot_t;

// Bytes are taken as signed chars, so bytes above 0x7f are sign-extended before the XOR.
inline uint64_t fnv1a(const char* key) {
    uint64_t hash = kFnvOffsetBasis;
    for (const signed char* p = reinterpret_cast<const signed char*>(key); *p; ++p) {
        hash ^= static_cast<uint64_t>(static_cast<int64_t>(*p));
        hash *= kFnvPrime;
    }
    return hash;
}

// A null key is the empty text throughout the table: hashed, compared and stored alike.
inline const char* text_of(const char* key) { return key ? key : ""; }

// The slot hash: FNV-1a folded to 32 bits by a 64-bit integer mix, never 0.
inline uint32_t hashtable_internal_calculate_hash(const char* key) {
    uint64_t h = fnv1a(text_of(key));
    h = (~h) + (h << 18);
    h ^= h >> 31;
    h *= 21;
    h ^= h >> 11;
    h += h << 6;
    h ^= h >> 22;
    const uint32_t slot_hash = static_cast<uint32_t>(h);
    return slot_hash ? slot_hash : kZeroHashStandIn;
}

// 0 and 1 give 1; otherwise the smallest power of two not below v.
int hashtable_internal_pow2ceil(int v) {
    unsigned x = static_cast<unsigned>(v) - 1;
    x |= x >> 1;
    x |= x >> 2;
    x |= x >> 4;
    x |= x >> 8;
    x |= x >> 16;
    ++x;
    return x ? static_cast<int>(x) : 1;
}

// The item area follows the key cells and slot indices; it starts on an 8-byte boundary
// (only a one-item block needs the padding) so that items holding pointers are aligned.
size_t items_offset(int capacity) { return (size_t(capacity) * 12 + 7) & ~size_t(7); }

size_t item_block_size(int capacity, int item_size) {
    return items_offset(capacity) + size_t(capacity) * item_size + item_size;
}

void point_item_areas(__t4k__hashtable_t* table, char* block) {
    const int capacity = table->item_capacity;
    table->items_key = reinterpret_cast<uint64_t*>(block);
    table->items_slot = reinterpret_cast<int*>(block + size_t(capacity) * 8);
    table->items_data = block + items_offset(capacity);
    table->swap_temp = static_cast<char*>(table->items_data) + size_t(capacity) * table->item_size;
}

inline const char* key_of(const __t4k__hashtable_t* table, int item) {
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(table->items_key[item]));
}

inline char* item_at(const __t4k__hashtable_t* table, int item) {
    return static_cast<char*>(table->items_data) + size_t(item) * table->item_size;
}

// The slot holding `key` (whose slot hash is `hash`), or -1.  Only slots whose stored hash
// has the same home are counted, and the full hash is compared before the text.
inline int hashtable_internal_find_slot(const __t4k__hashtable_t* table, const char* key, uint32_t hash) {
    const uint32_t mask = uint32_t(table->slot_capacity) - 1;
    const uint32_t base = hash & mask;
    const Slot* slots = table->slots;
    int remaining = slots[base].base_count;
    for (uint32_t slot = base; remaining > 0; slot = (slot + 1) & mask) {
        const uint32_t slot_hash = slots[slot].key_hash;
        if (slot_hash == hash && strcmp(text_of(key_of(table, slots[slot].item_index)), key) == 0)
            return int(slot);
        if (slot_hash && (slot_hash & mask) == base) --remaining;
    }
    return -1;
}

// Where a new key of home `base` goes: the first empty slot met in the run of the home's
// keys, else the next empty slot after the run.  Both are the first empty slot at or after
// the home, which always exists because the slots are kept below two-thirds full.
uint32_t hashtable_internal_free_slot(const __t4k__hashtable_t* table, uint32_t base) {
    const uint32_t mask = uint32_t(table->slot_capacity) - 1;
    uint32_t slot = base;
    while (table->slots[slot].key_hash) slot = (slot + 1) & mask;
    return slot;
}

void hashtable_internal_expand_slots(__t4k__hashtable_t* table) {
    check(table->slot_capacity < kMaxCapacity, kExpandSlots);
    Slot* old_slots = table->slots;
    const int old_capacity = table->slot_capacity;
    table->slot_capacity *= 2;
    table->slots = static_cast<Slot*>(calloc(size_t(table->slot_capacity), sizeof(Slot)));
    check(table->slots != nullptr, kExpandSlots);
    const uint32_t mask = uint32_t(table->slot_capacity) - 1;
    for (int i = 0; i < old_capacity; ++i) {
        const Slot& old = old_slots[i];
        if (!old.key_hash) continue;
        const uint32_t home = old.key_hash & mask;
        const uint32_t slot = hashtable_internal_free_slot(table, home);
        table->slots[slot].key_hash = old.key_hash;
        table->slots[slot].item_index = old.item_index;
        table->items_slot[old.item_index] = int(slot);
        ++table->slots[home].base_count;
    }
    free(old_slots);
}

void hashtable_internal_expand_items(__t4k__hashtable_t* table) {
    const int count = table->count;
    const int item_size = table->item_size;
    char* old_block = reinterpret_cast<char*>(table->items_key);
    const uint64_t* old_keys = table->items_key;
    const int* old_slots = table->items_slot;
    const void* old_items = table->items_data;

    check(table->item_capacity < kMaxCapacity, kExpandItems);
    table->item_capacity *= 2;
    char* new_items_key = static_cast<char*>(malloc(item_block_size(table->item_capacity, item_size)));
    check(new_items_key != nullptr, kExpandItems);
    point_item_areas(table, new_items_key);
    memcpy(table->items_key, old_keys, size_t(count) * sizeof(uint64_t));
    memcpy(table->items_slot, old_slots, size_t(count) * sizeof(int));
    memcpy(table->items_data, old_items, size_t(count) * item_size);
    free(old_block);
}

void free_keys(__t4k__hashtable_t* table) {
    for (int i = 0; i < table->count; ++i) free(const_cast<char*>(key_of(table, i)));
}

}  // namespace

void t4k_assertion_failed(const char* expression, const char* unit, unsigned line, const char* function) {
    __assert_fail(expression, unit, line, function);
}

uint64_t __t4k__HashFNV1a(const char* key) { return key ? fnv1a(key) : 0; }

void __t4k__hashtable_init(__t4k__hashtable_t* table, int item_size, int initial_capacity, void* memctx) {
    check(initial_capacity <= kMaxInitialCapacity, kInitSlots);
    const int items = initial_capacity < 0 ? 32 : hashtable_internal_pow2ceil(initial_capacity);
    table->memctx = memctx;
    table->count = 0;
    table->item_size = item_size;

    table->slot_capacity = hashtable_internal_pow2ceil(items + items / 2);
    table->slots = static_cast<Slot*>(calloc(size_t(table->slot_capacity), sizeof(Slot)));
    check(table->slots != nullptr, kInitSlots);

    table->item_capacity = items;
    char* block = static_cast<char*>(malloc(item_block_size(items, item_size)));
    check(block != nullptr, kInitItems);
    point_item_areas(table, block);
}

// The table owns its key strings, so they go with it.
void __t4k__hashtable_term(__t4k__hashtable_t* table) {
    free_keys(table);
    free(table->slots);
    free(table->items_key);
    table->slots = nullptr;
    table->items_key = nullptr;
    table->items_slot = nullptr;
    table->items_data = nullptr;
    table->swap_temp = nullptr;
    table->count = 0;
}

void* __t4k__hashtable_insert(__t4k__hashtable_t* table, const char* key, const void* item) {
    const uint32_t hash = hashtable_internal_calculate_hash(key);
    check(hashtable_internal_find_slot(table, text_of(key), hash) < 0, kInsertAbsent);
    if (table->count >= table->slot_capacity - table->slot_capacity / 3) hashtable_internal_expand_slots(table);

    const uint32_t slot_mask = uint32_t(table->slot_capacity) - 1;
    const uint32_t base_slot = hash & slot_mask;
    const uint32_t slot = hashtable_internal_free_slot(table, base_slot);
    if (table->count >= table->item_capacity) hashtable_internal_expand_items(table);
    check(!table->slots[slot].key_hash && (hash & slot_mask) == base_slot, kInsertSlot);
    check(hash != 0, kInsertHash);

    const int index = table->count;
    table->slots[slot].key_hash = hash;
    table->slots[slot].item_index = index;
    ++table->slots[base_slot].base_count;
    char* stored = item_at(table, index);
    memcpy(stored, item, size_t(table->item_size));
    table->items_key[index] = reinterpret_cast<uintptr_t>(key);
    table->items_slot[index] = int(slot);
    ++table->count;
    return stored;
}

void __t4k__hashtable_remove(__t4k__hashtable_t* table, const char* key) {
    const int slot = hashtable_internal_find_slot(table, text_of(key), hashtable_internal_calculate_hash(key));
    check(slot >= 0, kRemovePresent);
    const uint32_t hash = table->slots[slot].key_hash;
    check(hash != 0, kRemoveHash);

    const uint32_t mask = uint32_t(table->slot_capacity) - 1;
    --table->slots[hash & mask].base_count;
    table->slots[slot].key_hash = 0;

    const int item = table->slots[slot].item_index;
    free(const_cast<char*>(key_of(table, item)));
    const int last = table->count - 1;
    if (item != last) {
        table->items_key[item] = table->items_key[last];
        table->items_slot[item] = table->items_slot[last];
        memcpy(item_at(table, item), item_at(table, last), size_t(table->item_size));
        table->slots[table->items_slot[item]].item_index = item;
    }
    --table->count;
}

// Empties the table in place, capacities kept; the key strings it owned are freed.
void __t4k__hashtable_clear(__t4k__hashtable_t* table) {
    free_keys(table);
    table->count = 0;
    memset(table->slots, 0, size_t(table->slot_capacity) * sizeof(Slot));
}

void* __t4k__hashtable_find(const __t4k__hashtable_t* table, const char* key) {
    const int slot = hashtable_internal_find_slot(table, text_of(key), hashtable_internal_calculate_hash(key));
    return slot < 0 ? nullptr : item_at(table, table->slots[slot].item_index);
}

int __t4k__hashtable_count(const __t4k__hashtable_t* table) { return table->count; }

void* __t4k__hashtable_items(const __t4k__hashtable_t* table) { return table->items_data; }

uint64_t* __t4k__hashtable_keys(const __t4k__hashtable_t* table) { return table->items_key; }

void __t4k__hashtable_swap(__t4k__hashtable_t* table, int index_a, int index_b) {
    const int count = table->count;
    if (index_a < 0 || index_b < 0 || index_a >= count || index_b >= count || index_a == index_b) return;
    const int slot_a = table->items_slot[index_a];
    const int slot_b = table->items_slot[index_b];
    table->items_slot[index_a] = slot_b;
    table->items_slot[index_b] = slot_a;

    const uint64_t key_a = table->items_key[index_a];
    table->items_key[index_a] = table->items_key[index_b];
    table->items_key[index_b] = key_a;

    const size_t size = size_t(table->item_size);
    memcpy(table->swap_temp, item_at(table, index_a), size);
    memcpy(item_at(table, index_a), item_at(table, index_b), size);
    memcpy(item_at(table, index_b), table->swap_temp, size);

    table->slots[slot_a].item_index = index_b;
    table->slots[slot_b].item_index = index_a;
}
