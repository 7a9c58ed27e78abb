// The About box "Lang": modal over the main window, centred on it and kept wholly on
// the screen.
#pragma once

#include <windows.h>

namespace vorn {

void run_about_box(HINSTANCE instance, HWND parent);

}  // namespace vorn
