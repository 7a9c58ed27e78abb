// The modal dialog procedure: finds the object and hands each message to its table.
#include "dialog.h"

#include <vector>

#include "app.h"
#include "frame_wnd.h"

namespace zf {

Dialog::Dialog(UINT template_id, HWND owner) : template_id_(template_id), owner_(owner) {}

INT_PTR Dialog::DoModal()
{
    HWND owner = owner_;
    if (owner == nullptr && App::Get() != nullptr && App::Get()->main_frame() != nullptr)
        owner = App::Get()->main_frame()->hwnd();
    const INT_PTR result = DialogBoxParamA(App::Instance(), MAKEINTRESOURCEA(template_id_), owner,
                                           &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    return result;
}

void Dialog::EndDialog(INT_PTR result)
{
    if (hwnd_ != nullptr) ::EndDialog(hwnd_, result);
}

std::string Dialog::ItemText(int id) const
{
    HWND item = Item(id);
    if (item == nullptr) return {};
    const int length = GetWindowTextLengthA(item);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 2);
    const int n = GetWindowTextA(item, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
}

void Dialog::SetItemText(int id, const std::string& text) const
{
    SetDlgItemTextA(hwnd_, id, text.c_str());
}

bool Dialog::OnMessage(UINT message, WPARAM wp, LPARAM, LRESULT& result)
{
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        if (HIWORD(wp) != BN_CLICKED) return false;
        if (LOWORD(wp) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(wp) == IDCANCEL) {
            OnCancel();
            return true;
        }
        return false;
    default:
        return false;
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    Dialog* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr) return FALSE;

    LRESULT result = 0;
    const bool handled = self->OnMessage(message, wp, lp, result);
    if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    if (!handled) return FALSE;
    // WM_INITDIALOG and a few others answer through the return value; the rest through
    // DWLP_MSGRESULT, with TRUE saying the message was handled.
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

}  // namespace zf
