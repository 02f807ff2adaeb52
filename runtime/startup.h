// startup.h: the start-up sequence every program runs at the head of main.
#pragma once
#include <sys/time.h>

#define T4K_VERSION "3.9.2"

extern char* __t4k__me_var$;
extern char* ARGUMENT$;
extern int __t4k__arglen;
extern struct timeval __t4k__tm;
extern long __t4k__elapsed_secs, __t4k__elapsed_usecs;
extern void* __t4k__typestack;
extern char** __t4k__stringstack;
extern const char VERSION$[6];

void __t4k__version(const char* text);
void __t4k__startup(const char* version, int argc, char** argv);
// Install __t4k__catch_signal for SIGILL, SIGABRT, SIGFPE and SIGSEGV, in that order.
void t4k_install_signal_traps();
// Install __t4k__catch_signal for one signal, on the alternate signal stack.
void t4k_install_signal_trap(int sig);

// One line at the head of every main: the version compiled into the program is checked
// against the library's own.
#define T4K_START(argc, argv) __t4k__startup(T4K_VERSION, (argc), (argv))
