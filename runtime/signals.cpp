// signals.cpp: the traps for the four fatal signals and their messages.
#include <signal.h>
#include <unistd.h>

#include <string_view>

#include "runtime/errors.h"
#include "runtime/startup.h"

namespace {

struct SignalMessage {
    int signal;
    std::string_view text;
};

constexpr SignalMessage signal_messages[] = {
    {SIGILL,
     "ERROR: signal for ILLEGAL INSTRUCTION received - executing the program on other hardware? "
     "Try to recompile the program from scratch.\n"},
    {SIGABRT,
     "ERROR: signal ABORT received - internal error. Try to compile the program with TRAP LOCAL to "
     "find the cause.\n"},
    {SIGFPE, "ERROR: signal for FPE received - division by zero? Examine the calculations in the program.\n"},
    {SIGSEGV,
     "ERROR: signal for SEGMENTATION FAULT received - memory invalid or array out of bounds? Try to "
     "compile the program with TRAP LOCAL to find the cause.\n"},
};

}  // namespace

/* Runs on the faulting path, so it only uses async-signal-safe calls: one write of the
   whole message, then _exit with the signal's number. */
void __t4k__catch_signal(int sig) {
    for (const SignalMessage& m : signal_messages) {
        if (m.signal == sig) {
            ssize_t written = write(STDERR_FILENO, m.text.data(), m.text.size());
            (void)written;
            break;
        }
    }
    _exit(sig);
}

/* The traps run on a stack of their own: a fault from running out of stack (endless
   recursion) has no stack left to run a handler on, and would kill the process silently.
   The handler only writes and exits, so a small fixed stack is enough.  Otherwise the traps
   behave as signal() installs them: the signal is blocked while its handler runs and
   interrupted calls restart. */
void t4k_install_signal_trap(int sig) {
    static char trap_stack[64 * 1024];
    static bool stack_set = false;
    if (!stack_set) {
        stack_t alternate{};
        alternate.ss_sp = trap_stack;
        alternate.ss_size = sizeof trap_stack;
        stack_set = sigaltstack(&alternate, nullptr) == 0;
    }
    struct sigaction trap {};
    trap.sa_handler = __t4k__catch_signal;
    sigemptyset(&trap.sa_mask);
    trap.sa_flags = SA_ONSTACK | SA_RESTART;
    sigaction(sig, &trap, nullptr);
}

void t4k_install_signal_traps() {
    for (const SignalMessage& m : signal_messages) t4k_install_signal_trap(m.signal);
}
