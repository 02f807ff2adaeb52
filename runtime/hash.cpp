// hash.cpp: the hash table: FNV-1a keys, linear probing over power-of-two slots, dense items.
#include "hash.h"
#include "report_sites.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <utility>

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

using namespace t4k::sites;  // the fixed sites its reports name

inline void check(bool ok, const AssertSite& site) {
    if (__builtin_expect(!ok, 0)) __assert_fail(site.expression, HASH_UNIT, site.line, site.function);
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

/* Bytes are taken as signed chars, so bytes above 0x7f are sign-extended before the XOR.
   Each multiply waits for the last, so the loop runs over a length measured beforehand, with
   nothing else to test. */
inline uint64_t fnv1a(const char* text, size_t length) {
    const signed char* bytes = reinterpret_cast<const signed char*>(text);
    uint64_t hash = kFnvOffsetBasis;
#pragma GCC unroll 4
    for (size_t i = 0; i < length; ++i) {
        hash ^= static_cast<uint64_t>(static_cast<int64_t>(bytes[i]));
        hash *= kFnvPrime;
    }
    return hash;
}

// A null key is the empty text throughout the table: hashed, compared and stored alike.
inline const char* text_of(const char* key) { return key ? key : ""; }

/*
 * Key prefixes.  Besides the four areas the item block keeps, for each item, the first 16
 * bytes of its key, zero-padded.  A key shorter than 16 bytes has its terminator inside the
 * prefix, so two such keys are equal exactly when their prefixes are: a lookup compares the
 * slot hash and then the prefix, both in memory it reads anyway, and goes to the key text
 * only for longer keys, and then only past the first 16 bytes.  Registry keys (the decimal
 * text of a handle) are at most 15 bytes long.
 */
constexpr size_t kPrefix = 16;
struct Prefix {
    uint64_t word[2];
    bool operator==(const Prefix& other) const {
        return ((word[0] ^ other.word[0]) | (word[1] ^ other.word[1])) == 0;
    }
};
static_assert(sizeof(Prefix) == kPrefix);

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "prefixes are assembled from little-endian words");

// The first 16 bytes of a text of `length` bytes, zero-padded, read a word at a time where
// the text has whole words (overlapping at its end), never past the text.
inline Prefix prefix_of(const char* text, size_t length) {
    Prefix prefix{};
    if (length >= kPrefix) {
        memcpy(&prefix, text, kPrefix);
    } else if (length >= 8) {
        uint64_t tail;
        memcpy(&prefix.word[0], text, 8);
        memcpy(&tail, text + length - 8, 8);
        prefix.word[1] = length == 8 ? 0 : tail >> (8 * (kPrefix - length));
    } else if (length >= 4) {
        uint32_t head, tail;
        memcpy(&head, text, 4);
        memcpy(&tail, text + length - 4, 4);
        prefix.word[0] = head | uint64_t(tail) << (8 * (length - 4));
    } else {
        for (size_t i = 0; i < length; ++i) prefix.word[0] |= uint64_t(uint8_t(text[i])) << (8 * i);
    }
    return prefix;
}

// A key as the table looks at it: its text, length, slot hash and prefix.
struct Key {
    const char* text;
    size_t length;
    uint32_t hash;
    Prefix prefix;
};

// The slot hash: FNV-1a folded to 32 bits by a 64-bit integer mix, never 0.
inline Key hashtable_internal_calculate_hash(const char* key) {
    Key k{text_of(key), 0, 0, {}};
    k.length = strlen(k.text);
    k.prefix = prefix_of(k.text, k.length);
    uint64_t h = fnv1a(k.text, k.length);
    h = (~h) + (h << 18);
    h ^= h >> 31;
    h *= 21;
    h ^= h >> 11;
    h += h << 6;
    h ^= h >> 22;
    const uint32_t slot_hash = static_cast<uint32_t>(h);
    k.hash = slot_hash ? slot_hash : kZeroHashStandIn;
    return k;
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

// The prefixes follow the spare item, on the next 16-byte boundary.
size_t item_block_size(int capacity, int item_size) {
    return items_offset(capacity) + size_t(capacity) * item_size + item_size + (kPrefix - 1) + size_t(capacity) * kPrefix;
}

void point_item_areas(__t4k__hashtable_t* table, char* block) {
    const int capacity = table->item_capacity;
    table->items_key = reinterpret_cast<uint64_t*>(block);
    table->items_slot = reinterpret_cast<int*>(block + size_t(capacity) * 8);
    table->items_data = block + items_offset(capacity);
    table->swap_temp = static_cast<char*>(table->items_data) + size_t(capacity) * table->item_size;
}

/*
 * Memory.  Large blocks (a registry table starts with 384 KiB of slots and 720 KiB of items)
 * are mapped straight from the system: their pages cost nothing until written, whatever the
 * heap has done before, and go back to the system when released.  A grown slot array is
 * filled at once (the rehash spreads a third of the slots over every page), so it is mapped
 * populated, one call instead of a fault per page.  Small blocks come from the heap.  Which
 * way a block came follows from its size, which the capacities give again when it goes.
 */
constexpr size_t kMappedBlock = 64 * 1024;

void* new_block(size_t size, bool zeroed, bool populate) {
    if (size < kMappedBlock) return zeroed ? calloc(1, size) : malloc(size);
    void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | (populate ? MAP_POPULATE : 0),
                       -1, 0);
    return block == MAP_FAILED ? nullptr : block;
}

