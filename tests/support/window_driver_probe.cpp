// A small target program for the window driver's own tests: one window with a menu,
// a button, a date-time picker and text fields that report what it was given and
// what happened to it, a system-modal box raised from a worker thread, and a chosen
// exit code.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kCmdBox = 100;
constexpr int kCmdQuit = 101;
constexpr int kButton = 200;
constexpr int kEvents = 201;
constexpr int kStartInfo = 202;
constexpr int kPicker = 203;

int g_exit_code = 0;

DWORD WINAPI box_thread(LPVOID)
{
    MessageBoxA(nullptr, "from a thread", "Probe Box", MB_OK | MB_SYSTEMMODAL);
    return 0;
}

void set_events(HWND hwnd, const char* text) { SetDlgItemTextA(hwnd, kEvents, text); }

LRESULT CALLBACK probe_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        CreateWindowExA(0, "BUTTON", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 200, 10, 80, 24, hwnd,
                        reinterpret_cast<HMENU>(kButton), nullptr, nullptr);
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 200, 40, 180, 24, hwnd,
                        reinterpret_cast<HMENU>(kEvents), nullptr, nullptr);
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 200, 70, 180, 24, hwnd,
                        reinterpret_cast<HMENU>(kStartInfo), nullptr, nullptr);
        HWND picker = CreateWindowExA(0, DATETIMEPICK_CLASSA, "", WS_CHILD | WS_VISIBLE | DTS_SHOWNONE, 200, 100,
                                      180, 24, hwnd, reinterpret_cast<HMENU>(kPicker), nullptr, nullptr);
        SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("MM'/'dd'/'yyy"));
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kCmdBox:
            if (HANDLE t = CreateThread(nullptr, 0, box_thread, nullptr, 0, nullptr)) CloseHandle(t);
            return 0;
        case kCmdQuit:
            DestroyWindow(hwnd);
            return 0;
        case kButton:
            if (HIWORD(wp) == BN_CLICKED) set_events(hwnd, "pressed");
            return 0;
        }
        break;
    case WM_LBUTTONUP: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "click %d,%d", static_cast<int>(static_cast<short>(LOWORD(lp))),
                      static_cast<int>(static_cast<short>(HIWORD(lp))));
        set_events(hwnd, buf);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(g_exit_code);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);

    // Arguments: <exit code> <word>; the word is echoed back.
    const char* word = "";
    if (__argc > 1) g_exit_code = std::atoi(__argv[1]);
    if (__argc > 2) word = __argv[2];

    WNDCLASSA wc{};
    wc.lpfnWndProc = probe_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "WdProbe";
    RegisterClassA(&wc);

    HMENU bar = LoadMenuA(instance, "PROBE");

    HWND hwnd = CreateWindowExA(0, "WdProbe", "Probe Window", WS_OVERLAPPEDWINDOW, 50, 60, 420, 200, nullptr, bar,
                                instance, nullptr);
    if (!hwnd) return 99;

    // What the program was given: its argument, an environment variable and the
    // contents of a file in its current directory.
    char env[64] = {};
    GetEnvironmentVariableA("WD_PROBE_VALUE", env, sizeof env);
    char file[64] = {};
    if (std::FILE* f = std::fopen("input.txt", "rb")) {
        std::size_t n = std::fread(file, 1, sizeof file - 1, f);
        file[n] = '\0';
        std::fclose(f);
    }
    char info[256];
    std::snprintf(info, sizeof info, "arg=%.60s;env=%.60s;file=%.60s", word, env, file);
    SetDlgItemTextA(hwnd, kStartInfo, info);

    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
