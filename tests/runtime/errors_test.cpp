// Runtime errors: ERR$, both report forms, the hook, the catch target, the memory probe, signal traps.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "runtime/runtime.h"
#include "tests/runtime/child.h"

using t4k_test::run_in_child;

namespace {

TEST(ErrMessage, AppendsTheSystemTextOnlyWhereMarked) {
    errno = ENOENT;
    EXPECT_STREQ(ERR$(3), "Could not open library.");
    EXPECT_EQ(std::string(ERR$(26)), std::string("Cannot return name: ") + std::strerror(ENOENT));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_STREQ(ERR$(0), "Success");
    EXPECT_STREQ(ERR$(38), "Invalid UTF8 string!");
    EXPECT_STREQ(ERR$(41), "SSL file descriptor pool exhausted!");
    errno = EACCES;
    EXPECT_EQ(std::string(ERR$(17)), std::string("Unable to bind the specified socket address: ") + std::strerror(EACCES));
}

TEST(ErrMessage, ResetsErrorAndLeavesTheBufferForUnknownCodes) {
    ERROR = 5;
    ERR$(10);
    EXPECT_EQ(ERROR, 0);
    std::string before = __t4k__warn;
    ERROR = 7;
    EXPECT_EQ(std::string(ERR$(42)), before);
    EXPECT_EQ(std::string(ERR$(-1)), before);
    EXPECT_EQ(ERROR, 0);
}

TEST(Report, FunctionAndStatementFormsAreExactAndExitWithTheCode) {
    auto function = run_in_child([] { __t4k__raise_function("OS$", 120, "wex.vmt", 38); });
    EXPECT_EQ(function.status, 38);
    EXPECT_EQ(function.out, "");
    EXPECT_EQ(function.err, "Runtime error: function 'OS$' at line 120 in 'wex.vmt': Invalid UTF8 string!\n");

    auto statement = run_in_child([] { __t4k__raise_statement("IMPORT", 8, "wex.vmt", 3); });
    EXPECT_EQ(statement.status, 3);
    EXPECT_EQ(statement.out, "");
    EXPECT_EQ(statement.err, "Runtime error: statement 'IMPORT' at line 8 in 'wex.vmt': Could not open library.\n");
}

std::string hook_record;
void record_hook(const char* name, const char* unit, int line) {
    hook_record += std::string(name) + "|" + unit + "|" + std::to_string(line) + ";";
}

TEST(Report, WithReportsOffTheHookIsCalledAndExecutionGoesOn) {
    auto hooked = run_in_child([] {
        __t4k__option_error = 0;
        __t4k__error_callback = record_hook;
        __t4k__raise_function("DEC", 12, "kelvado.vmt", 5);
        int after_function = ERROR;
        bool caught = __t4k__raise_statement("FREE", 13, "wex.vmt", 1);
        std::printf("%s %d %d %d", hook_record.c_str(), after_function, ERROR, caught);
    });
    EXPECT_EQ(hooked.status, 0);
    EXPECT_EQ(hooked.out, "DEC|kelvado.vmt|12;FREE|wex.vmt|13; 5 1 0");
    EXPECT_EQ(hooked.err, "");

    auto silent = run_in_child([] {
        __t4k__option_error = 0;
        __t4k__raise_function("DEC", 12, "kelvado.vmt", 5);
        std::printf("%d", ERROR);
    });
    EXPECT_EQ(silent.out, "5");
    EXPECT_EQ(silent.err, "");
}

// A statement in a function with a catch target: control goes to the target, which may
// resume after the statement through the saved jump.  The statement is a "FREE" of `block`
// when one is given, else an "IMPORT" that fails.
int steps_with_catch(bool resume, void* block = nullptr) {
    T4K_FUNCTION(steps_with_catch);
    volatile int steps = 0;  // survives the longjmp back
    __t4k__catch_set = 1;
    if (block)
        T4K_FREE_SITE(block, 78, "wex.vmt", caught);
    else
        T4K_RAISE_STATEMENT("IMPORT", 40, "wex.vmt", 3, caught);
    steps = steps + 10;  // after the failed statement
    return steps;
caught:
    steps = steps + 1;
    if (resume) longjmp(__t4k__jump, 1);
    return steps;
}

TEST(Report, ACatchTargetTakesAFailingStatementAndCanResumeAfterIt) {
    EXPECT_EQ(steps_with_catch(false), 1);
    EXPECT_EQ(ERROR, 3);
    EXPECT_EQ(steps_with_catch(true), 11);
    EXPECT_EQ(__t4k__catch_set, 0);  // the frame put the caller's flag back
    ERROR = 0;
}

struct Unmapped {
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ~Unmapped() { munmap(page, 4096); }
};

TEST(MemoryProbe, TellsReadableFromUnreadableMemory) {
    char block[16] = {};
    EXPECT_EQ(__t4k__memory__check(block, sizeof block), 0);
    Unmapped unmapped;
    ASSERT_NE(unmapped.page, MAP_FAILED);
    EXPECT_EQ(__t4k__memory__check(unmapped.page, 0), 0);
    EXPECT_EQ(__t4k__memory__check(unmapped.page, -3), 0);
    EXPECT_EQ(__t4k__memory__check(unmapped.page, 1), 1);
    EXPECT_EQ(__t4k__memory__check(static_cast<char*>(unmapped.page) - 2, 4), 1);  // readable start
    EXPECT_EQ(__t4k__memory__check(unmapped.page, 1), 1);  // the fault stays catchable
}

TEST(MemoryProbe, AfterAProbeTheFaultTrapIsBackInPlace) {
    auto trapped = run_in_child([] {
        Unmapped unmapped;
        __t4k__memory__check(unmapped.page, 1);
        *static_cast<volatile char*>(unmapped.page) = 1;
    });
    EXPECT_EQ(trapped.status, SIGSEGV);
    EXPECT_EQ(trapped.err.rfind("ERROR: signal for SEGMENTATION FAULT received", 0), 0u) << trapped.err;

    auto untrapped = run_in_child([] {
        __t4k__trap = 0;
        signal(SIGSEGV, SIG_DFL);
        Unmapped unmapped;
        __t4k__memory__check(unmapped.page, 1);
        *static_cast<volatile char*>(unmapped.page) = 1;
    });
    EXPECT_EQ(untrapped.status, 128 + SIGSEGV);  // the previous handler came back
    EXPECT_EQ(untrapped.err, "");
}

TEST(FreeSite, AFreshBlockIsFreedSilentlyAnUnreadableOneIsReported) {
    auto fresh = run_in_child([] {
        __t4k__free_site(std::malloc(32), 1, "wex.vmt");
        __t4k__free_site(__t4k_Copy_String(nullptr, "runtime string"), 2, "wex.vmt");
        __t4k__free_site(nullptr, 3, "wex.vmt");
        t4k::Scratch scratch(4, "wex.vmt", 64);
        std::printf("%d", scratch.as<char>()[63]);
    });
    EXPECT_EQ(fresh.status, 0);
    EXPECT_EQ(fresh.out, "0");
    EXPECT_EQ(fresh.err, "");

    auto unreadable = run_in_child([] {
        Unmapped unmapped;
        errno = 0;
        __t4k__free_site(unmapped.page, 77, "wex.vmt");
    });
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err,
              "Runtime error: statement 'FREE' at line 77 in 'wex.vmt': Trying to access illegal memory: Success\n");

