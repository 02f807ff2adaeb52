// text.cpp: the string functions: trim, join, cut, search, numbers, paths, system name, UTF-8.
#include "runtime/text.h"

#include <sys/utsname.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "runtime/errors.h"
#include "runtime/strings.h"

#include <libgen.h>  // last: its macro gives the POSIX basename, which string.h would otherwise hide

constexpr char __t4k__chop_default[5] = "\r\n\t ";  // extern: declared so in text.h
int __t4k__option_utf8 = 0;

namespace {

constexpr unsigned path_size = 4096;
constexpr unsigned os_size = 512;
constexpr unsigned number_size = 32;

enum { trim_both = 0, trim_start = 1, trim_end = 2 };
enum { realpath_of = 0, basename_of = 1, dirname_of = 2 };
enum { without_extension = 1, extension_only = 2 };

// A text as bytes; runtime strings bring their stored length, null is empty.
inline std::string_view view_of(const char* text) {
    return text ? std::string_view(text, t4k_length(text)) : std::string_view();
}

char* temporary_of(std::string_view part) { return t4k_temporary_copy(part.data(), part.size()); }

void set_length(char* text, size_t length) {
    text[length] = '\0';
    t4k_head(text)->length = static_cast<int32_t>(length);
}

/* UTF-8 counting looks at lead bytes only: the width a lead byte announces is skipped
   without checking the continuation bytes, but never beyond the end of the text. */
int lead_width(unsigned char c) {
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return c < 0x80 ? 1 : 0;
}

// Characters whose first byte lies within the first `budget` bytes; -1 for invalid UTF-8.
long chars_within(std::string_view s, size_t budget) {
    if (budget > s.size()) budget = s.size();
    long chars = 0;
    for (size_t i = 0; i < budget; ++chars) {
        int width = lead_width(static_cast<unsigned char>(s[i]));
        if (width == 0) return -1;
        i += static_cast<size_t>(width);
    }
    return chars;
}

// Bytes taken by the first `chars` characters, at most the whole text; -1 for invalid UTF-8.
long bytes_of_first(std::string_view s, long chars) {
    size_t i = 0;
    for (long k = 0; k < chars && i < s.size(); ++k) {
        int width = lead_width(static_cast<unsigned char>(s[i]));
        if (width == 0) return -1;
        i += static_cast<size_t>(width);
    }
    return static_cast<long>(i < s.size() ? i : s.size());
}

int utf8_failure(int line, const char* unit, const char* name, const char* text, bool print_text) {
    if (print_text) std::fprintf(stderr, "Cannot decode UTF-8 string: '%s'\n", text);
    __t4k__raise_function(name, line, unit, 38);
    return 0;
}

// Trim sets are a few characters long, where comparing them one by one beats a call to memchr.
inline bool in_set(std::string_view set, char c) {
    if (set.size() > 16) return set.find(c) != std::string_view::npos;
    for (char member : set)
        if (member == c) return true;
    return false;
}

// The default set's characters all lie below 64: one bit each in a word.
constexpr uint64_t chop_default_bits = [] {
    uint64_t bits = 0;
    for (char c : std::string_view(__t4k__chop_default)) bits |= uint64_t{1} << c;
    return bits;
}();
inline bool in_default_set(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 64 && (chop_default_bits >> code & 1);
}

// Trim `s` at the start, the end or both by `in_set`; false when trimming the start empties it.
template <typename InSet>
inline bool trim_by(std::string_view& s, int where, InSet in_set) {
    if (where != trim_end) {
        while (!s.empty() && in_set(s.front())) s.remove_prefix(1);
        if (s.empty()) return false;
    }
    if (where != trim_start)
        while (!s.empty() && in_set(s.back())) s.remove_suffix(1);
    return true;
}

int binary_value(int line, const char* unit, std::string_view digits) {
    uint32_t value = 0;  // shifting drops every digit but the last 32
    for (char c : digits) {
        if (c != '0' && c != '1') {
            __t4k__raise_function("DEC", line, unit, 5);
            return 0;
        }
        value = value << 1 | (c == '1');
    }
    return static_cast<int>(value);
}

// Cut a base name at its last dot: the name without its extension, or the extension alone.
size_t apply_extension_part(char* name, size_t length, int part) {
    const char* dot = static_cast<const char*>(memrchr(name, '.', length));
    if (part == without_extension) return dot ? static_cast<size_t>(dot - name) : length;
    if (part != extension_only) return length;
    if (dot == nullptr) return 0;
    size_t extension = length - static_cast<size_t>(dot - name) - 1;
    std::memmove(name, dot + 1, extension);
    return extension;
}

void copy_path(char* out, const char* path) {
    std::strncpy(out, path, path_size - 1);
    out[path_size - 1] = '\0';
}

struct Span {
    long offset;
    long length;
};

/* MID$ positions: start ≥ 1 counts from the front, start ≤ 0 from the end (0 is the end,
   -1 the last unit).  A start before the first unit is clamped to it.  Returns false when
   the offset lies beyond the end. */
bool mid_span(long length, long start, long count, Span& span) {
    span.offset = start >= 1 ? start - 1 : length + start;
    if (span.offset < 0) span.offset = 0;
    if (span.offset > length) return false;
    span.length = count >= 0 && span.offset + count <= length ? count : length - span.offset;
    return true;
}

char* mid_utf8(int line, const char* unit, const char* text, std::string_view s, int start, int count) {
    long chars = chars_within(s, s.size());
    Span span;
    if (chars < 0) {
        utf8_failure(line, unit, "MID$", text, true);
        return EmptyString;
    }
    if (!mid_span(chars, start, count, span)) return EmptyString;
    std::string_view rest = s.substr(static_cast<size_t>(bytes_of_first(s, span.offset)));
    return temporary_of(rest.substr(0, static_cast<size_t>(bytes_of_first(rest, span.length))));
}

}  // namespace