void release_block(void* block, size_t size) {
    if (block == nullptr) return;
    if (size < kMappedBlock)
        free(block);
    else
        munmap(block, size);
}

size_t slot_bytes(int capacity) { return size_t(capacity) * sizeof(Slot); }

inline Prefix* prefixes(const __t4k__hashtable_t* table) {
    const uintptr_t after_spare = reinterpret_cast<uintptr_t>(table->swap_temp) + uintptr_t(table->item_size);
    return reinterpret_cast<Prefix*>((after_spare + kPrefix - 1) & ~uintptr_t(kPrefix - 1));
}

inline const char* key_of(const __t4k__hashtable_t* table, int item) {
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(table->items_key[item]));
}

inline char* item_at(const __t4k__hashtable_t* table, int item) {
    return static_cast<char*>(table->items_data) + size_t(item) * table->item_size;
}

// Whether item `item` holds `key`, whose slot hash it has been found to share.
inline bool holds(const __t4k__hashtable_t* table, int item, const Key& key) {
    if (!(prefixes(table)[item] == key.prefix)) return false;
    return key.length < kPrefix || strcmp(key_of(table, item) + kPrefix, key.text + kPrefix) == 0;
}

/* A search from the key's home, as finding and inserting both make it: only slots whose
   stored hash has the same home count towards the home's base_count, and the full hash is
   compared before the key.  `empty` is the first empty slot met before the home's keys are
   all passed, or -1. */
struct Search {
    int found = -1;
    int empty = -1;
};

inline Search hashtable_internal_search(const __t4k__hashtable_t* table, const Key& key) {
    const uint32_t mask = uint32_t(table->slot_capacity) - 1;
    const uint32_t base = key.hash & mask;
    const Slot* slots = table->slots;
    Search search;
    int remaining = slots[base].base_count;
    for (uint32_t slot = base; remaining > 0; slot = (slot + 1) & mask) {
        const uint32_t slot_hash = slots[slot].key_hash;
        if (slot_hash == key.hash && holds(table, slots[slot].item_index, key)) {
            search.found = int(slot);
            return search;
        }
        if (!slot_hash && search.empty < 0) search.empty = int(slot);
        if ((slot_hash & mask) == base && slot_hash) --remaining;
    }
    return search;
}

inline int hashtable_internal_find_slot(const __t4k__hashtable_t* table, const Key& key) {
    return hashtable_internal_search(table, key).found;
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
    check(table->slot_capacity < kMaxCapacity, HASH_EXPAND_SLOTS);
    Slot* old_slots = table->slots;
    const int old_capacity = table->slot_capacity;
    table->slot_capacity *= 2;
    table->slots = static_cast<Slot*>(new_block(slot_bytes(table->slot_capacity), true, true));
    check(table->slots != nullptr, HASH_EXPAND_SLOTS);
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
    release_block(old_slots, slot_bytes(old_capacity));
}

void hashtable_internal_expand_items(__t4k__hashtable_t* table) {
    const int count = table->count;
    const int item_size = table->item_size;
    char* old_block = reinterpret_cast<char*>(table->items_key);
    const uint64_t* old_keys = table->items_key;
    const int* old_slots = table->items_slot;
    const void* old_items = table->items_data;
    const Prefix* old_prefixes = prefixes(table);

    check(table->item_capacity < kMaxCapacity, HASH_EXPAND_ITEMS);
    table->item_capacity *= 2;
    char* new_items_key = static_cast<char*>(new_block(item_block_size(table->item_capacity, item_size), false, false));
    check(new_items_key != nullptr, HASH_EXPAND_ITEMS);
    point_item_areas(table, new_items_key);
    memcpy(table->items_key, old_keys, size_t(count) * sizeof(uint64_t));
    memcpy(table->items_slot, old_slots, size_t(count) * sizeof(int));
    memcpy(table->items_data, old_items, size_t(count) * item_size);
    memcpy(prefixes(table), old_prefixes, size_t(count) * kPrefix);
    release_block(old_block, item_block_size(table->item_capacity / 2, item_size));
}

