// hash.h: the hash table (open addressing over power-of-two slots, dense items in insertion order).
#pragma once
#include <cstdint>

struct __t4k__hashtable_internal_slot_t {
    uint32_t key_hash;   // 0: empty slot
    int32_t item_index;
    int32_t base_count;  // keys whose home is this slot
};

struct __t4k__hashtable_t {
    void* memctx;
    int count;
    int item_size;
    __t4k__hashtable_internal_slot_t* slots;
    int slot_capacity;
    uint64_t* items_key;  // cell i: the key of item i (a char*, widened)
    int* items_slot;
    void* items_data;
    int item_capacity;
    void* swap_temp;
};

void __t4k__hashtable_init(__t4k__hashtable_t* table, int item_size, int initial_capacity, void* memctx);
void __t4k__hashtable_term(__t4k__hashtable_t* table);
void* __t4k__hashtable_insert(__t4k__hashtable_t* table, const char* key, const void* item);
void __t4k__hashtable_remove(__t4k__hashtable_t* table, const char* key);
void __t4k__hashtable_clear(__t4k__hashtable_t* table);
void* __t4k__hashtable_find(const __t4k__hashtable_t* table, const char* key);
int __t4k__hashtable_count(const __t4k__hashtable_t* table);
void* __t4k__hashtable_items(const __t4k__hashtable_t* table);
uint64_t* __t4k__hashtable_keys(const __t4k__hashtable_t* table);
void __t4k__hashtable_swap(__t4k__hashtable_t* table, int index_a, int index_b);
uint64_t __t4k__HashFNV1a(const char* key);

// The standard assertion report and abort, also for the runtime units built on the table.
[[noreturn]] void t4k_assertion_failed(const char* expression, const char* unit, unsigned line, const char* function);
