// The main window procedure.
#include "main_window.h"

#include "about_box.h"
#include "open_command.h"
#include "program_message.h"
#include "resource.h"
#include "runtime_state.h"
#include "status_display.h"
#include "window_geometry.h"

namespace vorn {

namespace {

// Language entries live in global memory, as the rest of the runtime expects of
// long-lived shared blocks; each is allocated and locked once and kept until exit.
Language* allocate_language(const char** fault)
{
    HGLOBAL block = GlobalAlloc(GHND, sizeof(Language));
    if (!block) {
        *fault = "Alloc Memory Failed";
        return nullptr;
    }
    auto* entry = static_cast<Language*>(GlobalLock(block));
    if (!entry) {
        GlobalFree(block);
        *fault = "GlobalLock failed";
        return nullptr;
    }
    return entry;
}

void report_fault(const char* text) { program_message("%s", text); }

void on_create(HWND hwnd)
{
    RuntimeState& state = runtime();
    state.main_window = hwnd;
    state.languages = build_language_list(allocate_language, report_fault);
    state.labels = channel_labels(state.languages);
}

void on_paint(HWND hwnd)
{
    static bool reporting = false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HDC background = runtime().background;
    bool drawn = dc && background && BitBlt(dc, 0, 0, kMainWidth, kMainHeight, background, 0, 0, SRCCOPY);
    EndPaint(hwnd, &ps);
    // The report's own modal loop paints too; one box at a time is enough.
    if (!drawn && !reporting) {
        reporting = true;
        program_message("Load Bitmap failed. Computer memory problem 099.");
        reporting = false;
    }
}

void start_help(HWND hwnd)
{
    if (WinExec("HH.exe MIRT RUNDESK.chm", SW_SHOWNORMAL) < 32)
        MessageBoxA(hwnd, "Cannot Open HTMLHELP", "ZEL Phone System HTMLHELP Start", MB_OK);
}

void release_background()
{
    RuntimeState& state = runtime();
    if (state.background) {
        SelectObject(state.background, state.background_previous);
        DeleteDC(state.background);
        state.background = nullptr;
    }
    if (state.background_bitmap) {
        DeleteObject(state.background_bitmap);
        state.background_bitmap = nullptr;
    }
}

void on_destroy()
{
    RuntimeState& state = runtime();
    if (state.command_loaded) {
        std::fclose(state.command_file);
        state.command_file = nullptr;
        state.command_loaded = false;
        // The main window is on its way out, so the box stands on its own.
        MessageBoxA(nullptr, "Closing Command File OK", "ZEL_SYSTEM.CMD", MB_OK);
    }
    release_background();
    PostQuitMessage(0);
}

}  // namespace

bool load_background(HWND hwnd)
{
    RuntimeState& state = runtime();
    HBITMAP bitmap = LoadBitmapA(state.instance, "ZEL");
    if (!bitmap) return false;
    HDC window_dc = GetDC(hwnd);
    HDC memory = window_dc ? CreateCompatibleDC(window_dc) : nullptr;
    if (window_dc) ReleaseDC(hwnd, window_dc);
    if (!memory) {
        DeleteObject(bitmap);
        return false;
    }
    state.background_previous = SelectObject(memory, bitmap);
    state.background = memory;
    state.background_bitmap = bitmap;
    return true;
}

LRESULT CALLBACK main_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == picture_query_message() && msg != 0) return answer_picture_query(wp, lp);
    switch (msg) {
    case WM_CREATE:
        on_create(hwnd);
        return 0;
    case WM_PAINT:
        on_paint(hwnd);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDM_OPEN:
            open_command(hwnd);
            return 0;
        case IDM_ABOUT:
            run_about_box(runtime().instance, hwnd);
            return 0;
        case IDM_HELP_TOPICS:
            start_help(hwnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        on_destroy();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace vorn
