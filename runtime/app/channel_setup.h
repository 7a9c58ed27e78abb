// The channels: opening channel n (device, window, thread) for the Open command, the
// channel thread, and the procedure of the channel windows (class "ChildClass").
#pragma once

#include <windows.h>

namespace vorn {

// Opens channel `index` (0-3) under the main window. Returns 0 when the channel
// started and -1 (reported) when it did not; whatever it had made is then let go.
int open_channel(HWND main_window, int index);

LRESULT CALLBACK channel_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace vorn
