// The voice file chooser control: takes over a template push button, paints the folder
// button part, runs the open-file dialog and tells its dialog after every activation.
#include "voice_file_chooser.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <string_view>
#include <vector>

namespace {

constexpr const char* kObjectProp = "ZelVoiceFileChooser";
constexpr const char* kButtonProcProp = "ZelVoiceFileChooserButtonProc";
constexpr const char* kEditProcProp = "ZelVoiceFileChooserEditProc";

CVoiceFileChooser* object_of(HWND hwnd)
{
    return static_cast<CVoiceFileChooser*>(GetPropA(hwnd, kObjectProp));
}

WNDPROC old_proc(HWND hwnd, const char* prop)
{
    return reinterpret_cast<WNDPROC>(GetPropA(hwnd, prop));
}

bool key_message_is(LPARAM lp, UINT message, WPARAM key)
{
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    return m != nullptr && m->message == message && m->wParam == key;
}

// The dialog manager turns Enter into the default button's command unless the focused
// control asks for it; the chooser consumes Enter itself.
bool is_enter(LPARAM lp)
{
    return key_message_is(lp, WM_KEYDOWN, VK_RETURN) || key_message_is(lp, WM_CHAR, '\r');
}

// "a|b||" -> "a\0b\0\0": the filter form the file dialog reads.
std::string filter_for_dialog(std::string_view bars)
{
    std::string out(bars);
    for (char& c : out) {
        if (c == '|') c = '\0';
    }
    out.push_back('\0');
    return out;
}

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    const RECT r{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// One-pixel frame: top and left in `top_left`, bottom and right in `bottom_right`.
void frame_3d(HDC dc, const RECT& r, COLORREF top_left, COLORREF bottom_right)
{
    if (r.right <= r.left || r.bottom <= r.top) return;
    fill(dc, r.left, r.top, r.right - 1, r.top + 1, top_left);
    fill(dc, r.left, r.top, r.left + 1, r.bottom - 1, top_left);
    fill(dc, r.left, r.bottom - 1, r.right, r.bottom, bottom_right);
    fill(dc, r.right - 1, r.top, r.right, r.bottom, bottom_right);
}

struct GlyphColours {
    COLORREF outline, highlight, face, shade;
};

constexpr GlyphColours kEnabledGlyph{RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 0), RGB(128, 128, 0)};
constexpr GlyphColours kDisabledGlyph{RGB(128, 128, 128), RGB(255, 255, 255), RGB(192, 192, 192),
                                      RGB(128, 128, 128)};

void polygon(HDC dc, int x, int y, std::initializer_list<POINT> shape, COLORREF outline, COLORREF inside)
{
    std::vector<POINT> points(shape);
    for (POINT& p : points) {
        p.x += x;
        p.y += y;
    }
    HPEN pen = CreatePen(PS_SOLID, 1, outline);
    HBRUSH brush = CreateSolidBrush(inside);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    Polygon(dc, points.data(), static_cast<int>(points.size()));
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void line(HDC dc, int x, int y, POINT from, POINT to, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    MoveToEx(dc, x + from.x, y + from.y, nullptr);
    LineTo(dc, x + to.x, y + to.y);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

// The open folder in a 16 x 16 cell at (x, y): the back in the darker yellow, the open
// flap in front of it in yellow, a white rim along the back's top and the flap's edge.
void draw_open_folder(HDC dc, int x, int y, const GlyphColours& c)
{
    polygon(dc, x, y, {{1, 2}, {5, 2}, {6, 3}, {12, 3}, {12, 13}, {1, 13}}, c.outline, c.shade);
    line(dc, x, y, {2, 4}, {11, 4}, c.highlight);
    line(dc, x, y, {2, 4}, {2, 11}, c.highlight);
    polygon(dc, x, y, {{1, 13}, {4, 7}, {15, 7}, {12, 13}}, c.outline, c.face);
    line(dc, x, y, {5, 8}, {14, 8}, c.highlight);
}

}  // namespace

CVoiceFileChooser::~CVoiceFileChooser()
{
    // Normally the dialog's windows are gone by now; a chooser that outlives its dialog
    // object must not leave a window procedure pointing at freed memory.
    if (button_ != nullptr && IsWindow(button_)) Detach();
}

bool CVoiceFileChooser::Attach(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr || button_ != nullptr || GetPropA(button, kObjectProp) != nullptr) return false;

    dialog_ = dialog;
    button_ = button;
    id_ = id;
    paths_.clear();
    hot_ = pressed_ = tracking_ = space_down_ = browsing_ = last_chose_ = edit_has_focus_ = false;

    const int length = GetWindowTextLengthA(button_);
    std::vector<char> caption(static_cast<std::size_t>(length) + 2);
    const int n = GetWindowTextA(button_, caption.data(), static_cast<int>(caption.size()));
    caption_.assign(caption.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    SetWindowTextA(button_, "");

    // The edit box is a child of the button: painting the button part must leave it alone.
    SetWindowLongPtrA(button_, GWL_STYLE, GetWindowLongPtrA(button_, GWL_STYLE) | WS_CLIPCHILDREN);

    SetPropA(button_, kObjectProp, this);
    SetPropA(button_, kButtonProcProp,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(button_, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(&ButtonProc))));

    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog_, GWLP_HINSTANCE));
    DWORD edit_style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_READONLY;
    if (!IsWindowEnabled(button_)) edit_style |= WS_DISABLED;
    edit_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", edit_style, 0, 0, 0, 0, button_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChooserEditId)), instance, nullptr);
    if (edit_ != nullptr) {
        SendMessageA(edit_, WM_SETFONT, SendMessageA(button_, WM_GETFONT, 0, 0), FALSE);
        SendMessageA(edit_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(1, 1));
        SetPropA(edit_, kObjectProp, this);
        SetPropA(edit_, kEditProcProp,
                 reinterpret_cast<HANDLE>(SetWindowLongPtrA(edit_, GWLP_WNDPROC,
                                                            reinterpret_cast<LONG_PTR>(&EditProc))));
    }

    Layout();
    SetTimer(button_, kChooserFocusTimer, 1, nullptr);
    InvalidateRect(button_, nullptr, TRUE);
    return true;
}

