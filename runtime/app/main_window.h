// The main window "ZEL_VORN": creation (language list and channel labels), the
// background picture, the menu commands and the shutdown; it also answers the status
// display's test aid (status_display.h).
#pragma once

#include <windows.h>

namespace vorn {

LRESULT CALLBACK main_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Makes the memory picture of bitmap "ZEL" that every paint copies. False when the
// bitmap or the picture could not be made (each paint then reports problem 099).
bool load_background(HWND hwnd);

}  // namespace vorn
