// The start-up splash: "SPLASH2" then "SPLASH3", drawn straight onto the screen,
// centred, each held for its time without handling messages.
#pragma once

#include <windows.h>

namespace vorn {

void show_splash(HINSTANCE instance);

}  // namespace vorn
