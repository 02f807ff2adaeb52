// hash_bench.cpp: the hash table against std::unordered_map on registry-shaped keys.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/ratio_reporter.h"
#include "runtime/hash.h"

/*
 * Keys have the registry's shape: the decimal text of a heap address (14 digits, 94...),
 * spaced like small objects.  Lookups and removals visit the keys in a shuffled order, the
 * same for both contenders; misses are addresses between the stored ones.  Each table starts
 * as the toolkit makes its own (initial capacity 10240); the map starts empty.  A key given
 * to the hash table is a heap copy that it takes over, so inserts pay for that copy, as the
 * map pays for its node.
 *
 * Inserting is measured twice.  Insert builds a new table or map each time from memory the
 * process has handed back (the heap is trimmed between iterations), as a program builds its
 * registry at start-up: the first write to each page is part of the cost.  Refill inserts the
 * same keys into the table or map emptied after the last round, whose memory is in place:
 * that is the work of inserting alone.
 */

namespace {

constexpr int64_t kFirstAddress = 94558003376512;
constexpr int kObjectSpacing = 48;
constexpr int kRegistryCapacity = 10240;

struct Keys {
    std::vector<std::string> present, absent;
    std::vector<const char*> present_text, absent_text;
    std::vector<std::string> shuffled;
    std::vector<const char*> shuffled_text;
};

const Keys& keys_for(int n) {
    static std::unordered_map<int, Keys> made;
    auto [it, fresh] = made.try_emplace(n);
    Keys& keys = it->second;
    if (!fresh) return keys;
    for (int i = 0; i < n; ++i) {
        keys.present.push_back(std::to_string(kFirstAddress + int64_t(kObjectSpacing) * i));
        keys.absent.push_back(std::to_string(kFirstAddress + int64_t(kObjectSpacing) * i + kObjectSpacing / 2));
    }
    keys.shuffled = keys.present;
    std::shuffle(keys.shuffled.begin(), keys.shuffled.end(), std::mt19937(12345));
    std::shuffle(keys.absent.begin(), keys.absent.end(), std::mt19937(54321));
    for (auto& k : keys.present) keys.present_text.push_back(k.c_str());
    for (auto& k : keys.absent) keys.absent_text.push_back(k.c_str());
    for (auto& k : keys.shuffled) keys.shuffled_text.push_back(k.c_str());
    return keys;
}

void insert_all(__t4k__hashtable_t* table, const Keys& keys) {
    int64_t value = 0;
    for (const char* key : keys.present_text) {
        __t4k__hashtable_insert(table, strdup(key), &value);
        ++value;
    }
}

void fill(__t4k__hashtable_t* table, const Keys& keys) {
    __t4k__hashtable_init(table, 8, kRegistryCapacity, nullptr);
    insert_all(table, keys);
}

using Map = std::unordered_map<std::string, int64_t>;

void fill(Map* map, const Keys& keys) {
    int64_t value = 0;
    for (const auto& key : keys.present) map->emplace(key, value++);
}

void BM_HashInsert(benchmark::State& state) {
    const Keys& keys = keys_for(int(state.range(0)));
    for (auto _ : state) {
        __t4k__hashtable_t table;
        fill(&table, keys);
        state.PauseTiming();
        __t4k__hashtable_term(&table);
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MapInsert(benchmark::State& state) {
    const Keys& keys = keys_for(int(state.range(0)));
    for (auto _ : state) {
        auto* map = new Map;
        fill(map, keys);
        state.PauseTiming();
        delete map;
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_HashRefill(benchmark::State& state) {
    const Keys& keys = keys_for(int(state.range(0)));
    __t4k__hashtable_t table;
    fill(&table, keys);
    for (auto _ : state) {
        state.PauseTiming();
        __t4k__hashtable_clear(&table);
        state.ResumeTiming();
        insert_all(&table, keys);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    __t4k__hashtable_term(&table);
}

void BM_MapRefill(benchmark::State& state) {
    const Keys& keys = keys_for(int(state.range(0)));
    Map map;
    fill(&map, keys);
    for (auto _ : state) {
        state.PauseTiming();
        map.clear();
        state.ResumeTiming();
        fill(&map, keys);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void hash_find(benchmark::State& state, const std::vector<const char*>& probes) {
    const Keys& keys = keys_for(int(state.range(0)));
    __t4k__hashtable_t table;
    fill(&table, keys);
    for (auto _ : state)
        for (const char* key : probes) benchmark::DoNotOptimize(__t4k__hashtable_find(&table, key));
    state.SetItemsProcessed(state.iterations() * int64_t(probes.size()));
    __t4k__hashtable_term(&table);
}

void map_find(benchmark::State& state, const std::vector<std::string>& probes) {
    const Keys& keys = keys_for(int(state.range(0)));
    Map map;
    fill(&map, keys);
    for (auto _ : state)
        for (const auto& key : probes) benchmark::DoNotOptimize(map.find(key));
    state.SetItemsProcessed(state.iterations() * int64_t(probes.size()));
}

// The registry holds its keys as C texts; a map lookup from one first makes a std::string.
void map_find_text(benchmark::State& state, const std::vector<const char*>& probes) {
    const Keys& keys = keys_for(int(state.range(0)));
    Map map;
    fill(&map, keys);
    for (auto _ : state)
        for (const char* key : probes) benchmark::DoNotOptimize(map.find(key));
    state.SetItemsProcessed(state.iterations() * int64_t(probes.size()));
}

void BM_HashFindHit(benchmark::State& state) { hash_find(state, keys_for(int(state.range(0))).shuffled_text); }
void BM_MapFindHit(benchmark::State& state) { map_find(state, keys_for(int(state.range(0))).shuffled); }
void BM_MapFindHitText(benchmark::State& state) { map_find_text(state, keys_for(int(state.range(0))).shuffled_text); }
void BM_HashFindMiss(benchmark::State& state) { hash_find(state, keys_for(int(state.range(0))).absent_text); }
void BM_MapFindMiss(benchmark::State& state) { map_find(state, keys_for(int(state.range(0))).absent); }
void BM_MapFindMissText(benchmark::State& state) { map_find_text(state, keys_for(int(state.range(0))).absent_text); }

void BM_HashRemove(benchmark::State& state) {
    const Keys& keys = keys_for(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        __t4k__hashtable_t table;
        fill(&table, keys);
        state.ResumeTiming();
        for (const char* key : keys.shuffled_text) __t4k__hashtable_remove(&table, key);
        state.PauseTiming();
        __t4k__hashtable_term(&table);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MapRemove(benchmark::State& state) {
    const Keys& keys = keys_for(int(state.range(0)));
    Map map;
    for (auto _ : state) {
        state.PauseTiming();
        fill(&map, keys);
        state.ResumeTiming();
        for (const auto& key : keys.shuffled) map.erase(key);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_HashInsert)->Apply(sizes);
BENCHMARK(BM_MapInsert)->Apply(sizes);
BENCHMARK(BM_HashRefill)->Apply(sizes);
BENCHMARK(BM_MapRefill)->Apply(sizes);
BENCHMARK(BM_HashFindHit)->Apply(sizes);
BENCHMARK(BM_MapFindHit)->Apply(sizes);
BENCHMARK(BM_MapFindHitText)->Apply(sizes);
BENCHMARK(BM_HashFindMiss)->Apply(sizes);
BENCHMARK(BM_MapFindMiss)->Apply(sizes);
BENCHMARK(BM_MapFindMissText)->Apply(sizes);
BENCHMARK(BM_HashRemove)->Apply(sizes);
BENCHMARK(BM_MapRemove)->Apply(sizes);

/* One speed line per operation and size: the map's time over the table's.  The heap's
   thresholds for mapping and trimming are pinned at their defaults: left alone, the C library
   raises them after the first large block is freed, so each contender would meet fresh or
   recycled memory depending on what ran before it, not on what it does itself. */
int main(int argc, char** argv) {
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    std::vector<bench::Comparison> rows;
    for (const char* size : {"10000", "100000", "1000000"})
        for (const char* operation : {"Insert", "Refill", "FindHit", "FindMiss", "Remove"})
            rows.push_back({std::string("hash-") + operation + "-" + size, std::string("BM_Hash") + operation + "/" + size,
                            std::string("BM_Map") + operation + "/" + size, true});
    bench::RatioReporter reporter(rows);
    return bench::run_with_ratios(argc, argv, reporter);
}