// Made on the first mouse move over the button part rather than at take-over: under Wine a
// tooltip window costs about 5 ms to make, and the call route dialog has 18 choosers of
// which the operator points at few, if any.
void CVoiceFileChooser::MakeTooltip()
{
    if (tooltip_ != nullptr || button_ == nullptr) return;
    HWND owner = dialog_ != nullptr ? dialog_ : button_;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, button_, nullptr,
                               instance, nullptr);
    if (tooltip_ == nullptr) return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = button_;
    tool.uId = kChooserToolId;
    tool.rect = ButtonPart();
    tool.lpszText = const_cast<char*>(kChooserTooltip);
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CVoiceFileChooser::Detach()
{
    if (button_ == nullptr) return;
    KillTimer(button_, kChooserHotTimer);
    KillTimer(button_, kChooserFocusTimer);
    if (GetCapture() == button_) ReleaseCapture();
    if (tooltip_ != nullptr) DestroyWindow(tooltip_);
    tooltip_ = nullptr;
    if (edit_ != nullptr) {
        if (WNDPROC proc = old_proc(edit_, kEditProcProp)) {
            SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        }
        RemovePropA(edit_, kEditProcProp);
        RemovePropA(edit_, kObjectProp);
        DestroyWindow(edit_);
        edit_ = nullptr;
    }
    if (WNDPROC proc = old_proc(button_, kButtonProcProp)) {
        SetWindowLongPtrA(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    }
    RemovePropA(button_, kButtonProcProp);
    RemovePropA(button_, kObjectProp);
    button_ = nullptr;
    dialog_ = nullptr;
}

RECT CVoiceFileChooser::ButtonPart() const
{
    RECT client{};
    if (button_ != nullptr) GetClientRect(button_, &client);
    if (client.right - client.left > kChooserButtonWidth) client.left = client.right - kChooserButtonWidth;
    return client;
}

RECT CVoiceFileChooser::GlyphRect() const
{
    RECT part = ButtonPart();
    InflateRect(&part, -2, -2);
    const int left = part.left + (part.right - part.left - kChooserGlyphSize) / 2;
    const int top = part.top + (part.bottom - part.top - kChooserGlyphSize) / 2;
    return RECT{left, top, left + kChooserGlyphSize, top + kChooserGlyphSize};
}

void CVoiceFileChooser::Layout()
{
    if (button_ == nullptr) return;
    RECT client{};
    GetClientRect(button_, &client);
    const RECT part = ButtonPart();
    if (edit_ != nullptr) {
        MoveWindow(edit_, client.left, client.top, part.left - client.left, client.bottom - client.top, TRUE);
    }
    if (tooltip_ != nullptr) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = button_;
        tool.uId = kChooserToolId;
        tool.rect = part;
        SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    InvalidateRect(button_, nullptr, TRUE);
}

void CVoiceFileChooser::Paint(HDC dc)
{
    const RECT part = ButtonPart();
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &part, face);

    RECT outer = part;
    frame_3d(dc, outer, GetSysColor(pressed_ ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT), GetSysColor(COLOR_3DDKSHADOW));
    RECT inner = outer;
    InflateRect(&inner, -1, -1);
    frame_3d(dc, inner, GetSysColor(pressed_ ? COLOR_3DSHADOW : COLOR_3DLIGHT), GetSysColor(COLOR_3DSHADOW));

    RECT glyph = GlyphRect();
    if (pressed_) OffsetRect(&glyph, 1, 1);
    draw_open_folder(dc, glyph.left, glyph.top, IsWindowEnabled(button_) ? kEnabledGlyph : kDisabledGlyph);
}

