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

void t4k_install_signal_traps() {
    for (const SignalMessage& m : signal_messages) signal(m.signal, __t4k__catch_signal);
}