char* __t4k__chop(const char* text, const char* set, int where) {
    if (text == nullptr) return nullptr;
    std::string_view s = view_of(text);
    if (s.empty()) return const_cast<char*>(text);
    if (set == nullptr) return trim_by(s, trim_both, in_default_set) ? temporary_of(s) : EmptyString;
    if (where != trim_both && where != trim_start && where != trim_end) return temporary_of(s);
    const std::string_view trim = view_of(set);
    return trim_by(s, where, [trim](char c) { return in_set(trim, c); }) ? temporary_of(s) : EmptyString;
}

char* __t4k__concat(const char* first, ...) {
    va_list rest, again;
    va_start(rest, first);
    va_start(again, first);
    char* joined = t4k_temporary_join(first, rest, again);
    va_end(again);
    va_end(rest);
    return joined;
}

int __t4k__hex2dec(int line, const char* unit, const char* text, int base2) {
    if (text == nullptr) text = "";
    if (base2) return binary_value(line, unit, view_of(text));
    unsigned value = 0;
    if (std::sscanf(text, "%X", &value) == EOF && __t4k__trap) {
        __t4k__raise_function("DEC", line, unit, 5);
        return 0;
    }
    return static_cast<int>(value);
}

char* __t4k__dirname(int line, const char* unit, int which, const char* path, int part) {
    if (view_of(path).empty()) return EmptyString;
    char* out = t4k_temporary(path_size);
    std::unique_ptr<char, decltype(&std::free)> copy(__t4k__strdup(path), &std::free);
    if (which == dirname_of) copy_path(out, dirname(copy.get()));
    if (which == basename_of) copy_path(out, basename(copy.get()));
    if (which == realpath_of && realpath(path, out) == nullptr) {
        if (__t4k__trap) {
            __t4k__raise_function("REALPATH$", line, unit, 26);
            return nullptr;
        }
        copy_path(out, "Error getting real path");
    }
    out[path_size - 1] = '\0';
    size_t length = std::strlen(out);
    if (which == basename_of) length = apply_extension_part(out, length, part);
    set_length(out, length);
    return out;
}

int __t4k__instr(int line, const char* unit, const char* text, const char* pattern, int start) {
    if (text == nullptr || pattern == nullptr) return 0;
    std::string_view s = view_of(text), p = view_of(pattern);
    if (p.empty()) return 0;
    if (start > 0 && static_cast<size_t>(start) > s.size()) return 0;
    size_t at = s.find(p, start > 0 ? static_cast<size_t>(start) - 1 : 0);
    if (at == std::string_view::npos) return 0;
    if (__t4k__option_utf8) return __t4k__ucs2_clen(line, unit, "INSTR", text, static_cast<int>(at + 1));
    return static_cast<int>(at + 1);
}

char* __t4k__left(int line, const char* unit, const char* text, unsigned count) {
    if (text == nullptr) return nullptr;
    std::string_view s = view_of(text);
    if (count >= s.size()) return temporary_of(s);  // negative counts arrive huge
    size_t bytes = __t4k__option_utf8 ? __t4k__blen(line, unit, "LEFT$", text, static_cast<int>(count), 0) : count;
    return temporary_of(s.substr(0, bytes));
}