void CVoiceFileChooser::RedrawButtonPart()
{
    const RECT part = ButtonPart();
    InvalidateRect(button_, &part, TRUE);
}

void CVoiceFileChooser::SetPressed(bool pressed)
{
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    RedrawButtonPart();
}

void CVoiceFileChooser::SetHot(bool hot)
{
    if (hot_ == hot) return;
    hot_ = hot;
    RedrawButtonPart();
}

void CVoiceFileChooser::PollHot()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(button_, &cursor);
    const RECT part = ButtonPart();
    if (PtInRect(&part, cursor)) return;
    KillTimer(button_, kChooserHotTimer);
    SetHot(false);
}

void CVoiceFileChooser::PollFocus()
{
    const bool has = edit_ != nullptr && GetFocus() == edit_;
    if (has == edit_has_focus_) return;
    edit_has_focus_ = has;
    if (has)
        SelectAll();
    else
        Unselect();
}

void CVoiceFileChooser::SelectAll()
{
    if (edit_ != nullptr) SendMessageA(edit_, EM_SETSEL, 0, -1);
}

void CVoiceFileChooser::Unselect()
{
    if (edit_ != nullptr) SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

void CVoiceFileChooser::RelayToTooltip(UINT message, WPARAM wp, LPARAM lp)
{
    if (tooltip_ == nullptr) return;
    MSG msg{};
    msg.hwnd = button_;
    msg.message = message;
    msg.wParam = wp;
    msg.lParam = lp;
    msg.time = static_cast<DWORD>(GetMessageTime());
    GetCursorPos(&msg.pt);
    SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CVoiceFileChooser::ClearSelection()
{
    paths_.clear();
    if (edit_ != nullptr) SetWindowTextA(edit_, "");
}

int CVoiceFileChooser::Browse()
{
    if (browsing_) {
        // This activation's handler runs inside the running browse and must take nothing;
        // the running browse sets the outcome again when it ends.
        last_chose_ = false;
        return kBrowseCancelled;
    }
    browsing_ = true;

    const std::string filter = filter_for_dialog(kChooserFilter);
    std::vector<char> buffer(kChooserFileBufferChars, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialog_ != nullptr ? dialog_ : GetParent(button_);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kChooserFileBufferChars;
    // Without OFN_NOCHANGEDIR the dialog leaves the current folder at the chosen file, and
    // the working file is opened by a relative name: hence the restart after a choice.
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_ALLOWMULTISELECT | OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT;

    int result = kBrowseCancelled;
    if (GetOpenFileNameA(&ofn)) {
        // The buffer's last character stays ours, so the walk always finds an end.
        buffer.back() = '\0';
        paths_.assign(zel::paths_from_dialog_result(std::string_view(buffer.data(), buffer.size())));
        if (edit_ != nullptr) {
            SetWindowTextA(edit_, paths_.first_path().c_str());
            SelectAll();
            SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
        }
        result = kBrowseChosen;
    }
    browsing_ = false;
    last_chose_ = result == kBrowseChosen;
    return result;
}

void CVoiceFileChooser::Activate()
{
    HWND button = button_;
    HWND parent = GetParent(button);
    const int id = id_;
    Browse();
    // Posted, not sent: the dialog's handler runs after this control's message returns.
    if (parent != nullptr) PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(button));
}

LRESULT CVoiceFileChooser::OnButtonMessage(UINT message, WPARAM wp, LPARAM lp)
{
    HWND button = button_;
    WNDPROC base = old_proc(button, kButtonProcProp);
    const RECT part = ButtonPart();
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};

    if (message == WM_MOUSEMOVE && tooltip_ == nullptr && PtInRect(&part, at)) MakeTooltip();
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        RelayToTooltip(message, wp, lp);
        break;
    default:
        break;
    }

    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(button, &ps);
        Paint(dc);
        EndPaint(button, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // the button part is filled by the paint; the edit box covers the rest
    case WM_SIZE: {
        const LRESULT r = CallWindowProcA(base, button, message, wp, lp);
        Layout();
        return r;
    }
    case WM_MOUSEMOVE: {
        const bool inside = PtInRect(&part, at) != FALSE;
        if (inside && !hot_) {
            SetHot(true);
            SetTimer(button, kChooserHotTimer, 1, nullptr);
        }
        if (tracking_) SetPressed(inside);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Unselect();
        if (PtInRect(&part, at)) {
            tracking_ = true;
            SetCapture(button);
            SetPressed(true);
        }
        return 0;
    case WM_LBUTTONUP: {
        const bool was_tracking = tracking_;
        tracking_ = false;
        if (GetCapture() == button) ReleaseCapture();
        SetPressed(false);
        if (was_tracking && PtInRect(&part, at)) Activate();
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != button) {
            tracking_ = false;
            SetPressed(false);
        }
        return 0;
    case WM_TIMER:
        if (wp == kChooserHotTimer) {
            PollHot();
            return 0;
        }
        if (wp == kChooserFocusTimer) {
            PollFocus();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (edit_ != nullptr) {
            SetFocus(edit_);
            SelectAll();
            // The poll must know the selection is up: a Tab handled before its next tick
            // would otherwise leave the whole path selected in a box without the focus.
            edit_has_focus_ = true;
        }
        return 0;
    case WM_KILLFOCUS:
        if (space_down_) {
            space_down_ = false;
            SetPressed(false);
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_BUTTON | (is_enter(lp) ? DLGC_WANTMESSAGE : 0);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        return OnEditMessage(message, wp, lp) == 0 ? 0 : CallWindowProcA(base, button, message, wp, lp);
    case WM_ENABLE:
        if (edit_ != nullptr) EnableWindow(edit_, wp != 0);
        InvalidateRect(button, nullptr, TRUE);
        return 0;
    case BM_SETSTATE:
    case BM_SETSTYLE:
        // The plain button would paint its own face over ours.
        return 0;
    case WM_DESTROY:
    case WM_NCDESTROY: {
        Detach();
        return CallWindowProcA(base, button, message, wp, lp);
    }
    default:
        break;
    }
    return CallWindowProcA(base, button, message, wp, lp);
}

// Keys for both windows of the control; 0 when the key was the chooser's, 1 to pass it on.
LRESULT CVoiceFileChooser::OnEditMessage(UINT message, WPARAM wp, LPARAM)
{
    switch (message) {
    case WM_KEYDOWN:
        if (wp == VK_RETURN) {
            Activate();
            return 0;
        }
        if (wp == VK_SPACE) {
            space_down_ = true;
            SetPressed(true);
            return 0;
        }
        return 1;
    case WM_KEYUP:
        if (wp == VK_SPACE && space_down_) {
            space_down_ = false;
            SetPressed(false);
            Activate();
            return 0;
        }
        return 1;
    case WM_CHAR:
        return wp == '\r' || wp == ' ' ? 0 : 1;
    default:
        return 1;
    }
}

LRESULT CALLBACK CVoiceFileChooser::ButtonProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    CVoiceFileChooser* self = object_of(hwnd);
    if (self == nullptr || self->button_ != hwnd) {
        WNDPROC base = old_proc(hwnd, kButtonProcProp);
        return base != nullptr ? CallWindowProcA(base, hwnd, message, wp, lp) : DefWindowProcA(hwnd, message, wp, lp);
    }
    return self->OnButtonMessage(message, wp, lp);
}

LRESULT CALLBACK CVoiceFileChooser::EditProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    CVoiceFileChooser* self = object_of(hwnd);
    WNDPROC base = old_proc(hwnd, kEditProcProp);
    if (base == nullptr) return DefWindowProcA(hwnd, message, wp, lp);
    if (self == nullptr || self->edit_ != hwnd) return CallWindowProcA(base, hwnd, message, wp, lp);

    switch (message) {
    case WM_GETDLGCODE:
        return CallWindowProcA(base, hwnd, message, wp, lp) | (is_enter(lp) ? DLGC_WANTMESSAGE : 0);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        if (self->OnEditMessage(message, wp, lp) == 0) return 0;
        break;
    default:
        break;
    }
    return CallWindowProcA(base, hwnd, message, wp, lp);
}

zel::VoiceChoice TakeVoiceChoice(CVoiceFileChooser& chooser, HWND dialog, std::size_t limit)
{
    zel::VoiceChoice choice = zel::decide_voice_choice(chooser.LastBrowseChose(), chooser.paths(), limit);
    if (choice.action == zel::VoiceChoice::Action::refuse) {
        // A cut path would name no file; the operator must move the file instead.
        MessageBoxA(dialog, choice.message.c_str(), choice.caption.c_str(), MB_OK | MB_ICONWARNING);
        // Out of the chooser too, so that it no longer shows a path that was not taken.
        chooser.ClearSelection();
    }
    return choice;
}
