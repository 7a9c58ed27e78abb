// The About box.
#include "about_box.h"

#include "window_geometry.h"

namespace vorn {

namespace {

Box box_of(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void place(HWND dialog)
{
    RECT mine{};
    RECT parent{};
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!GetWindowRect(dialog, &mine) || !owner || !GetWindowRect(owner, &parent)) return;
    Box at = centre_on_screen(box_of(mine), box_of(parent), GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(dialog, nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK about_proc(HWND dialog, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        place(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wp));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

void run_about_box(HINSTANCE instance, HWND parent) { DialogBoxParamA(instance, "Lang", parent, about_proc, 0); }

}  // namespace vorn
