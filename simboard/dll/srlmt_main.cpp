// libsrlmt.dll: the standard runtime library's board query, on its own. It answers for
// any handle the board could have given out; the program only uses it to see the driver
// respond. Export by ordinal only (libsrlmt.def).
#include <windows.h>

#include "voicelib.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" int VL_CALL sr_board_query(int board_handle) { return board_handle > 0 ? 0 : -1; }
