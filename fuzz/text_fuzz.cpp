// Fuzz target for the string functions: arbitrary texts, counts and positions, checked against std::string_view.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "runtime/runtime.h"

namespace {

constexpr const char* unit = "fuzz.vmt";

struct Input {
    const uint8_t* data;
    size_t size;

    int32_t number() {
        int32_t v = 0;
        size_t n = size < sizeof v ? size : sizeof v;
        std::memcpy(&v, data, n);
        data += n, size -= n;
        return v;
    }
    // The bytes up to the next 0xFF (or the end): a text that may hold any other byte.
    std::string text() {
        const uint8_t* end = static_cast<const uint8_t*>(std::memchr(data, 0xFF, size));
        size_t n = end ? static_cast<size_t>(end - data) : size;
        std::string t(reinterpret_cast<const char*>(data), n);
        n += end != nullptr;
        data += n, size -= n;
        return t;
    }
};

void check(bool ok) {
    if (!ok) __builtin_trap();
}

// The text as the functions see it: up to its first zero byte.
std::string_view seen(const std::string& s) { return std::string_view(s.c_str()); }

void byte_functions(const std::string& a, const std::string& b, int32_t n, int32_t m, int where) {
    std::string_view text = seen(a), pattern = seen(b);
    char* left = __t4k__left(1, unit, a.c_str(), static_cast<unsigned>(n));
    check(left == text.substr(0, static_cast<unsigned>(n)));
    char* right = __t4k__right(1, unit, a.c_str(), static_cast<unsigned>(n));
    check(static_cast<unsigned>(n) >= text.size() ? right == text : right == text.substr(text.size() - static_cast<unsigned>(n)));
    char* mid = __t4k__mid(1, unit, a.c_str(), n, m);
    check(text.find(mid) != std::string_view::npos);
    int at = __t4k__instr(1, unit, a.c_str(), b.c_str(), n);
    size_t from = n > 0 ? static_cast<size_t>(n) - 1 : 0;
    size_t expected = pattern.empty() || from > text.size() ? std::string_view::npos : text.find(pattern, from);
    check(at == (expected == std::string_view::npos ? 0 : static_cast<int>(expected) + 1));
    char* joined = __t4k__concat(a.c_str(), b.c_str(), left, nullptr);
    check(joined == std::string(text) + std::string(pattern) + left);
    char* chopped = __t4k__chop(a.c_str(), where & 4 ? nullptr : b.c_str(), where % 5 - 1);
    check(text.find(chopped) != std::string_view::npos);
}

void utf8_functions(const std::string& a, const std::string& b, int32_t n, int32_t m) {
    __t4k__option_utf8 = 1;
    __t4k__left(1, unit, a.c_str(), static_cast<unsigned>(n));
    __t4k__right(1, unit, a.c_str(), static_cast<unsigned>(n));
    __t4k__mid(1, unit, a.c_str(), n, m);
    __t4k__instr(1, unit, a.c_str(), b.c_str(), m);
    __t4k__option_utf8 = 0;
    int chars = __t4k__ulen(1, unit, "ULEN", a.c_str(), -1);
    check(chars >= 0 && static_cast<size_t>(chars) <= seen(a).size());
    int budget = __t4k__ucs2_clen(1, unit, "LEN", a.c_str(), n);
    check(budget >= 0 && static_cast<size_t>(budget) <= seen(a).size());
    for (int from_end = 0; from_end < 2; ++from_end) {
        int bytes = __t4k__blen(1, unit, "BYTELEN", a.c_str(), m, from_end);
        check(bytes >= 0 && static_cast<size_t>(bytes) <= seen(a).size());
    }
    char encoded[5];
    int width = __t4k_utf8_conv(static_cast<unsigned>(n), encoded);
    check(width >= 1 && width <= 4 && encoded[width] == '\0');
}

void path_and_number_functions(const std::string& a, int32_t n) {
    __t4k__hex2dec(1, unit, a.c_str(), 0);
    __t4k__hex2dec(1, unit, a.c_str(), 1);
    for (int part = 0; part < 3; ++part) check(__t4k__len(__t4k__dirname(1, unit, 1, a.c_str(), part)) < 4096);
    check(__t4k__len(__t4k__dirname(1, unit, 2, a.c_str(), n)) < 4096);
    double number = 0;
    std::memcpy(&number, a.data(), a.size() < sizeof number ? 0 : sizeof number);
    check(__t4k__len(__t4k__str(a.size() < sizeof number ? n : number)) < 32);
}

/* Joining up to eleven texts, so that lists longer than the lengths concat keeps are met:
   the result is the texts in order, and the slot ends with the capacity that growing it
   part by part gives (first for the first text, then for the running length plus each
   further text plus 1).  Both forms are checked: the one C++ calls compile to, and the
   argument list that C callers (and pointers to the function) reach. */
void joining(const std::string& a, const std::string& b, int32_t n) {
    T4K_FUNCTION(joining);
    const int count = 1 + (n & 15) % 11;
    const char* texts[11];
    std::string expected;
    for (int k = 0; k < 11; ++k) {
        texts[k] = k < count ? (k & 1 ? b.c_str() : a.c_str()) : nullptr;
        if (texts[k]) expected += texts[k];
    }
    char* (*const by_list)(const char*, ...) = __t4k__concat;
    for (int form = 0; form < 2; ++form) {
        char* slot = __t4k__sbuffer[(__t4k__sbuffer_ptr + 1) % __t4k__sbuffer_size];
        size_t capacity = slot ? size_t(t4k_head(slot)->capacity) : 0;
        auto grow = [&](size_t size) { capacity = capacity > size ? capacity : 2 * size + 1; };
        size_t total = std::strlen(texts[0]);
        grow(total);
        for (int k = 1; k < count; ++k) grow((total += std::strlen(texts[k])) + 1);
        char* joined = form ? by_list(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6],
                                      texts[7], texts[8], texts[9], texts[10], nullptr)
                            : __t4k__concat(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5],
                                            texts[6], texts[7], texts[8], texts[9], texts[10], nullptr);
        check(joined == expected && __t4k__len(joined) == expected.size());
        check(size_t(t4k_head(joined)->capacity) == capacity);
    }
}

