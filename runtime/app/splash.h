// The start-up splash: "SPLASH2" then "SPLASH3", drawn straight onto the screen,
// centred, each held for its time without handling messages. The start-up option
// "/nosplashwait" draws them without the holds: the tests start Vornline about fifty
// times a run and would otherwise spend four seconds at each start.
#pragma once

#include <windows.h>

namespace vorn {

void show_splash(HINSTANCE instance, bool hold_pictures);

}  // namespace vorn
