// child.h: run code in a child process and collect its standard output, standard error and exit status.
#pragma once
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace t4k_test {

struct ChildResult {
    int status;  // exit status, or 128 + signal number when the child was killed
    std::string out;
    std::string err;
};

inline std::string read_all(int fd) {
    std::string text;
    char chunk[4096];
    for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<size_t>(n));
    close(fd);
    return text;
}

// Runs `body` in a forked child with its standard output and error captured; a body that
// returns ends the child with status 0 (after flushing stdio).
template <class Body>
ChildResult run_in_child(Body&& body) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) std::abort();
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]), close(err[0]), close(out[1]), close(err[1]);
        std::forward<Body>(body)();
        std::exit(0);
    }
    close(out[1]), close(err[1]);
    ChildResult result{};
    result.out = read_all(out[0]);
    result.err = read_all(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace t4k_test
