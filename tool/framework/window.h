// Window: one HWND of a window class we register. The shared window procedure finds the
// object through the window's user data and offers every message to OnMessage; what is
// not handled goes to DefWindowProc. After WM_NCDESTROY the object forgets its handle and
// OnFinalDestroy runs, so an object may delete itself there.
#pragma once

#include <windows.h>

#include <string>

#include "message_map.h"

namespace zf {

class Window : public MessageTarget {
public:
    Window() = default;
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Registers `cls` once per process for this module with our window procedure.
    static bool RegisterClass(const char* cls, UINT style, HCURSOR cursor, HBRUSH background,
                              HICON icon = nullptr);

    bool CreateEx(DWORD ex_style, const char* cls, const char* title, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menu_or_id);

    static Window* FromHandle(HWND hwnd);

protected:
    virtual void OnFinalDestroy() {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Text of a string resource of this module; empty when there is none.
std::string LoadResString(UINT id);

}  // namespace zf
