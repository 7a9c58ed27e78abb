// The dockable control bar: gripper, toolbar placement and docking by drag.
#include "dock_bar.h"

#include <commctrl.h>

#include "app.h"
#include "frame_wnd.h"
#include "framework_ids.h"

namespace zf {

namespace {

constexpr char kClass[] = "ZfDockBar";
constexpr int kGripper = 8;    // room for the gripper lines
constexpr int kButtonRoom = 26;  // an empty toolbar still keeps one button's height

}  // namespace

bool DockBar::Create(FrameWnd& frame, UINT id)
{
    frame_ = &frame;
    if (!RegisterClass(kClass, CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    if (!CreateEx(0, kClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, frame.hwnd(),
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN |
                                   CCS_NORESIZE | CCS_NODIVIDER,
                               0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ZF_ID_TOOL_BAR)),
                               App::Instance(), nullptr);
    if (toolbar_ == nullptr) return false;
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return true;
}

int DockBar::Thickness() const
{
    return kButtonRoom + 4;
}

void DockBar::SetSide(DockSide side)
{
    side_ = side;
    LONG_PTR style = GetWindowLongPtrA(toolbar_, GWL_STYLE);
    style = horizontal() ? (style & ~static_cast<LONG_PTR>(CCS_VERT)) : (style | CCS_VERT);
    SetWindowLongPtrA(toolbar_, GWL_STYLE, style);
    PlaceToolbar();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT DockBar::GripperRect() const
{
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    if (horizontal())
        rc.right = rc.left + kGripper;
    else
        rc.bottom = rc.top + kGripper;
    return rc;
}

void DockBar::PlaceToolbar()
{
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    if (horizontal())
        rc.left += kGripper;
    else
        rc.top += kGripper;
    MoveWindow(toolbar_, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

bool DockBar::OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (message) {
    case WM_SIZE:
        PlaceToolbar();
        return false;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        RECT g = GripperRect();
        // Two raised lines along the bar, the usual sign that it can be dragged.
        for (int i = 0; i < 2; ++i) {
            RECT line = g;
            if (horizontal()) {
                line.left = g.left + 2 + 3 * i;
                line.right = line.left + 3;
                InflateRect(&line, 0, -2);
            } else {
                line.top = g.top + 2 + 3 * i;
                line.bottom = line.top + 3;
                InflateRect(&line, -2, 0);
            }
            DrawEdge(dc, &line, BDR_RAISEDINNER, BF_RECT);
        }
        EndPaint(hwnd(), &ps);
        return true;
    }
    case WM_LBUTTONDOWN: {
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        RECT g = GripperRect();
        if (PtInRect(&g, pt)) {
            dragging_ = true;
            SetCapture(hwnd());
        }
        return true;
    }
    case WM_LBUTTONUP: {
        if (!dragging_) return true;
        dragging_ = false;
        if (GetCapture() == hwnd()) ReleaseCapture();
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        MapWindowPoints(hwnd(), frame_->hwnd(), &pt, 1);
        frame_->DockToNearestSide(*this, pt);
        return true;
    }
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return true;
    case WM_NOTIFY: {
        const NMHDR* n = reinterpret_cast<const NMHDR*>(lp);
        if (n->hwndFrom == toolbar_ && n->code == TBN_HOTITEMCHANGE) {
            const NMTBHOTITEM* hot = reinterpret_cast<const NMTBHOTITEM*>(lp);
            if (hot->dwFlags & HICF_LEAVING)
                frame_->SetIdleText();
            else
                frame_->ShowPrompt(static_cast<UINT>(hot->idNew));
            result = 0;
            return true;
        }
        return false;
    }
    default:
        (void)wp;
        return false;
    }
}

}  // namespace zf
