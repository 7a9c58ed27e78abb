// Vornline's entry point: the window classes, the start-up and the message loop.
#include <windows.h>

#include <memory>

#include "call_log.h"
#include "channel_setup.h"
#include "main_window.h"
#include "runtime_state.h"
#include "splash.h"
#include "splash_hold.h"
#include "window_geometry.h"

namespace {

// The folder of Vornline.exe itself, where its call log goes (the command file is read
// from the current folder). When the module's path cannot be had whole, the current
// folder: a log there is better than none.
std::string program_folder()
{
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return zel::folder_of(path);
}

bool register_class(HINSTANCE instance, const char* name, WNDPROC proc, const char* menu)
{
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "ZEL_VORN");
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show)
{
    if (!previous) {
        if (!register_class(instance, "ZEL_VORN", vorn::main_window_proc, "ZEL_VORN") ||
            !register_class(instance, "ChildClass", vorn::channel_window_proc, nullptr))
            return 0;
    }
    vorn::RuntimeState& state = vorn::runtime();
    state.instance = instance;
    state.call_log = std::make_unique<zel::CallLog>(program_folder());

    vorn::Box at = vorn::main_window_box(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HWND hwnd = CreateWindowA("ZEL_VORN", "VORN Computer Telephony System", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              at.left, at.top, at.width(), at.height(), nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 0;

    vorn::show_splash(instance, vorn::splash_waits(command_line));

    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);  // the channel list starts empty
    SetFocus(hwnd);
    ShowWindow(hwnd, show);
    vorn::load_background(hwnd);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