    auto hooked = run_in_child([] {
        __t4k__option_error = 0;
        Unmapped unmapped;
        __t4k__free_site(unmapped.page, 77, "wex.vmt");  // reported to nobody, and not freed
        std::printf("%d", ERROR);
    });
    EXPECT_EQ(hooked.status, 0);
    EXPECT_EQ(hooked.out, "1");
}

// The block of an unreadable "FREE" stays where it is, caught or not.
TEST(FreeSite, ACatchTargetTakesTheFailureAndASiteWithoutOneReportsIt) {
    Unmapped unmapped;
    EXPECT_EQ(steps_with_catch(false, unmapped.page), 1);
    EXPECT_EQ(ERROR, 1);
    EXPECT_EQ(steps_with_catch(true, unmapped.page), 11);
    EXPECT_EQ(steps_with_catch(false, std::malloc(8)), 10);  // a readable block is freed
    ERROR = 0;

    // A site with no target to go to never drops the error, whatever the flag says.
    auto untargeted = run_in_child([] {
        Unmapped unmapped;
        errno = 0;
        __t4k__catch_set = 1;
        __t4k__free_site(unmapped.page, 79, "wex.vmt");
    });
    EXPECT_EQ(untargeted.status, 1);
    EXPECT_EQ(untargeted.err,
              "Runtime error: statement 'FREE' at line 79 in 'wex.vmt': Trying to access illegal memory: Success\n");
}

