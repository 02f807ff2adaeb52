// errors.cpp: ERROR and ERR$, raising runtime errors, the memory probe and the "FREE" site.
#include "runtime/errors.h"

#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/startup.h"
#include "runtime/strings.h"

int ERROR = 0;
char __t4k__warn[512];
int __t4k__trap = 1;
int __t4k__option_error = 1;
void (*__t4k__error_callback)(const char* name, const char* unit, int line) = nullptr;
int __t4k__catch_set = 0;
jmp_buf __t4k__jump;

namespace {

struct ErrorMessage {
    std::string_view text;
    bool with_system_text;  // strerror(errno) follows the message
};

constexpr ErrorMessage error_messages[] = {
    {"Success", false},
    {"Trying to access illegal memory: ", true},
    {"Error opening file: ", true},
    {"Could not open library.", false},
    {"Symbol not found in library.", false},
    {"Wrong value: ", true},
    {"Unable to claim memory.", false},
    {"Unable to delete file: ", true},
    {"Could not open directory: ", true},
    {"Unable to rename file: ", true},
    {"NETWORK argument should contain colon with port number", false},
    {"Could not resolve hostname!", false},
    {"Socket error: ", true},
    {"Unable to open address: ", true},
    {"Error reading from socket: ", true},
    {"Error sending to socket: ", true},
    {"Error checking socket: ", true},
    {"Unable to bind the specified socket address: ", true},
    {"Unable to listen to socket address: ", true},
    {"Cannot accept incoming connection: ", true},
    {"Unable to remove directory: ", true},
    {"Unable to create directory: ", true},
    {"Unable to change to directory: ", true},
    {"GETENVIRON argument does not exist as environment variable", false},
    {"Unable to stat file: ", true},
    {"Search contains illegal string", false},
    {"Cannot return name: ", true},
    {"Illegal regex expression", false},
    {"Unable to create bidirectional pipes: ", true},
    {"Unable to fork process: ", true},
    {"Cannot read from pipe: ", true},
    {"Gosub nesting too deep!", false},
    {"Could not open device: ", true},
    {"Error configuring serial port: ", true},
    {"Error accessing device: ", true},
    {"Error in INPUT: ", true},
    {"Illegal value in SORT dimension!", false},
    {"Illegal option for SEARCH!", false},
    {"Invalid UTF8 string!", false},
    {"Illegal EVAL expression!", false},
    {"SSL file descriptor error!", false},
    {"SSL file descriptor pool exhausted!", false},
};
constexpr int error_count = sizeof error_messages / sizeof error_messages[0];
static_assert(error_count == 42, "one message for each code 0 to 41");

// Every message that takes the system text ends in ": " and no other does.
constexpr bool messages_consistent() {
    for (const ErrorMessage& m : error_messages)
        if (m.with_system_text != m.text.ends_with(": ")) return false;
    return true;
}
static_assert(messages_consistent());

constexpr size_t system_text_limit = 464;

// Report the error and end the process with its number, or hand it to the hook.
void report_or_hook(const char* form, const char* site, int line, const char* unit, int code) {
    if (__t4k__option_error) {
        std::fprintf(stderr, "Runtime error: %s '%s' at line %d in '%s': %s\n", form, site, line, unit,
                     ERR$(code));
        std::exit(code);
    }
    if (__t4k__error_callback) __t4k__error_callback(site, unit, line);
}

// A "FREE" site probes a block only while trapping; a runtime string's block starts 9 bytes
// before it.
bool unreadable(void* p) {
    const char* block = static_cast<const char*>(p);
    if (reinterpret_cast<uintptr_t>(p) & 1) block -= T4K_HEADER;
    return __t4k__trap && __t4k__memory__check(block, 1);
}

}  // namespace

char* ERR$(int code) {
    int saved_errno = errno;
    if (code >= 0 && code < error_count) {
        const ErrorMessage& m = error_messages[code];
        std::memcpy(__t4k__warn, m.text.data(), m.text.size());
        size_t used = m.text.size();
        if (m.with_system_text) {
            const char* system_text = std::strerror(saved_errno);
            size_t n = strnlen(system_text, system_text_limit);
            if (n > sizeof __t4k__warn - 1 - used) n = sizeof __t4k__warn - 1 - used;
            std::memcpy(__t4k__warn + used, system_text, n);
            used += n;
        }
        __t4k__warn[used] = '\0';
    }
    ERROR = 0;
    errno = saved_errno;
    return __t4k__warn;
}

void __t4k__raise_function(const char* site, int line, const char* unit, int code) {
    ERROR = code;
    report_or_hook("function", site, line, unit, code);
}

bool __t4k__raise_statement(const char* site, int line, const char* unit, int code) {
    ERROR = code;
    if (__t4k__catch_set) return true;
    report_or_hook("statement", site, line, unit, code);
    return false;
}

void __t4k__segv(int) { longjmp(__t4k__jump, 1); }

/* The probe reads each byte with a fault handler in place that jumps back here.  The
   handler runs with SIGSEGV blocked and longjmp does not restore the signal mask, so
   after a caught fault SIGSEGV is unblocked again: a later fault must still reach a
   handler instead of killing the process silently. */
__attribute__((no_sanitize("address")))
int __t4k__memory__check(const void* address, long size) {
    if (size <= 0) return 0;
    struct sigaction probe {}, previous {};
    probe.sa_handler = __t4k__segv;
    sigemptyset(&probe.sa_mask);
    sigaction(SIGSEGV, &probe, &previous);
    volatile int result = 0;
    if (setjmp(__t4k__jump) == 0) {
        const volatile unsigned char* bytes = static_cast<const volatile unsigned char*>(address);
        for (long i = 0; i < size; ++i) (void)bytes[i];
    } else {
        result = 1;
        sigset_t segv;
        sigemptyset(&segv);
        sigaddset(&segv, SIGSEGV);
        sigprocmask(SIG_UNBLOCK, &segv, nullptr);
    }
    if (__t4k__trap)
        t4k_install_signal_trap(SIGSEGV);
    else
        sigaction(SIGSEGV, &previous, nullptr);
    return result;
}

/* A block that the probe cannot read is not handed to free(): that would fault or corrupt
   the heap.  It is reported (or passed to the hook, or to the catch target) and left alone. */
bool t4k_free_or_catch(void* p, int line, const char* unit) {
    if (p == nullptr) return false;
    if (unreadable(p)) return __t4k__raise_statement("FREE", line, unit, 1);
    __t4k__free(p);
    return false;
}

void __t4k__free_site(void* p, int line, const char* unit) {
    if (p == nullptr) return;
    if (unreadable(p)) {
        ERROR = 1;
        report_or_hook("statement", "FREE", line, unit, 1);
        return;
    }
    __t4k__free(p);
}

namespace t4k {

Scratch::Scratch(int line, const char* unit, unsigned size)
    : block_(std::calloc(1, size ? size : 1)), line_(line), unit_(unit) {
    if (block_ == nullptr) std::abort();
}

Scratch::~Scratch() { __t4k__free_site(block_, line_, unit_); }

}  // namespace t4k
