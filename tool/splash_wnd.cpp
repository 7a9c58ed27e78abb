// The splash window and its message filter.
#include "splash_wnd.h"

#include "framework/app.h"
#include "resource.h"

namespace {

constexpr char kClass[] = "PlandeskSplash";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kShowMs = 1200;

bool g_enabled = false;
CSplashWnd* g_splash = nullptr;

}  // namespace

void CSplashWnd::EnableSplashScreen(bool enable)
{
    g_enabled = enable;
}

void CSplashWnd::ShowSplashScreen(HWND main_frame)
{
    if (!g_enabled || g_splash != nullptr) return;
    auto* splash = new CSplashWnd;
    g_splash = splash;
    // Without its picture there is no splash; start-up goes on. A window that was made
    // and then failed has already deleted itself and cleared g_splash.
    if (!splash->Create(main_frame) && g_splash == splash) {
        g_splash = nullptr;
        delete splash;
    }
}

bool CSplashWnd::IsShowing()
{
    return g_splash != nullptr && g_splash->hwnd() != nullptr;
}

bool CSplashWnd::PreTranslateAppMessage(const MSG& msg)
{
    if (!IsShowing()) return false;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        g_splash->HideSplashScreen();
        return true;
    default:
        return false;
    }
}

CSplashWnd::~CSplashWnd()
{
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

bool CSplashWnd::Create(HWND main_frame)
{
    main_frame_ = main_frame;
    bitmap_ = static_cast<HBITMAP>(
        LoadImageA(zf::App::Instance(), MAKEINTRESOURCEA(IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap_ == nullptr) return false;
    BITMAP bm{};
    GetObjectA(bitmap_, sizeof bm, &bm);
    if (!RegisterClass(kClass, 0, LoadCursor(nullptr, IDC_ARROW), nullptr)) return false;

    RECT frame{};
    GetWindowRect(main_frame, &frame);
    const int x = frame.left + (frame.right - frame.left - bm.bmWidth) / 2;
    const int y = frame.top + (frame.bottom - frame.top - bm.bmHeight) / 2;
    if (!CreateEx(0, kClass, "", WS_POPUP, x, y, bm.bmWidth, bm.bmHeight, main_frame, nullptr)) return false;
    // Shown without taking the activation: keys keep going to the frame's thread, where the
    // filter meets them, and the picture is only a picture to the window system (under
    // Wine an activated window counts as managed and takes seconds to withdraw).
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return true;
}

void CSplashWnd::HideSplashScreen()
{
    DestroyWindow(hwnd());
    if (main_frame_ != nullptr) UpdateWindow(main_frame_);
}

void CSplashWnd::OnFinalDestroy()
{
    if (g_splash == this) g_splash = nullptr;
    delete this;
}

bool CSplashWnd::OnMessage(UINT message, WPARAM wp, LPARAM, LRESULT& result)
{
    switch (message) {
    case WM_CREATE:
        SetTimer(hwnd(), kTimerId, kShowMs, nullptr);
        result = 0;
        return true;
    case WM_TIMER:
        if (wp != kTimerId) return false;
        KillTimer(hwnd(), kTimerId);
        HideSplashScreen();
        return true;
    case WM_ERASEBKGND:
        result = 1;  // the picture covers the whole window
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap_);
        BITMAP bm{};
        GetObjectA(bitmap_, sizeof bm, &bm);
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        EndPaint(hwnd(), &ps);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}
