// observer.cpp: preloaded into the probe program by the locator tests.  It writes every dlopen
// and access call, its name and whether it succeeded, as a line of the file WEX_TEST_LOG names,
// and passes each call on unchanged; and uname reports the system WEX_TEST_SYSTEM names, so that
// this machine can show what the toolkit looks for on another.  Without those two variables it
// changes and writes nothing.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {
template <class F> F next_definition(const char* name) { return reinterpret_cast<F>(dlsym(RTLD_NEXT, name)); }

void log_call(const char* call, const char* name, bool succeeded) {
    const char* log = std::getenv("WEX_TEST_LOG");
    if (!log) return;
    char line[4352];
    const int length = std::snprintf(line, sizeof line, "%s %s %s\n", call, name ? name : "(null)",
                                     succeeded ? "ok" : "failed");
    const int fd = open(log, O_WRONLY | O_APPEND | O_CREAT, 0600);
    if (fd < 0) return;
    if (write(fd, line, size_t(length)) != length) std::perror(log);
    close(fd);
}
}  // namespace

extern "C" {
void* dlopen(const char* file, int mode) {
    static auto real = next_definition<void* (*)(const char*, int)>("dlopen");
    void* handle = real(file, mode);
    log_call("dlopen", file, handle != nullptr);
    return handle;
}

int access(const char* file, int mode) {
    static auto real = next_definition<int (*)(const char*, int)>("access");
    const int result = real(file, mode);
    log_call("access", file, result == 0);
    return result;
}

int uname(struct utsname* names) {
    static auto real = next_definition<int (*)(struct utsname*)>("uname");
    const int result = real(names);
    if (const char* system = std::getenv("WEX_TEST_SYSTEM"); system && result == 0)
        std::snprintf(names->sysname, sizeof names->sysname, "%s", system);
    return result;
}
}