// The same texts as runtime strings, whose stored length may include zero bytes.
void runtime_string_functions(const std::string& a, const std::string& b, int32_t n, int32_t m) {
    T4K_FUNCTION(runtime_string_functions);
    char* x = __t4k_Copy_String(nullptr, a.c_str());
    x = __t4k_str_realloc(x, static_cast<unsigned>(a.size()));
    std::memcpy(x, a.data(), a.size() + 1);
    t4k_head(x)->length = static_cast<int32_t>(a.size());
    check(__t4k__len(__t4k__left(1, unit, x, static_cast<unsigned>(n))) <= a.size());
    check(__t4k__len(__t4k__mid(1, unit, x, n, m)) <= a.size());
    check(__t4k__len(__t4k__right(1, unit, x, static_cast<unsigned>(m))) <= a.size());
    __t4k__instr(1, unit, x, b.c_str(), m);
    T4K_ASSIGN(x, __t4k__concat(x, b.c_str(), x, nullptr));
    T4K_ASSIGN(x, __t4k__chop(x, b.c_str(), n & 3));
    __t4k__free(x);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    __t4k__option_error = 0;  // errors take the fallback path instead of ending the process
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    T4K_FUNCTION(LLVMFuzzerTestOneInput);
    Input in{data, size};
    int32_t n = in.number(), m = in.number();
    int where = static_cast<uint8_t>(in.number());
    std::string a = in.text(), b = in.text();
    byte_functions(a, b, n, m, where);
    utf8_functions(a, b, n, m);
    path_and_number_functions(a, n);
    runtime_string_functions(a, b, n, m);
    joining(a, b, n);
    return 0;
}
