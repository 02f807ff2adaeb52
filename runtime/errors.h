// errors.h: runtime error numbers, messages, the two report forms, the catch target, the memory probe.
#pragma once
#include <csetjmp>

extern int ERROR;
extern char __t4k__warn[512];
extern int __t4k__trap;
extern int __t4k__option_error;
extern void (*__t4k__error_callback)(const char* name, const char* unit, int line);
extern int __t4k__catch_set;
extern jmp_buf __t4k__jump;

char* ERR$(int code);

// Raise `code` at a function-form site: report and exit, or the hook, or nothing.
void __t4k__raise_function(const char* site, int line, const char* unit, int code);
// Raise `code` at a statement-form site.  Returns true when the running function has a
// catch target (__t4k__catch_set): the caller then goes to it.  Otherwise the report and
// exit, or the hook, happen here and false is returned (the statement goes on).
bool __t4k__raise_statement(const char* site, int line, const char* unit, int code);

// A statement-form site in a function with a catch target `label`: the resume point is
// saved here, in the statement's own frame, and control goes to the label; a later
// longjmp(__t4k__jump, 1) comes back and execution goes on after the statement.
#define T4K_RAISE_STATEMENT(site, line, unit, code, label)                                    \
    do {                                                                                      \
        if (__t4k__raise_statement((site), (line), (unit), (code)) && setjmp(__t4k__jump) == 0) \
            goto label;                                                                       \
    } while (0)

[[noreturn]] void __t4k__catch_signal(int sig);
void __t4k__segv(int sig);
int __t4k__memory__check(const void* address, long size);

// A "FREE" site: probe the block (when trapping) and release it by the freeing rule.  An
// unreadable block raises error 1 at `line` of `unit` and is left alone, not freed.
// __t4k__free_site is the site in a function without a catch target: the error is reported
// (or handed to the hook) whatever __t4k__catch_set says, never dropped.
void __t4k__free_site(void* p, int line, const char* unit);
// The same probe and release; true when the error is to go to the running function's catch
// target, which only T4K_FREE_SITE can reach.
bool t4k_free_or_catch(void* p, int line, const char* unit);

// A "FREE" site in a function with a catch target `label`: a failure goes there and may come
// back after the statement, as at any other statement site.
#define T4K_FREE_SITE(p, line, unit, label)                                             \
    do {                                                                                \
        if (t4k_free_or_catch((p), (line), (unit)) && setjmp(__t4k__jump) == 0) goto label; \
    } while (0)

namespace t4k {
// A zeroed scratch block (for example a GTK text iterator), released at a "FREE" site
// when it goes out of scope.
class Scratch {
public:
    Scratch(int line, const char* unit, unsigned size = 256);
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    template <class T> T* as() { return static_cast<T*>(block_); }
private:
    void* block_;
    int line_;
    const char* unit_;
};
}  // namespace t4k