TEST(SignalTrap, EachFatalSignalPrintsItsLineAndExitsWithItsNumber) {
    struct Case {
        int signal;
        const char* message;
    };
    const Case cases[] = {
        {SIGILL, "ERROR: signal for ILLEGAL INSTRUCTION received - executing the program on other hardware? "
                 "Try to recompile the program from scratch.\n"},
        {SIGABRT, "ERROR: signal ABORT received - internal error. Try to compile the program with TRAP LOCAL "
                  "to find the cause.\n"},
        {SIGFPE, "ERROR: signal for FPE received - division by zero? Examine the calculations in the program.\n"},
        {SIGSEGV, "ERROR: signal for SEGMENTATION FAULT received - memory invalid or array out of bounds? Try "
                  "to compile the program with TRAP LOCAL to find the cause.\n"},
    };
    for (const Case& c : cases) {
        auto child = run_in_child([&] {
            t4k_install_signal_traps();
            raise(c.signal);
        });
        EXPECT_EQ(child.status, c.signal);
        EXPECT_EQ(child.out, "");
        EXPECT_EQ(child.err, c.message);
    }
    auto other = run_in_child([] { __t4k__catch_signal(SIGUSR1); });
    EXPECT_EQ(other.status, SIGUSR1);
    EXPECT_EQ(other.err, "");
}

// The sanitizer build would catch the division itself; here the processor must fault.
__attribute__((no_sanitize("undefined"), noinline)) int divide(int a, int b) { return a / b; }

TEST(SignalTrap, ARealDivisionByZeroIsTrapped) {
    auto child = run_in_child([] {
        t4k_install_signal_traps();
        volatile int numerator = 1000, zero = 0;
        std::printf("%d", divide(numerator, zero));
    });
    EXPECT_EQ(child.status, SIGFPE);
}

// Each call takes a kilobyte of stack; the depth is read through a volatile so that the
// compiler can neither see the recursion end nor turn it into a loop.
__attribute__((noinline)) int descend(volatile int* depth) {
    volatile char frame[1024];
    frame[0] = char(*depth);
    *depth = *depth + 1;
    if (*depth < 0) return frame[0];
    return descend(depth) + frame[0];
}

TEST(SignalTrap, RunningOutOfStackIsTrappedAlsoAfterAProbe) {
    for (bool probe_first : {false, true}) {
        auto child = run_in_child([&] {
            t4k_install_signal_traps();
            if (probe_first) {
                Unmapped unmapped;
                __t4k__memory__check(unmapped.page, 1);
            }
            volatile int depth = 0;
            std::printf("%d", descend(&depth));
        });
        EXPECT_EQ(child.status, SIGSEGV) << probe_first;
        EXPECT_EQ(child.err.rfind("ERROR: signal for SEGMENTATION FAULT received", 0), 0u) << child.err;
    }
}

}  // namespace
