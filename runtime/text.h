// text.h: the string functions (trim, join, cut, search, numbers, paths, system name, UTF-8).
#pragma once
#include <cstddef>
#include <type_traits>

#include "runtime/strings.h"

extern const char __t4k__chop_default[5];
extern int __t4k__option_utf8;

char* __t4k__chop(const char* text, const char* set, int where);
char* __t4k__concat(const char* first, ...);  // ends at the first null argument

/* A join written in C++ takes this form instead: the texts arrive as an array with their
   lengths, measured where the call is written (a literal's length is known there), and no
   argument list is walked.  Texts after the first null are neither measured nor joined. */
template <typename... Parts, std::enable_if_t<(std::is_convertible_v<Parts, const char*> && ...), int> = 0>
inline char* __t4k__concat(const char* first, Parts... rest) {
    const char* const texts[] = {first, static_cast<const char*>(rest)...};
    int count = 1;
    bool ended = false;
    auto length_until_null = [&](const char* text) {
        ended = ended || text == nullptr;
        count += !ended;
        return ended ? size_t{0} : t4k_part_length(text);
    };
    const size_t lengths[] = {t4k_part_length(first), length_until_null(rest)...};  // in order
    return t4k_temporary_join_measured(texts, lengths, count);
}
int __t4k__hex2dec(int line, const char* unit, const char* text, int base2);
char* __t4k__dirname(int line, const char* unit, int which, const char* path, int part = 0);
int __t4k__instr(int line, const char* unit, const char* text, const char* pattern, int start);
char* __t4k__left(int line, const char* unit, const char* text, unsigned count);
char* __t4k__mid(int line, const char* unit, const char* text, int start, int count = -1);
char* __t4k__right(int line, const char* unit, const char* text, unsigned count);
char* __t4k__os(int line, const char* unit);
char* __t4k__str(double number);
int __t4k__ulen(int line, const char* unit, const char* name, const char* text, int bytes);
int __t4k__ucs2_clen(int line, const char* unit, const char* name, const char* text, int bytes);
int __t4k__blen(int line, const char* unit, const char* name, const char* text, int count, int from_end);
int __t4k_utf8_conv(unsigned code_point, char* out);

// VAL: the leading numeric text of `text` as a double, else 0.
double __t4k__val(const char* text);
