// The clocks the benches read: wall time from the performance counter, and a process's
// processor time.
#pragma once

#include <windows.h>

namespace pellmark::bench {

// Seconds since some fixed moment.
[[nodiscard]] inline double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// User and kernel time of a process, in seconds; 0 when it cannot be read.
[[nodiscard]] inline double CpuSeconds(HANDLE process) {
    FILETIME created;
    FILETIME ended;
    FILETIME kernel;
    FILETIME user;
    if (::GetProcessTimes(process, &created, &ended, &kernel, &user) == FALSE) {
        return 0;
    }
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace pellmark::bench
