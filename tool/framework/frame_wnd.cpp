// The frame: creation, layout of bars and view, menu prompts, command routing.
#include "frame_wnd.h"

#include "app.h"
#include "framework_ids.h"

namespace zf {

namespace {
constexpr char kFrameClass[] = "ZfFrame";
}

bool FrameWnd::LoadFrame(UINT resource_id, Document* document, std::unique_ptr<View> view)
{
    document_ = document;
    view_ = std::move(view);
    HINSTANCE inst = App::Instance();
    HICON icon = LoadIconA(inst, MAKEINTRESOURCEA(resource_id));
    if (!RegisterClass(kFrameClass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon))
        return false;
    HMENU menu = LoadMenuA(inst, MAKEINTRESOURCEA(resource_id));
    accelerators_ = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(resource_id));

    const std::string title = App::Get()->title();
    CREATESTRUCTA cs{};
    cs.hInstance = inst;
    cs.hMenu = menu;
    cs.lpszName = title.c_str();
    cs.lpszClass = kFrameClass;
    cs.style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    if (!PreCreateWindow(cs)) {
        if (menu != nullptr) DestroyMenu(menu);
        return false;
    }
    add_to_title_ = (cs.style & FWS_ADDTOTITLE) != 0;
    cs.style &= ~FWS_ADDTOTITLE;
    if (!CreateEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy, nullptr, cs.hMenu)) {
        // A failed create leaves the menu to us.
        if (menu != nullptr && IsMenu(menu)) DestroyMenu(menu);
        return false;
    }
    return true;
}

int FrameWnd::OnCreate(CREATESTRUCTA&)
{
    if (!view_ || !view_->Create(*this, document_)) return -1;
    return 0;
}

void FrameWnd::SetIdleText()
{
    SetMessageText(LoadResString(ZF_IDS_IDLE_MESSAGE));
}

void FrameWnd::ShowPrompt(UINT id)
{
    std::string prompt = id != 0 ? LoadResString(id) : std::string();
    const std::size_t line_break = prompt.find('\n');
    if (line_break != std::string::npos) prompt.resize(line_break);
    if (prompt.empty())
        SetIdleText();
    else
        SetMessageText(prompt);
}

void FrameWnd::DockControlBar(DockBar& bar, DockSide side)
{
    dock_bar_ = &bar;
    bar.SetSide(side);
    RecalcLayout();
}

void FrameWnd::DockToNearestSide(DockBar& bar, POINT pt)
{
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    const unsigned allowed = bar.allowed() & dock_sides_;
    struct Choice {
        DockSide side;
        long distance;
    } choices[] = {
        {dock_top, pt.y - rc.top},
        {dock_bottom, rc.bottom - pt.y},
        {dock_left, pt.x - rc.left},
        {dock_right, rc.right - pt.x},
    };
    const Choice* best = nullptr;
    for (const Choice& c : choices) {
        if ((allowed & c.side) == 0) continue;
        if (best == nullptr || c.distance < best->distance) best = &c;
    }
    if (best != nullptr && best->side != bar.side()) DockControlBar(bar, best->side);
}

void FrameWnd::RecalcLayout()
{
    if (hwnd() == nullptr) return;
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    if (status_bar_.hwnd() != nullptr) {
        status_bar_.Resize();
        rc.bottom -= status_bar_.Height();
    }
    if (dock_bar_ != nullptr && dock_bar_->hwnd() != nullptr) {
        const int t = dock_bar_->Thickness();
        RECT bar = rc;
        switch (dock_bar_->side()) {
        case dock_top: bar.bottom = rc.top + t; rc.top += t; break;
        case dock_bottom: bar.top = rc.bottom - t; rc.bottom -= t; break;
        case dock_left: bar.right = rc.left + t; rc.left += t; break;
        case dock_right: bar.left = rc.right - t; rc.right -= t; break;
        default: break;
        }
        MoveWindow(dock_bar_->hwnd(), bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, TRUE);
    }
    if (view_ && view_->hwnd() != nullptr) {
        if (rc.bottom < rc.top) rc.bottom = rc.top;
        if (rc.right < rc.left) rc.right = rc.left;
        MoveWindow(view_->hwnd(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    }
}

void FrameWnd::OnUpdateFrameTitle()
{
    if (!add_to_title_ || document_ == nullptr) return;
    const std::string caption = document_->title() + " - " + App::Get()->title();
    SetWindowTextA(hwnd(), caption.c_str());
}

bool FrameWnd::RouteCommand(WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (view_ && view_->OnMessage(WM_COMMAND, wp, lp, result)) return true;
    if (document_ != nullptr && document_->OnMessage(WM_COMMAND, wp, lp, result)) return true;
    return App::Get()->OnMessage(WM_COMMAND, wp, lp, result);
}

bool FrameWnd::OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (message) {
    case WM_CREATE:
        result = OnCreate(*reinterpret_cast<CREATESTRUCTA*>(lp));
        return true;
    case WM_SIZE:
        RecalcLayout();
        return false;
    case WM_MENUSELECT: {
        const UINT flags = HIWORD(wp);
        if (flags == 0xFFFF && lp == 0)
            SetIdleText();  // the menu closed
        else if (flags & (MF_POPUP | MF_SEPARATOR))
            SetIdleText();
        else
            ShowPrompt(LOWORD(wp));
        result = 0;
        return true;
    }
    case WM_EXITMENULOOP:
        SetIdleText();
        return false;
    case WM_SETFOCUS:
        if (view_ && view_->hwnd() != nullptr) SetFocus(view_->hwnd());
        return false;
    case WM_COMMAND:
        // Commands from our own children and the menu; anything this class's table left over.
        return RouteCommand(wp, lp, result);
    default:
        return false;
    }
}

void FrameWnd::OnFinalDestroy()
{
    // The main window gone ends the application's message loop.
    if (App::Get()->main_frame() == this) PostQuitMessage(0);
}

}  // namespace zf
