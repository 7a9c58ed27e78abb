// CSplashWnd: the start-up picture (bitmap 102), a borderless popup centred over the main
// frame. It goes away after 1200 ms, or at the first key or mouse button press anywhere in
// the application, which it consumes. At most one exists; it deletes itself when destroyed.
#pragma once

#include <windows.h>

#include "framework/window.h"

class CSplashWnd : public zf::Window {
public:
    // Whether the command line allows the splash screen.
    static void EnableSplashScreen(bool enable);
    static void ShowSplashScreen(HWND main_frame);
    // The application's message filter while the splash shows: true when `msg` was consumed.
    static bool PreTranslateAppMessage(const MSG& msg);
    static bool IsShowing();

    bool OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    CSplashWnd() = default;
    ~CSplashWnd() override;
    bool Create(HWND main_frame);
    void HideSplashScreen();
    void OnFinalDestroy() override;

    HBITMAP bitmap_ = nullptr;
    HWND main_frame_ = nullptr;
};
