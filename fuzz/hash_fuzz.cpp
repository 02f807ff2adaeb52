// hash_fuzz.cpp: random insert/remove/find/swap/clear on the hash table, checked against a model.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "fuzz/input.h"
#include "runtime/hash.h"

/*
 * The input is a program.  Its first byte picks the initial capacity (small, so growth
 * happens early and homes collide); every following byte is an operation followed by its
 * operands.  Keys come from a small numbered family, so they return often, from a family of
 * texts that share long beginnings, or are raw bytes taken from the input, so odd texts (high
 * bytes, near-duplicates, the empty text) appear.
 * The model is an unordered_map for the values plus a vector for the item order, which
 * removal and swap change exactly as the table must.
 */

namespace {

using fuzz::Input;

std::string next_key(Input& in) {
    const uint8_t selector = in.byte();
    if (selector < 192) return std::to_string(94558003376512LL + 48 * (selector % 96)) + (selector >= 96 ? "x" : "");
    // Keys that share their first bytes and differ around the 16 a lookup compares first.
    if (selector < 224) return std::string("0123456789abcdefghij").substr(0, 4 + selector % 18) + (selector & 1 ? "" : "z");
    std::string raw;
    for (int n = selector - 224; n > 0 && in.size; --n) {
        const char c = char(in.byte());
        if (c) raw += c;
    }
    return raw;
}

struct Model {
    std::unordered_map<std::string, int64_t> values;
    std::vector<std::string> order;
};

int64_t item(const __t4k__hashtable_t& t, int i) { return static_cast<const int64_t*>(__t4k__hashtable_items(&t))[i]; }
const char* key(const __t4k__hashtable_t& t, int i) {
    return reinterpret_cast<const char*>(__t4k__hashtable_keys(&t)[i]);
}

void agree(const __t4k__hashtable_t& t, const Model& model) {
    if (__t4k__hashtable_count(&t) != int(model.order.size())) abort();
    for (size_t i = 0; i < model.order.size(); ++i) {
        if (model.order[i] != key(t, int(i))) abort();
        if (item(t, int(i)) != model.values.at(model.order[i])) abort();
        const auto* found = static_cast<const int64_t*>(__t4k__hashtable_find(&t, model.order[i].c_str()));
        if (found != static_cast<const int64_t*>(__t4k__hashtable_items(&t)) + i) abort();
    }
    const uint32_t mask = uint32_t(t.slot_capacity) - 1;
    std::vector<int> homes(size_t(t.slot_capacity), 0);
    int occupied = 0;
    for (int s = 0; s < t.slot_capacity; ++s) {
        if (!t.slots[s].key_hash) continue;
        ++occupied;
        ++homes[t.slots[s].key_hash & mask];
        if (t.items_slot[t.slots[s].item_index] != s) abort();
    }
    for (int s = 0; s < t.slot_capacity; ++s)
        if (t.slots[s].base_count != homes[size_t(s)]) abort();
    if (occupied != t.count || t.count > t.slot_capacity - t.slot_capacity / 3) abort();
}

void run(Input in) {
    __t4k__hashtable_t table;
    const uint8_t first = in.byte();
    // 255: the default capacity; 254: the registry's, whose blocks are mapped from the system.
    __t4k__hashtable_init(&table, 8, first == 255 ? -1 : first == 254 ? 10240 : first % 40, nullptr);
    Model model;
    int64_t counter = 0;
    while (in.size) {
        const uint8_t op = in.byte() % 16;
        if (op < 6) {
            const std::string k = next_key(in);
            if (model.values.count(k)) continue;
            ++counter;
            const void* stored = __t4k__hashtable_insert(&table, strdup(k.c_str()), &counter);
            if (*static_cast<const int64_t*>(stored) != counter) abort();
            model.values[k] = counter;
            model.order.push_back(k);
        } else if (op < 9) {
            const std::string k = next_key(in);
            const auto it = model.values.find(k);
            if (it == model.values.end()) continue;
            __t4k__hashtable_remove(&table, k.c_str());
            size_t hole = 0;
            while (model.order[hole] != k) ++hole;
            model.order[hole] = model.order.back();
            model.order.pop_back();
            model.values.erase(it);
        } else if (op < 12) {
            const std::string k = next_key(in);
            const auto* found = static_cast<const int64_t*>(__t4k__hashtable_find(&table, k.c_str()));
            const auto it = model.values.find(k);
            if ((found != nullptr) != (it != model.values.end())) abort();
            if (found && *found != it->second) abort();
        } else if (op < 14) {
            const int span = int(model.order.size()) + 3;
            const int a = int(in.byte()) % span - 1, b = int(in.byte()) % span - 1;
            __t4k__hashtable_swap(&table, a, b);
            const int n = int(model.order.size());
            if (a >= 0 && b >= 0 && a < n && b < n) std::swap(model.order[size_t(a)], model.order[size_t(b)]);
        } else if (op == 14) {
            agree(table, model);
        } else if (in.byte() < 8) {
            __t4k__hashtable_clear(&table);
            model = Model{};
        }
        if (__t4k__hashtable_count(&table) != int(model.order.size())) abort();
    }
    agree(table, model);
    __t4k__hashtable_term(&table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    run(Input{data, size});
    return 0;
}
