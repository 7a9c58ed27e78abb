// The channels. NOT BUILT YET: opening a channel's device, window and thread, the
// channel thread and the channel window's messages arrive with the channel set-up.
// Until then open_channel opens nothing and says so by returning -1 (the channel did
// not start), and the channel window procedure is the default one.
#include "channel_setup.h"

namespace vorn {

int open_channel(HWND main_window, int index)
{
    (void)main_window;
    (void)index;
    return -1;
}

LRESULT CALLBACK channel_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace vorn
