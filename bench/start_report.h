// start_report.h: what a start-up benchmark's child process tells its parent, and how; and what
// the parents share.  The parent starts the child with the time of the start (CLOCK_MONOTONIC,
// which every process shares) as its second argument and a pipe on descriptor 3; the child
// writes one report there when it reaches the point being measured, and ends.
#pragma once
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {
constexpr int REPORT_FD = 3;

struct StartReport {
    double since_start;  // seconds from the parent's start of the child to this report
    double cpu;          // seconds of the child's own processor time, user and system
    long resident_kib;   // resident memory at the report
    double part;         // seconds of one part of the work, where the child times one
    long part_kib;       // resident memory that part added
};

inline double monotonic_seconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

inline long resident_kib() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Sends the report and ends the process at once: nothing after the measured point runs.
[[noreturn]] inline void report_and_exit(const char* start_argument, double part = 0, long part_kib = 0) {
    StartReport report{};
    report.since_start = monotonic_seconds() - std::strtod(start_argument, nullptr);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    report.cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    report.resident_kib = resident_kib();
    report.part = part;
    report.part_kib = part_kib;
    const bool sent = write(REPORT_FD, &report, sizeof report) == sizeof report;
    _exit(sent ? 0 : 1);
}

// The parents' side: a program built beside the running one, and the median of some starts.
inline std::string beside_this_program(const char* name) {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n < 0) return name;
    path[n] = '\0';
    const std::string self = path;
    return self.substr(0, self.rfind('/') + 1) + name;
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
}  // namespace bench
