// The "Open" command of the main window: probe the board, load and check the command
// file, set the play rate, and open the four channels.
#pragma once

#include <windows.h>

namespace vorn {

void open_command(HWND main_window);

}  // namespace vorn
