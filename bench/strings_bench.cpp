// Steady-state string workload: runtime strings against the same work on std::string, with heap allocations counted.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "bench/ratio_reporter.h"
#include "runtime/runtime.h"

namespace {
long allocations = 0;
}

// Every heap allocation of the process is counted; a benchmark reads the count around its loop.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* malloc(size_t size) {
    ++allocations;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    ++allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* block, size_t size) {
    ++allocations;
    return __libc_realloc(block, size);
}
}

namespace {

constexpr const char* unit = "bench.vmt";
constexpr std::string_view source = "  robot flower ladybug bee cloud  ";

// One round: a HUD label from a number, a word cut from a text and trimmed, joined again.
void runtime_round(int i, char*& label, char*& word) {
    T4K_FUNCTION(runtime_round);
    T4K_ASSIGN(label, __t4k__concat("<b>", __t4k__str(i % 1000), "</b>", nullptr));
    T4K_ASSIGN(word, __t4k__mid(1, unit, source.data(), 3 + i % 11, 8));
    T4K_ASSIGN(word, __t4k__chop(word, nullptr, 0));
    T4K_ASSIGN(label, __t4k__concat(__t4k__left(1, unit, label, 3), word, " ", label, nullptr));
}

std::string trimmed(std::string_view s) {
    constexpr std::string_view blanks = "\r\n\t ";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(blanks) - first + 1));
}

void std_round(int i, std::string& label, std::string& word) {
    label = "<b>" + std::to_string(i % 1000) + "</b>";
    word = std::string(source.substr(static_cast<size_t>(2 + i % 11), 8));
    word = trimmed(word);
    label = label.substr(0, 3) + word + " " + label;
}

void report_allocations(benchmark::State& state, long before) {
    state.counters["allocs_per_iter"] =
        benchmark::Counter(static_cast<double>(allocations - before), benchmark::Counter::kAvgIterations);
}

void BM_RuntimeStrings(benchmark::State& state) {
    T4K_FUNCTION(BM_RuntimeStrings);
    char* label = nullptr;
    char* word = nullptr;
    for (int i = 0; i < 5000; ++i) runtime_round(i, label, word);  // let the pools grow
    long before = allocations;
    int i = 0;
    for (auto _ : state) {
        runtime_round(i++, label, word);
        benchmark::DoNotOptimize(label);
    }
    report_allocations(state, before);
    __t4k__free(label);
    __t4k__free(word);
}
BENCHMARK(BM_RuntimeStrings);

void BM_StdString(benchmark::State& state) {
    std::string label, word;
    long before = allocations;
    int i = 0;
    for (auto _ : state) {
        std_round(i++, label, word);
        benchmark::DoNotOptimize(label.data());
    }
    report_allocations(state, before);
}
BENCHMARK(BM_StdString);

}  // namespace

int main(int argc, char** argv) {
    bench::RatioReporter reporter(
        {{"string-workload", "BM_RuntimeStrings", "BM_StdString", false}},
        {{"string-workload-allocations", "BM_RuntimeStrings", "", "allocs_per_iter", 1, "per round"}});
    return bench::run_with_ratios(argc, argv, reporter);
}
