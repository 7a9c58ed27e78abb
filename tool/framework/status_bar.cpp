// Status bar panes and the keyboard indicators.
#include "status_bar.h"

#include <commctrl.h>

#include "app.h"
#include "framework_ids.h"
#include "window.h"

namespace zf {

namespace {

int indicator_key(UINT id)
{
    switch (id) {
    case ZF_ID_INDICATOR_CAPS: return VK_CAPITAL;
    case ZF_ID_INDICATOR_NUM: return VK_NUMLOCK;
    case ZF_ID_INDICATOR_SCRL: return VK_SCROLL;
    default: return 0;
    }
}

}  // namespace

bool StatusBar::Create(HWND parent, std::span<const UINT> indicators)
{
    hwnd_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ZF_ID_STATUS_BAR)),
                            App::Instance(), nullptr);
    if (hwnd_ == nullptr) return false;

    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    indicators_.clear();
    for (UINT id : indicators) {
        Indicator ind{id, LoadResString(id), 0, false};
        SIZE extent{};
        GetTextExtentPoint32A(dc, ind.text.c_str(), static_cast<int>(ind.text.size()), &extent);
        ind.width = extent.cx + 2 * GetSystemMetrics(SM_CXEDGE) + 8;
        indicators_.push_back(ind);
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);

    Resize();
    for (std::size_t i = 0; i < indicators_.size(); ++i)
        SendMessageA(hwnd_, SB_SETTEXTA, static_cast<WPARAM>(i + 1), reinterpret_cast<LPARAM>(""));
    UpdateIndicators();
    return true;
}

void StatusBar::SetMessage(const std::string& text)
{
    if (hwnd_ != nullptr) SendMessageA(hwnd_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::UpdateIndicators()
{
    if (hwnd_ == nullptr) return;
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        Indicator& ind = indicators_[i];
        const int key = indicator_key(ind.id);
        const bool lit = key != 0 && (GetKeyState(key) & 1) != 0;
        if (lit == ind.lit) continue;
        ind.lit = lit;
        SendMessageA(hwnd_, SB_SETTEXTA, static_cast<WPARAM>(i + 1),
                     reinterpret_cast<LPARAM>(lit ? ind.text.c_str() : ""));
    }
}

void StatusBar::Resize()
{
    if (hwnd_ == nullptr) return;
    SendMessageA(hwnd_, WM_SIZE, 0, 0);
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    // Leave room for the size grip after the last indicator.
    int right = rc.right - GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> edges(indicators_.size() + 1);
    for (std::size_t i = indicators_.size(); i > 0; --i) {
        edges[i] = right;
        right -= indicators_[i - 1].width;
    }
    edges[0] = right > 0 ? right : 0;
    if (!indicators_.empty()) edges.back() = -1;
    SendMessageA(hwnd_, SB_SETPARTS, static_cast<WPARAM>(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
}

int StatusBar::Height() const
{
    if (hwnd_ == nullptr) return 0;
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return rc.bottom - rc.top;
}

}  // namespace zf
