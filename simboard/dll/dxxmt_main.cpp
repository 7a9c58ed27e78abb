// libdxxmt.dll: the stand-in voice board behind the voice library's ordinals. The whole
// board lives here, made when the DLL loads so that a line controller can connect before
// the program opens any device. Exports are by ordinal only (libdxxmt.def).
#include <windows.h>

#include "board_host.h"
#include "voicelib.h"

#include <cstdlib>

namespace {

// Made once and never destroyed: at process exit the board's threads are already gone,
// and destroying them would wait for threads that will never answer.
simboard::BoardHost* g_host = nullptr;

simboard::Board* board() { return g_host ? &g_host->board() : nullptr; }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        simboard::BoardConfig config = simboard::read_board_config([](const char* name) { return std::getenv(name); });
        g_host = new simboard::BoardHost(config);
        // Only starts the listener thread; nothing here waits for it.
        g_host->start();
    } else if (reason == DLL_PROCESS_DETACH && g_host) {
        // reserved != NULL: the process is ending and other threads may have died holding
        // a line, so only lines free at this moment have their recordings completed.
        g_host->board().finish_recordings(reserved == nullptr);
        g_host->events().flush_at_exit();
    }
    return TRUE;
}

extern "C" {

int VL_CALL dx_open(const char* device, int flags) { return board() ? board()->open(device, flags) : -1; }

int VL_CALL dx_close(int handle) { return board() ? board()->close(handle) : -1; }

int VL_CALL dx_sethook(int handle, int hook_state, int mode) {
    return board() ? board()->sethook(handle, hook_state, mode) : -1;
}

int VL_CALL dx_wtring(int handle, int rings, int hook_state, int timeout) {
    return board() ? board()->wtring(handle, rings, hook_state, timeout) : -1;
}

int VL_CALL dx_play_file(int handle, const char* path, const VlTermEntry* table, const VlPlayFormat* format,
                         int mode) {
    return board() ? board()->play_file(handle, path, table, format, mode) : -1;
}

int VL_CALL dx_collect_digits(int handle, const VlTermEntry* table, char* digits, int mode) {
    return board() ? board()->collect_digits(handle, table, digits, mode) : -1;
}

int VL_CALL dx_dial(int handle, const char* dial_string, void* /*reserved*/, int mode) {
    return board() ? board()->dial(handle, dial_string, mode) : -1;
}

long VL_CALL dx_term_reason(int handle) { return board() ? board()->term_reason(handle) : -1; }

int VL_CALL dx_clear_digits(int handle) { return board() ? board()->clear_digits(handle) : -1; }

}  // extern "C"
