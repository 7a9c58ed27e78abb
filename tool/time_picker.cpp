// Time-of-day pickers shared by the weekly, call route and holiday dialogs.
#include "time_picker.h"

#include <commctrl.h>

#include "picker_value.h"

SYSTEMTIME picker_time(const zel::Date& d, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    st.wDay = static_cast<WORD>(d.day);
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    return st;
}

void set_time_picker(HWND picker, const zel::TimeOfDay& t)
{
    SYSTEMTIME st = picker_time(zel::kTimePickerDate, static_cast<WORD>(t.hour), static_cast<WORD>(t.minute),
                                static_cast<WORD>(t.second));
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

std::optional<zel::TimeOfDay> time_picker_value(HWND picker)
{
    SYSTEMTIME st{};
    if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return std::nullopt;
    return zel::TimeOfDay{st.wHour, st.wMinute, st.wSecond};
}
