// The splash pictures.
#include "splash.h"

#include "splash_hold.h"
#include "window_geometry.h"


namespace vorn {

namespace {

// GetTickCount is the 32-bit counter whose wrap the holds guard against.
std::uint32_t tick_count(void*) { return GetTickCount(); }

void draw_on_screen(HINSTANCE instance, const char* name, const Box& at)
{
    HBITMAP bitmap = LoadBitmapA(instance, name);
    if (!bitmap) return;
    if (HDC screen = GetDC(nullptr)) {
        if (HDC memory = CreateCompatibleDC(screen)) {
            HGDIOBJ previous = SelectObject(memory, bitmap);
            BitBlt(screen, at.left, at.top, at.width(), at.height(), memory, 0, 0, SRCCOPY);
            // Wine puts screen drawing on the display only when the thread next looks at
            // its queue, and the holds never do; a look that leaves every message where it
            // is shows each picture when it is drawn, not one picture late.
            MSG peek;
            PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE);
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
        ReleaseDC(nullptr, screen);
    }
    DeleteObject(bitmap);
}

}  // namespace

void show_splash(HINSTANCE instance, bool hold_pictures)
{
    Box at = centred_picture(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), kSplashWidth,
                             kSplashHeight);
    draw_on_screen(instance, "SPLASH2", at);
    if (hold_pictures) hold(kSplash2HoldMs, tick_count, nullptr);
    draw_on_screen(instance, "SPLASH3", at);
    if (hold_pictures) hold(kSplash3HoldMs, tick_count, nullptr);
}

}  // namespace vorn
