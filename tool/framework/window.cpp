// The shared window procedure and class registration.
#include "window.h"

#include "app.h"

namespace zf {

Window::~Window()
{
    if (hwnd_ != nullptr) {
        // The object is going away first: detach so no message reaches it any more.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        HWND h = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(h);
    }
}

bool Window::RegisterClass(const char* cls, UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(App::Instance(), cls, &existing)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::WindowProc;
    wc.hInstance = App::Instance();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.lpszClassName = cls;
    return RegisterClassExA(&wc) != 0;
}

bool Window::CreateEx(DWORD ex_style, const char* cls, const char* title, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu_or_id)
{
    HWND h = CreateWindowExA(ex_style, cls, title, style, x, y, width, height, parent, menu_or_id,
                             App::Instance(), this);
    return h != nullptr && h == hwnd_;
}

Window* Window::FromHandle(HWND hwnd)
{
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    Window* self = FromHandle(hwnd);
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        if (self != nullptr) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (self == nullptr) return DefWindowProcA(hwnd, message, wp, lp);

    LRESULT result = 0;
    if (!self->OnMessage(message, wp, lp, result)) result = DefWindowProcA(hwnd, message, wp, lp);

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalDestroy();
    }
    return result;
}

std::string LoadResString(UINT id)
{
    char buffer[512];
    const int n = LoadStringA(App::Instance(), id, buffer, static_cast<int>(sizeof buffer));
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace zf
