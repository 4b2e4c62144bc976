#pragma once

#include <time.h>

// The scheduler's own count of this process's CPU time, all threads, to the nanosecond.
inline double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}
