// Measuring our Windows programs from outside, under Wine: a stopwatch, a tight wait on a
// condition (1 ms polls, a deadline, and the screen listed when it fails), whether a
// window and all its controls have been painted, and a process's memory as the system
// counts it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

#include "window_driver.h"

namespace zelbench {

// Milliseconds from the performance counter.
class Stopwatch {
public:
    Stopwatch();
    void restart();
    double elapsed_ms() const;

private:
    LARGE_INTEGER start_{};
    LARGE_INTEGER frequency_{};
};

// Like wd::wait_until, but polls every millisecond so that a measured wait is not
// rounded up to the driver's 50 ms step.
wd::Status poll_until(const std::function<bool()>& condition, DWORD timeout_ms, const std::string& what);

// True when neither the window nor any control in it waits to be painted.
bool fully_painted(HWND window);

struct MemoryFigures {
    bool ok = false;
    std::size_t working_set = 0;       // bytes
    std::size_t peak_working_set = 0;  // bytes
};

// GetProcessMemoryInfo on a process handle (PROCESS_QUERY_INFORMATION | PROCESS_VM_READ).
MemoryFigures process_memory(HANDLE process);

// "12.3 MiB"
std::string mebibytes(std::size_t bytes);

// A free TCP port on 127.0.0.1 for a board of our own (asked of the system, so that
// parallel tests and benchmarks never share one); 0 when none could be had.
int free_port();

}  // namespace zelbench
