// Shows what a configuration dialog's end calls for: each box in turn, then, when the
// voice-changed rule says so, the end of the whole tool with exit code 0.
#pragma once

#include <windows.h>

#include "dialog_end.h"

void ShowDialogEnd(HWND owner, const zel::DialogEndPlan& plan);
