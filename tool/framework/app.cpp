// The application object: start, message loop, settings, standard commands.
#include "app.h"

#include "frame_wnd.h"
#include "framework_ids.h"
#include "window.h"

namespace zf {

App* App::current_ = nullptr;

App::App()
{
    current_ = this;
}

App::~App()
{
    if (current_ == this) current_ = nullptr;
}

App* App::Get()
{
    return current_;
}

HINSTANCE App::Instance()
{
    if (current_ != nullptr && current_->instance_ != nullptr) return current_->instance_;
    return GetModuleHandleA(nullptr);
}

int App::Run(HINSTANCE instance, int show_command)
{
    instance_ = instance;
    show_command_ = show_command;
    title_ = LoadResString(ZF_IDS_APP_TITLE);
    if (!InitInstance()) {
        // A frame that did come up goes with the failed start.
        if (main_frame_ != nullptr && main_frame_->hwnd() != nullptr) DestroyWindow(main_frame_->hwnd());
        ExitInstance();
        return 1;
    }
    const int code = MessageLoop();
    const int exit_code = ExitInstance();
    return exit_code != 0 ? exit_code : code;
}

int App::MessageLoop()
{
    MSG msg{};
    bool idle_due = true;
    for (;;) {
        if (idle_due && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (main_frame_ != nullptr && main_frame_->hwnd() != nullptr) main_frame_->OnIdle();
            idle_due = false;
        }
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (PreTranslateMessage(msg)) continue;
        HWND main = main_frame_ != nullptr ? main_frame_->hwnd() : nullptr;
        if (main != nullptr && main_frame_->accelerators() != nullptr &&
            (msg.hwnd == main || IsChild(main, msg.hwnd)) &&
            TranslateAcceleratorA(main, main_frame_->accelerators(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        // Keys and clicks may change what the indicators show; timers and paints do not.
        if ((msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
            (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) || msg.message == WM_ACTIVATE ||
            msg.message == WM_ACTIVATEAPP)
            idle_due = true;
    }
}

int App::ExitInstance()
{
    if (recent_files_) profile_.SaveRecentFiles(*recent_files_);
    return 0;
}

bool App::PreTranslateMessage(MSG&)
{
    return false;
}

void App::SetRegistryKey(const std::string& key)
{
    profile_.SetKey(key, title_);
}

void App::LoadStdProfileSettings(unsigned recent_files)
{
    recent_files_ = std::make_unique<RecentFileList>(recent_files);
    profile_.LoadRecentFiles(*recent_files_);
}

void App::AddDocTemplate(std::unique_ptr<DocTemplate> doc_template)
{
    template_ = std::move(doc_template);
}

void App::ParseCommandLine(CommandLineInfo& info) const
{
    info = CommandLineInfo{};
}

bool App::ProcessShellCommand(const CommandLineInfo& info)
{
    switch (info.action) {
    case CommandLineInfo::Action::file_new:
        return template_ != nullptr && template_->OpenNewDocument();
    }
    return false;
}

bool App::OnMessage(UINT message, WPARAM wp, LPARAM, LRESULT& result)
{
    if (message == WM_COMMAND && LOWORD(wp) == ZF_ID_APP_EXIT && main_frame_ != nullptr) {
        PostMessageA(main_frame_->hwnd(), WM_CLOSE, 0, 0);
        result = 0;
        return true;
    }
    return false;
}

}  // namespace zf
