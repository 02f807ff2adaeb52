// text.h: the string functions (trim, join, cut, search, numbers, paths, system name, UTF-8).
#pragma once

extern const char __t4k__chop_default[5];
extern int __t4k__option_utf8;

char* __t4k__chop(const char* text, const char* set, int where);
char* __t4k__concat(const char* first, ...);  // ends at the first null argument
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
