// Message handling shared by every window, dialog, document and the application object.
//
// MessageTarget: anything that can take a message; OnMessage answers true when it handled it.
// Handler<T>: one row of a class's static handler table: (message, control id, notification
//   code, member function). A class T lists its rows once, in
//       static std::span<const zf::Handler<T>> handlers();
//   and derives from WithHandlers<T, Base>, which tries T's rows before Base's own handling.
#pragma once

#include <windows.h>

#include <span>

namespace zf {

class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    // True when handled; `result` then holds the message's answer.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
};

inline constexpr UINT kAnyCode = 0xFFFFFFFFu;

template <class T>
struct Handler {
    UINT message;
    UINT id;    // WM_COMMAND and WM_NOTIFY: the command or control id; otherwise unused
    UINT code;  // WM_COMMAND: notification code; WM_NOTIFY: NMHDR code; kAnyCode takes all
    void (T::*command)();                     // for commands
    LRESULT (T::*handler)(WPARAM, LPARAM);    // for everything else
};

// A menu command, an accelerator or a button click (notification 0).
template <class T>
constexpr Handler<T> on_command(UINT id, void (T::*fn)())
{
    return {WM_COMMAND, id, 0, fn, nullptr};
}

// A control notification carried by WM_COMMAND (CBN_SELCHANGE, EN_CHANGE, ...).
template <class T>
constexpr Handler<T> on_command(UINT id, UINT code, void (T::*fn)())
{
    return {WM_COMMAND, id, code, fn, nullptr};
}

template <class T>
constexpr Handler<T> on_notify(UINT id, UINT code, LRESULT (T::*fn)(WPARAM, LPARAM))
{
    return {WM_NOTIFY, id, code, nullptr, fn};
}

template <class T>
constexpr Handler<T> on_message(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM))
{
    return {message, 0, 0, nullptr, fn};
}

// Runs the first row of `table` that takes the message.
template <class T>
bool dispatch(T& self, std::span<const Handler<T>> table, UINT message, WPARAM wp, LPARAM lp,
              LRESULT& result)
{
    for (const Handler<T>& h : table) {
        if (h.message != message) continue;
        if (message == WM_COMMAND) {
            if (LOWORD(wp) != h.id) continue;
            UINT code = HIWORD(wp);
            if (code == 1 && lp == 0) code = 0;  // an accelerator is the same command as its menu item
            if (h.code != kAnyCode && code != h.code) continue;
        } else if (message == WM_NOTIFY) {
            const NMHDR* n = reinterpret_cast<const NMHDR*>(lp);
            if (n == nullptr || n->idFrom != h.id) continue;
            if (h.code != kAnyCode && n->code != h.code) continue;
        }
        if (h.command != nullptr) {
            (self.*h.command)();
            result = 0;
        } else {
            result = (self.*h.handler)(wp, lp);
        }
        return true;
    }
    return false;
}

template <class T, class Base>
class WithHandlers : public Base {
public:
    using Base::Base;
    bool OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        return dispatch<T>(static_cast<T&>(*this), T::handlers(), message, wp, lp, result) ||
               Base::OnMessage(message, wp, lp, result);
    }
};

}  // namespace zf