char* __t4k__right(int line, const char* unit, const char* text, unsigned count) {
    if (text == nullptr) return nullptr;
    std::string_view s = view_of(text);
    if (count >= s.size()) return temporary_of(s);
    size_t bytes = __t4k__option_utf8 ? __t4k__blen(line, unit, "RIGHT$", text, static_cast<int>(count), 1) : count;
    return temporary_of(s.substr(s.size() - bytes));
}

char* __t4k__mid(int line, const char* unit, const char* text, int start, int count) {
    if (text == nullptr) return EmptyString;
    std::string_view s = view_of(text);
    if (__t4k__option_utf8) return mid_utf8(line, unit, text, s, start, count);
    Span span;
    if (!mid_span(static_cast<long>(s.size()), start, count, span)) return EmptyString;
    return temporary_of(s.substr(static_cast<size_t>(span.offset), static_cast<size_t>(span.length)));
}

char* __t4k__os(int line, const char* unit) {
    char* out = t4k_temporary(os_size);
    struct utsname names;
    if (uname(&names) != 0) {
        if (!__t4k__trap) return out;
        __t4k__raise_function("OS$", line, unit, 26);
        return nullptr;
    }
    int written = std::snprintf(out, os_size, "%s %s", names.sysname, names.machine);
    set_length(out, written < 0 ? 0 : std::min<size_t>(static_cast<size_t>(written), os_size - 1));
    return out;
}

/* Whole numbers are written as 32-bit integers.  Values outside that range (infinities
   too) come out as INT32_MIN, the value the processor's truncating conversion gives, but
   without the undefined out-of-range conversion in C++. */
char* __t4k__str(double number) {
    char* out = t4k_temporary(number_size);
    const bool fits = number >= INT32_MIN && number <= INT32_MAX;  // NaN does not
    const int32_t truncated = fits ? static_cast<int32_t>(number) : INT32_MIN;
    int written;
    if (fits ? truncated == number : number == std::floor(number)) {
        written = static_cast<int>(std::to_chars(out, out + number_size, truncated).ptr - out);
    } else {
        written = std::snprintf(out, number_size, "%g", number);
    }
    set_length(out, static_cast<size_t>(written));
    return out;
}

int __t4k__ucs2_clen(int line, const char* unit, const char* name, const char* text, int bytes) {
    std::string_view s = view_of(text);
    if (s.empty() || bytes <= 0) return 0;
    long chars = chars_within(s, static_cast<size_t>(bytes));
    if (chars < 0) return utf8_failure(line, unit, name, text, true);
    return static_cast<int>(chars);
}

int __t4k__ulen(int line, const char* unit, const char* name, const char* text, int bytes) {
    if (text == nullptr) return 0;
    if (bytes >= 0) return __t4k__ucs2_clen(line, unit, "ULEN", text, bytes);
    std::string_view s = view_of(text);
    long chars = chars_within(s, s.size());
    if (chars < 0) return utf8_failure(line, unit, name, text, false);
    return static_cast<int>(chars);
}

int __t4k__blen(int line, const char* unit, const char* name, const char* text, int count, int from_end) {
    std::string_view s = view_of(text);
    if (!from_end) {
        if (count <= 0 || s.empty()) return 0;
        long bytes = bytes_of_first(s, count);
        if (bytes < 0) return utf8_failure(line, unit, name, text, true);
        return static_cast<int>(bytes);
    }
    if (s.empty()) return 0;
    long chars = chars_within(s, s.size());
    if (chars < 0) return utf8_failure(line, unit, "BYTELEN", text, false);
    if (count >= chars) return static_cast<int>(s.size());
    return static_cast<int>(s.size()) - static_cast<int>(bytes_of_first(s, chars - count));
}

int __t4k_utf8_conv(unsigned code_point, char* out) {
    auto byte = [](unsigned v) { return static_cast<char>(v & 0xFF); };
    auto follow = [&](int shift) { return byte(0x80 | ((code_point >> shift) & 0x3F)); };
    int n;
    if (code_point < 0x80) {
        out[0] = byte(code_point);
        n = 1;
    } else if (code_point < 0x800) {
        out[0] = byte(0xC0 | (code_point >> 6));
        out[1] = follow(0);
        n = 2;
    } else if (code_point <= 0xFFFF) {
        out[0] = byte(0xE0 | (code_point >> 12));
        out[1] = follow(6);
        out[2] = follow(0);
        n = 3;
    } else {
        out[0] = byte(0xF0 | ((code_point >> 18) & 0x07));
        out[1] = follow(12);
        out[2] = follow(6);
        out[3] = follow(0);
        n = 4;
    }
    out[n] = '\0';
    return n;
}

double __t4k__val(const char* text) { return text ? std::strtod(text, nullptr) : 0.0; }
