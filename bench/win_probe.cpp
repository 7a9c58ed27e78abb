// Stopwatch, tight waits, paint state, process memory and a free port, for the
// benchmarks that drive our programs under Wine.
#include "win_probe.h"

#include <psapi.h>
#include <winsock2.h>

#include <cstdio>
#include <vector>

namespace zelbench {

Stopwatch::Stopwatch()
{
    QueryPerformanceFrequency(&frequency_);
    restart();
}

void Stopwatch::restart() { QueryPerformanceCounter(&start_); }

double Stopwatch::elapsed_ms() const
{
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 / static_cast<double>(frequency_.QuadPart);
}

wd::Status poll_until(const std::function<bool()>& condition, DWORD timeout_ms, const std::string& what)
{
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (condition()) return wd::Status::success();
        if (GetTickCount64() >= deadline) break;
        Sleep(1);
    }
    return wd::Status::failure("timed out after " + std::to_string(timeout_ms) + " ms waiting for " + what +
                               "; on screen:\n" + wd::describe_screen());
}

namespace {

BOOL CALLBACK any_unpainted(HWND child, LPARAM lp)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lp) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool fully_painted(HWND window)
{
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
    bool pending = false;
    EnumChildWindows(window, any_unpainted, reinterpret_cast<LPARAM>(&pending));
    return !pending;
}

MemoryFigures process_memory(HANDLE process)
{
    MemoryFigures m;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return m;
    m.ok = true;
    m.working_set = counters.WorkingSetSize;
    m.peak_working_set = counters.PeakWorkingSetSize;
    return m;
}

std::string mebibytes(std::size_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

int free_port()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
    int port = 0;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s != INVALID_SOCKET) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        int len = sizeof addr;
        if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
            getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            port = ntohs(addr.sin_port);
        closesocket(s);
    }
    WSACleanup();
    return port;
}

}  // namespace zelbench