void free_keys(__t4k__hashtable_t* table) {
    for (int i = 0; i < table->count; ++i) free(const_cast<char*>(key_of(table, i)));
}

}  // namespace

void t4k_assertion_failed(const char* expression, const char* unit, unsigned line, const char* function) {
    __assert_fail(expression, unit, line, function);
}

uint64_t __t4k__HashFNV1a(const char* key) { return key ? fnv1a(key, strlen(key)) : 0; }

void __t4k__hashtable_init(__t4k__hashtable_t* table, int item_size, int initial_capacity, void* memctx) {
    check(initial_capacity <= kMaxInitialCapacity, HASH_INIT_SLOTS);
    const int items = initial_capacity < 0 ? 32 : hashtable_internal_pow2ceil(initial_capacity);
    table->memctx = memctx;
    table->count = 0;
    table->item_size = item_size;

    table->slot_capacity = hashtable_internal_pow2ceil(items + items / 2);
    table->slots = static_cast<Slot*>(new_block(slot_bytes(table->slot_capacity), true, false));
    check(table->slots != nullptr, HASH_INIT_SLOTS);

    table->item_capacity = items;
    char* block = static_cast<char*>(new_block(item_block_size(items, item_size), false, false));
    check(block != nullptr, HASH_INIT_ITEMS);
    point_item_areas(table, block);
}

// The table owns its key strings, so they go with it.
void __t4k__hashtable_term(__t4k__hashtable_t* table) {
    free_keys(table);
    release_block(table->slots, slot_bytes(table->slot_capacity));
    release_block(table->items_key, item_block_size(table->item_capacity, table->item_size));
    table->slots = nullptr;
    table->items_key = nullptr;
    table->items_slot = nullptr;
    table->items_data = nullptr;
    table->swap_temp = nullptr;
    table->count = 0;
}

void* __t4k__hashtable_insert(__t4k__hashtable_t* table, const char* key, const void* item) {
    const Key k = hashtable_internal_calculate_hash(key);
    const Search search = hashtable_internal_search(table, k);
    check(search.found < 0, HASH_INSERT_ABSENT);
    const bool grown = table->count >= table->slot_capacity - table->slot_capacity / 3;
    if (grown) hashtable_internal_expand_slots(table);

    // The first empty slot the search met in the run of the home's keys, else the next one
    // after the run; a grown table is searched again.
    const uint32_t slot_mask = uint32_t(table->slot_capacity) - 1;
    const uint32_t base_slot = k.hash & slot_mask;
    const uint32_t slot = grown || search.empty < 0 ? hashtable_internal_free_slot(table, base_slot) : uint32_t(search.empty);
    if (table->count >= table->item_capacity) hashtable_internal_expand_items(table);
    check(!table->slots[slot].key_hash && (k.hash & slot_mask) == base_slot, HASH_INSERT_SLOT);
    check(k.hash != 0, HASH_INSERT_HASH);

    const int index = table->count;
    table->slots[slot].key_hash = k.hash;
    table->slots[slot].item_index = index;
    ++table->slots[base_slot].base_count;
    char* stored = item_at(table, index);
    memcpy(stored, item, size_t(table->item_size));
    table->items_key[index] = reinterpret_cast<uintptr_t>(key);
    table->items_slot[index] = int(slot);
    prefixes(table)[index] = k.prefix;
    ++table->count;
    return stored;
}

void __t4k__hashtable_remove(__t4k__hashtable_t* table, const char* key) {
    const int slot = hashtable_internal_find_slot(table, hashtable_internal_calculate_hash(key));
    check(slot >= 0, HASH_REMOVE_PRESENT);
    const uint32_t hash = table->slots[slot].key_hash;
    check(hash != 0, HASH_REMOVE_HASH);

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
        prefixes(table)[item] = prefixes(table)[last];
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
    const int slot = hashtable_internal_find_slot(table, hashtable_internal_calculate_hash(key));
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
    std::swap(prefixes(table)[index_a], prefixes(table)[index_b]);

    table->slots[slot_a].item_index = index_b;
    table->slots[slot_b].item_index = index_a;
}
