// toolkit.h: what the toolkit's tests share: starting the toolkit once, running the main loop
// until it is idle, capturing standard output, and running a child program.
#pragma once
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <gtk/gtk.h>
#include "wex/wex.h"

namespace wex_test {
// INIT once per process (CTest runs each test in its own process; a direct run shares one).
inline void start_toolkit() {
    static bool started = false;
    if (started) return;
    T4K_START(0, nullptr);
    wex::INIT();
    started = true;
}

// Let GTK map, size and draw what is pending, including the idle resizes that follow.
inline void run_until_idle() {
    for (int round = 0; round < 20; ++round) {
        while (gtk_events_pending()) gtk_main_iteration();
        gdk_flush();
        g_usleep(5000);
    }
}

inline std::string read_file(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Standard output of this process, from construction to text().
class StdoutCapture {
public:
    StdoutCapture() : path_(scratch_path()) {
        std::fflush(stdout);
        saved_ = dup(1);
        const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 1);
        close(fd);
    }
    ~StdoutCapture() { restore(); }
    std::string text() {
        restore();
        return read_file(path_);
    }

private:
    static std::string scratch_path() {
        char name[] = "/tmp/wex_stdout_XXXXXX";
        close(mkstemp(name));
        return name;
    }
    void restore() {
        if (saved_ < 0) return;
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
        saved_ = -1;
    }
    std::string path_;
    int saved_ = -1;
};

struct Outcome {
    int status;  // exit status, or 128 + signal number
    std::string out, err;
};

// Run `body` in a forked child with GTK's criticals not fatal, and collect what it printed.
// The child shares the parent's X connection: bodies must not talk to the X server.
template <class Body> Outcome run_in_child(Body body) {
    char out_name[] = "/tmp/wex_out_XXXXXX", err_name[] = "/tmp/wex_err_XXXXXX";
    const int out = mkstemp(out_name), err = mkstemp(err_name);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(out, 1);
        dup2(err, 2);
        g_log_set_always_fatal(G_LOG_LEVEL_ERROR);
        body();
        std::fflush(nullptr);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    close(out);
    close(err);
    Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), read_file(out_name),
                    read_file(err_name)};
    unlink(out_name);
    unlink(err_name);
    return outcome;
}

// Run a shell command line in a child process and collect what it printed.
inline Outcome run_command(const std::string& command) {
    return run_in_child([&] {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    });
}

// The file the dynamic loader opens for a library name on this system.
inline std::string library_file(const char* name) {
    void* handle = dlopen(name, RTLD_LAZY);
    if (!handle) return "";
    link_map* map = nullptr;
    dlinfo(handle, RTLD_DI_LINKMAP, &map);
    return map ? map->l_name : "";
}

// The test program that starts the toolkit (tests/wex/support/init_probe.cpp), run with some
// libraries hidden in a private mount namespace and stand-ins for others.
struct Probe {
    std::vector<const char*> hidden;    // library names whose files read as empty
    std::vector<const char*> standins;  // stand-in directories put on LD_LIBRARY_PATH
    std::vector<const char*> options;   // given to WEXOPTIONS one by one
    std::string environment;            // assignments before the program
};

inline Outcome run_probe(const Probe& probe) {
    std::string command = "unshare -m sh -c '";
    for (const char* library : probe.hidden) {
        const std::string file = library_file(library);
        command += "mount --bind /dev/null " + (file.empty() ? std::string(library) : file) + " && ";
    }
    command += "LD_LIBRARY_PATH=";
    for (const char* standin : probe.standins) command += std::string(WEX_STANDIN_DIR "/") + standin + ":";
    command += " " + probe.environment + " exec " WEX_PROBE_PROGRAM;
    for (const char* option : probe.options) command += std::string(" \"") + option + "\"";
    return run_command(command + "'");
}

// The shape of a GTK table, as the TABLE option asks for it.
struct TableShape {
    guint columns = 0, rows = 0;
    gboolean homogeneous = FALSE;
    bool operator==(const TableShape&) const = default;
};
inline TableShape table_shape(void* table) {
    TableShape shape;
    g_object_get(table, "n-columns", &shape.columns, "n-rows", &shape.rows, "homogeneous", &shape.homogeneous, nullptr);
    return shape;
}

inline bool can_hide_libraries() { return getuid() == 0 && run_command("unshare -m true").status == 0; }
}  // namespace wex_test
